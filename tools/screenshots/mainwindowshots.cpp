#include "mainwindowshots.h"

#include "platform/simulatedsystempower.h"
#include "shell/cmainwindow.h"
#include "shell/mainwindowpagecontrol.h"
#include "users/currentuserdata.h"
#include "users/loginwidget.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QTextStream>

namespace {

const QSize kScreen(1920, 1080);

bool write(QWidget &window, const QString &folder, const QString &name)
{
    // The offscreen screen is smaller than the trainer's: the window is held at full size.
    window.setGeometry(QRect(QPoint(0, 0), kScreen));
    QCoreApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    const bool ok = window.grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "failed ") << path << '\n';
    return ok;
}

} // namespace

bool saveMainWindowPages(CMainWindow &window, const QString &folder, QLatin1String language)
{
    // The patient page makes the default patient current shortly after it is built: that first.
    QEventLoop settle;
    QTimer::singleShot(1000, &settle, &QEventLoop::quit);
    settle.exec();
    ST_PatientMsg patient = CurrentUserData::defaultPatient();
    patient.name = QStringLiteral("张伟");
    CurrentUserData::getInstance()->setCurrentUserMsg(patient);
    window.show();
    const struct
    {
        E_PAGENAME page;
        const char *name;
    } pages[] = {{MainPage_E, "main"},           {UserPage_E, "patients"},
                 {BicycleModePage_E, "cycling-mode"},
                 {FesPage_E, "fes-pure"},        {FesBicycleModePage_E, "fes-cycling-mode"},
                 {FesBicyclePage_E, "fes-cycling"}, {TrainParamPage_E, "train-parameters"}};
    bool ok = true;
    for (const auto &shot : pages) {
        MainWindowPageControl::getInstance()->setCurrentPage(shot.page);
        ok &= write(window, folder, QStringLiteral("window-%1-%2").arg(QLatin1String(shot.name), language));
    }
    // The settings page on each of its tabs.
    MainWindowPageControl::getInstance()->setCurrentPage(SettingPage_E);
    for (const char *tab : {"systemSetting", "secretManage", "productMsg"}) {
        if (auto *button = window.findChild<QAbstractButton *>(QLatin1String(tab) + QStringLiteral("_Btn")))
            button->click();
        else
            ok = false;
        ok &= write(window, folder, QStringLiteral("window-settings-%1-%2").arg(QLatin1String(tab), language));
    }
    MainWindowPageControl::getInstance()->setCurrentPage(MainPage_E);
    window.hide();
    return ok;
}

bool saveLogin(const QString &folder, QLatin1String language)
{
    // A power-off stand-in: nothing here may switch the computer off.
    LoginWidget login(nullptr, std::make_unique<platform::SimulatedSystemPower>());
    login.show();
    const bool ok = write(login, folder, QStringLiteral("login-%1").arg(language));
    login.hide();
    return ok;
}
