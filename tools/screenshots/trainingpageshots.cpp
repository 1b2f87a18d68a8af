#include "trainingpageshots.h"

#include "comm/deviceprotocol.h"
#include "training/emergencystopdialog.h"
#include "training/gamedisplaypage.h"
#include "training/icemodule.h"
#include "training/paramtipsdialog.h"
#include "training/quitbyspeeddialog.h"
#include "training/quitgamedialog.h"
#include "training/spasmtipsdialog.h"
#include "users/currentuserdata.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTextStream>

namespace {

// The page in a given language, whatever language the user saved.
class TrainingPageShot : public GameDisplayPage
{
public:
    int language = 0;

protected:
    int interfaceLanguage() const override { return language; }
};

// A stand-in for the game under the translucent page: sky, hills and a road.
QPixmap gameScene(const QSize &size)
{
    QPixmap scene(size);
    QPainter painter(&scene);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(0x8E, 0xC9, 0xEC));
    sky.setColorAt(1, QColor(0xD9, 0xEF, 0xF7));
    painter.fillRect(scene.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x7F, 0xB8, 0x6A));
    painter.drawEllipse(QRect(-300, size.height() / 2, size.width() + 600, size.height()));
    painter.setBrush(QColor(0x8A, 0x8F, 0x96));
    const QPolygon road({QPoint(size.width() / 2 - 60, size.height() / 2 + 60),
                         QPoint(size.width() / 2 + 60, size.height() / 2 + 60),
                         QPoint(size.width() / 2 + 420, size.height()), QPoint(size.width() / 2 - 420, size.height())});
    painter.drawPolygon(road);
    return scene;
}

bool write(const QPixmap &picture, const QString &folder, const QString &name)
{
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    const bool ok = picture.save(path);
    QTextStream(stdout) << (ok ? "wrote " : "failed ") << path << '\n';
    return ok;
}

// The page over the scene, with a prompt over both when one is open. Only posted events are
// delivered here, no timers: the run's unattended answerer must not close the prompt first.
QPixmap compose(GameDisplayPage &page, QWidget *prompt = nullptr)
{
    QCoreApplication::sendPostedEvents();
    QPixmap picture = gameScene(page.size());
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, page.grab());
    if (prompt) {
        prompt->setGeometry(page.geometry());
        painter.drawPixmap(0, 0, prompt->grab());
    }
    return picture;
}

QByteArray liveFrame(int limb, int seconds)
{
    using namespace DeviceProtocol;
    QByteArray f(kLiveFrameSize, '\0');
    f[2] = char(kReplyLiveData1);
    auto put = [&f](int offset, int value) { f[3 + offset] = char(value); };
    put(Live::kStage, 1);
    put(Live::kDownSpeed, limb == 0 || limb == 3 ? 0 : 23);
    put(Live::kUpSpeed, limb == 1 ? 0 : 18);
    put(Live::kUpBalance, 46);
    put(Live::kDownBalance, 53);
    put(Live::kUpDistance, seconds & 0xFF);
    put(Live::kUpDistance + 1, seconds >> 8);
    put(Live::kDownDistance, (seconds + 40) & 0xFF);
    put(Live::kDownDistance + 1, (seconds + 40) >> 8);
    put(Live::kUpPower, 37);
    put(Live::kDownPower, 52);
    return f;
}

ST_BicycleParam params(int limb, int mode)
{
    ST_BicycleParam p;
    p.trainLimp = uint8_t(limb);
    p.trainMode = uint8_t(mode);
    p.trainSpeed = 18;
    p.trainResistance = 6;
    p.trainTime = 20;
    return p;
}

} // namespace

bool saveTrainingPage(const QString &folder, QLatin1String suffix)
{
    ST_PatientMsg patient = CurrentUserData::defaultPatient();
    patient.name = QStringLiteral("张伟");
    CurrentUserData::getInstance()->setCurrentUserMsg(patient);
    IceModule::getInstance()->setGameType(2); // the stimulation channels in view
    TrainingPageShot page;
    page.language = suffix == QLatin1String("en") ? 1 : 0;
    page.resize(1920, 1080);
    int currents[8] = {12, 15, 0, 0, 0, 0, 0, 0};
    page.slotSetChannelBData(currents, 8);

    bool ok = true;
    page.show(); // a fresh session: start shown, values at zero
    IceModule::getInstance()->setBicycleParam(params(2, 7));
    ok &= write(compose(page), folder, QStringLiteral("training-idle-%1").arg(suffix));

    // Every limb, running with live data.
    const int modes[] = {1, 0, 7, 3};
    for (int limb = 0; limb < 4; ++limb) {
        page.hide();
        page.show();
        IceModule::getInstance()->setBicycleParam(params(limb, modes[limb]));
        page.on_start_Btn_clicked();
        for (int i = 0; i < 30; ++i)
            page.slotReceiveData(liveFrame(limb, 700 + i));
        ok &= write(compose(page), folder, QStringLiteral("training-running-limb%1-%2").arg(limb).arg(suffix));
    }

    // The captions of every mode, in the top bar.
    QPixmap captions(page.width(), 100 * 11);
    captions.fill(Qt::white);
    {
        QPainter painter(&captions);
        for (int mode = 0; mode <= 10; ++mode) {
            IceModule::getInstance()->setBicycleParam(params(mode % 4, mode));
            QCoreApplication::sendPostedEvents();
            painter.drawPixmap(0, 100 * mode, page.grab(QRect(0, 0, page.width(), 100)));
        }
    }
    ok &= write(captions, folder, QStringLiteral("training-mode-captions-%1").arg(suffix));

    // The prompts the page opens, over the running page.
    IceModule::getInstance()->setBicycleParam(params(1, 0));
    auto *spasm = page.findChild<SpasmTipsDialog *>();
    for (int count : {1, 3}) {
        spasm->showCount(count);
        ok &= write(compose(page, spasm), folder, QStringLiteral("training-prompt-spasm%1-%2").arg(count).arg(suffix));
        spasm->stopSound();
        spasm->hide();
    }
    auto *emergency = page.findChild<EmergencyStopDialog *>();
    emergency->showPrompt();
    ok &= write(compose(page, emergency), folder, QStringLiteral("training-prompt-emergency-%1").arg(suffix));
    emergency->closePrompt();
    auto *overSpeed = page.findChild<QuitBySpeedDialog *>();
    overSpeed->startCountDown();
    ok &= write(compose(page, overSpeed), folder, QStringLiteral("training-prompt-overspeed-%1").arg(suffix));
    overSpeed->stopCountDown();
    auto *quit = page.findChild<QuitGameDialog *>();
    quit->open();
    ok &= write(compose(page, quit), folder, QStringLiteral("training-prompt-quit-%1").arg(suffix));
    quit->hide();
    ParamTipsDialog question(&page);
    question.setMessage(QCoreApplication::translate("GameDisplayPage", "设定速度已超30r/min，确认使用该速度训练吗？"));
    question.open();
    ok &= write(compose(page, &question), folder, QStringLiteral("training-prompt-speed-%1").arg(suffix));
    question.hide();
    IceModule::getInstance()->setGameType(0);
    return ok;
}
