#include "app/startup.h"

#include "app/configmanager.h"
#include "app/linkwarningpresenter.h"
#include "app/logfile.h"
#include "app/unattended.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "fes/fesquitswitch.h"
#include "game/gamecontrol.h"
#include "platform/inputmethodselector.h"
#include "platform/instancemarker.h"
#include "platform/quitonsignal.h"
#include "platform/systempower.h"
#include "shell/cmainwindow.h"
#include "users/loginwidget.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QMessageBox>

bool Startup::openDatabase(bool makeMissingTables)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!db->openDB(QString::fromLatin1(kDatabaseFile), QString::fromLatin1(kDatabaseDriver))) {
        qDebug().noquote() << QStringLiteral("Rotaflex.db open failed!");
        qDebug().noquote() << db->getLastError();
        return true;
    }
    QStringList created;
    if (!makeMissingTables || DatabaseSchema::createTables(db, &created)) {
        if (!created.isEmpty())
            qDebug().noquote() << QStringLiteral("Rotaflex.db: created the tables") << created.join(QStringLiteral(", "));
        return true;
    }
    QMessageBox::critical(nullptr, QCoreApplication::translate("Startup", "警告"),
                          QCoreApplication::translate("Startup", "数据库建表失败：%1").arg(db->getLastError()),
                          QMessageBox::Ok);
    return false;
}

bool Startup::applyStyleSheet()
{
    QFile qssFile(QString::fromLatin1(kStyleSheetFile));
    if (!qssFile.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(nullptr, QStringLiteral("warning"), QStringLiteral("totalqss Open failed"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        return false;
    }
    QByteArray bytes = qssFile.readAll();
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    qApp->setStyleSheet(QString::fromLatin1(bytes));
    qssFile.close();
    return true;
}

std::optional<int> Startup::prepare(bool anotherCopyRuns)
{
    // The running copy's database is not this copy's to change.
    if (!openDatabase(!anotherCopyRuns))
        return -1;

    if (!ConfigManager::getInstance()->readConfigFile()) {
        qDebug().noquote() << QStringLiteral("配置文件读取失败");
        return -1;
    }

    GameControl::getInstance()->readGameList();

    applyStyleSheet();

    if (anotherCopyRuns) {
        qWarning().noquote() << QStringLiteral("another copy is running; this copy ends");
        QMessageBox::warning(nullptr, QStringLiteral("Warning"), QObject::tr("不可重复开启进程"),
                             QMessageBox::Ok);
        return 0;
    }
    return std::nullopt;
}

int Startup::runWindows(QApplication &app)
{
    LoginWidget login;
    CMainWindow mainWindow;
    QObject::connect(&mainWindow, &CMainWindow::signalShowCompleted, &login, &LoginWidget::slotShowCompleted);
    login.setWindowModality(Qt::WindowModal);
    if (login.exec() != 1) {
        // Escape, a termination signal or the login's own way out: nobody is let in, and no
        // event loop will run the quit's switch-off, so it runs here.
        qDebug().noquote() << QStringLiteral("the login ended without a user: the program ends");
        FesQuitSwitch::switchAllOffAtQuit();
        return 0;
    }
    mainWindow.move(0, 0);
    mainWindow.show();
    return app.exec();
}

int Startup::run(int argc, char *argv[])
{
    // Lines wait in memory until this copy knows that the log is its own.
    LogFile::hold();
    InputMethodSelector::select();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rotaflex"));

    platform::InstanceMarker marker(kInstanceKey);
    const platform::InstanceMarker::Result claim = marker.acquire();
    const bool anotherCopyRuns = claim == platform::InstanceMarker::Result::HeldByLiveCopy;
    if (!anotherCopyRuns)
        LogFile::install(QString::fromLatin1(kLogFolder));
    if (claim == platform::InstanceMarker::Result::Failed)
        qWarning().noquote() << QStringLiteral("instance marker:")
                             << QString::fromStdString(marker.lastError());
    QuitOnSignal::install(&app);

    std::optional<int> exitCode;
    {
        // Answers the start-up boxes of unattended runs, and no prompt after them.
        const Unattended unattended;
        exitCode = prepare(anotherCopyRuns);
    }
    if (exitCode) {
        LogFile::uninstall();
        return *exitCode;
    }

    FesQuitSwitch::install(&app);
    LinkWarningPresenter::install(&app);

    const int result = runWindows(app);
    marker.release();
    LogFile::uninstall();
    return result;
}
