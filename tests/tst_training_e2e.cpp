#include "comm/ccommunicateapi.h"
#include "comm/deviceprotocol.h"
#include "common/fessimboxes.h"
#include "common/gamepeer.h"
#include "common/simprocess.h"
#include "common/testworkdir.h"
#include "common/udptrainer.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "fes/fescontroldialog.h"
#include "reports/reportdialogbase.h"
#include "training/emergencystopdialog.h"
#include "training/gamedisplaypage.h"
#include "training/icemodule.h"
#include "training/quitbyspeeddialog.h"
#include "training/quitgamedialog.h"
#include "training/spasmtipsdialog.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace DeviceProtocol;

namespace {

uint8_t at(const QByteArray &frame, int recordOffset)
{
    return uint8_t(frame.at(3 + recordOffset));
}

int wordAt(const QByteArray &frame, int recordOffset)
{
    return at(frame, recordOffset) | (at(frame, recordOffset + 1) << 8);
}

// A live-data frame the page received, and whether it was running then (fully decoded).
struct Received
{
    QByteArray frame;
    bool running;
};

} // namespace

// A whole training against the simulated trainer and the simulated FES adapter, both real
// processes: the simulator streams live data over UDP loopback, a game peer listens on
// 127.0.0.1:12000, and what the page shows and reports is checked against what was sent.
class TestTrainingE2E : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<SimProcess> m_trainer;
    std::unique_ptr<FesSimBoxes> m_boxes;
    std::unique_ptr<GamePeer> m_game;
    std::unique_ptr<GameDisplayPage> m_page;
    QList<Received> m_received;

    // The trainer's state as its status line gives it, e.g. "state=running".
    QString trainerStatus()
    {
        const int before = m_trainer->countLines(QStringLiteral("status:"));
        m_trainer->type(QStringLiteral("status"));
        if (!QTest::qWaitFor([&] { return m_trainer->countLines(QStringLiteral("status:")) > before; }, 3000))
            return QString();
        const QStringList lines = m_trainer->lines();
        for (int i = lines.size() - 1; i >= 0; --i) {
            if (lines.at(i).startsWith(QStringLiteral("status:")))
                return lines.at(i);
        }
        return QString();
    }
    bool motorStopped()
    {
        const QString status = trainerStatus();
        return status.contains(QStringLiteral("state=stopped")) && status.contains(QStringLiteral(" upper=0 lower=0 "));
    }
    int liveFramesWhileRunning() const
    {
        return int(std::count_if(m_received.begin(), m_received.end(), [](const Received &r) { return r.running; }));
    }
    QString text(const char *label) const { return m_page->findChild<QLabel *>(QLatin1String(label))->text(); }
    template<typename T>
    T *prompt() const { return m_page->findChild<T *>(); }

    void startSession(int limb, int mode, int minutes = 20)
    {
        ST_BicycleParam p;
        p.trainLimp = uint8_t(limb);
        p.trainMode = uint8_t(mode);
        p.trainTime = uint8_t(minutes);
        p.trainSpeed = 30;
        p.trainResistance = 6;
        IceModule::getInstance()->setBicycleParam(p);
        m_page->on_start_Btn_clicked();
        QTRY_VERIFY_WITH_TIMEOUT(m_trainer->hasLine(QStringLiteral("rx start limb=%1 mode=%2 speed=30 resistance=6").arg(limb).arg(mode)), 3000);
        const int before = liveFramesWhileRunning();
        QTRY_VERIFY_WITH_TIMEOUT(liveFramesWhileRunning() > before + 5, 3000);
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        Q_INIT_RESOURCE(resources);
        m_dir = std::make_unique<TestWorkDir>();
        m_trainer = std::make_unique<SimProcess>(QStringLiteral(TRAINER_SIM));
        QVERIFY2(startUdpTrainer(*m_trainer, *m_dir, {QStringLiteral("--seed"), QStringLiteral("3")}),
                 qPrintable(m_trainer->output()));
        CDatabaseInterface *db = CDatabaseInterface::getInstance();
        QVERIFY(db->openDB(m_dir->filePath(QStringLiteral("DependFile/DBFile/e2e.db")), QStringLiteral("QSQLITE")));
        QVERIFY(DatabaseSchema::createTables(db));
        m_boxes = std::make_unique<FesSimBoxes>(QStringLiteral(FES_SIM));
        m_boxes->connectBoxes();
        m_game = std::make_unique<GamePeer>();
        QVERIFY(m_game->isBound());
    }

    void init()
    {
        IceModule::getInstance()->setGameType(1);
        m_page = std::make_unique<GameDisplayPage>();
        m_page->findChild<QTimer *>(QStringLiteral("countDownTimer"))->setInterval(100);
        m_page->show();
        m_received.clear();
        m_game->clear();
        // After the page's own handling: what it showed is what this frame carried.
        connect(CCommunicateAPI::getInstance(), &CCommunicateAPI::signalReadyRead, m_page.get(), [this](const QByteArray &frame) {
            if (frame.size() >= kLiveFrameSize && (uint8_t(frame.at(2)) == kReplyLiveData0 || uint8_t(frame.at(2)) == kReplyLiveData1))
                m_received << Received{frame, m_page->trainState() == 1};
        });
    }

    void cleanup()
    {
        m_page.reset();
        QTRY_VERIFY_WITH_TIMEOUT(motorStopped(), 5000);
    }

    void cleanupTestCase()
    {
        m_boxes.reset();
        m_trainer.reset();
    }

    // First in the run: the records sampled for the report are counted from the program's start.
    // Start, live data on the labels and to the game, pause, resume, a spasm, stop: the report
    // holds what the simulator sent.
    void sessionAgreesWithTheSimulator()
    {
        startSession(1, 0);
        const QByteArray last = m_received.last().frame;
        QCOMPARE(text("downRealSpeed_Label"), QString::number(std::min<int>(at(last, Live::kDownSpeed), 100)));
        QCOMPARE(text("downRealPower_Label"), QString::number(wordAt(last, Live::kDownPower)));
        QCOMPARE(text("length_Label"), QString::number(wordAt(last, Live::kDownDistance) * 0.6, 'f', 1) + QLatin1Char('m'));
        QTRY_VERIFY(!m_game->messages(1).isEmpty());

        m_page->on_pause_Btn_clicked();
        QTRY_VERIFY_WITH_TIMEOUT(m_trainer->hasLine(QStringLiteral("rx pause")), 3000);
        QTest::qWait(200);
        m_page->on_start_Btn_clicked();
        QTRY_VERIFY_WITH_TIMEOUT(m_trainer->hasLine(QStringLiteral("rx resume")), 3000);

        m_trainer->type(QStringLiteral("spasm"));
        QTRY_VERIFY_WITH_TIMEOUT(prompt<SpasmTipsDialog>()->isVisible(), 3000);
        prompt<SpasmTipsDialog>()->on_confirm_Btn_clicked();
        QTRY_VERIFY_WITH_TIMEOUT(m_trainer->hasLine(QStringLiteral("rx realtime spasm-direction=backward")), 3000);
        // on until a revolution has been counted
        const int before = liveFramesWhileRunning();
        QTRY_VERIFY_WITH_TIMEOUT(liveFramesWhileRunning() > before + 30 && wordAt(m_received.last().frame, Live::kDownDistance) > 0, 8000);

        m_page->on_stop_Btn_clicked();
        const QList<Received> decoded = m_received;
        QTRY_VERIFY_WITH_TIMEOUT(m_trainer->hasLine(QStringLiteral("rx stop limb=1")), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(motorStopped(), 5000);

        ReportDialogBase *report = m_page->reportDialogs().dialog(ReportLayout::TrainReportTwoThree_E);
        QVERIFY(report->isVisible());
        const ST_TrainReport r = report->reportData();
        QList<QByteArray> sampled;
        QByteArray lastDecoded;
        int fullyDecoded = 0;
        for (const Received &received : decoded) {
            if (!received.running)
                continue;
            lastDecoded = received.frame;
            if (++fullyDecoded > 20)
                sampled << received.frame;
        }
        QVERIFY(sampled.size() > 10);
        int speedSum = 0;
        int maxSpeed = 0;
        int balanceSum = 0;
        for (const QByteArray &frame : sampled) {
            const int speed = std::max(std::min<int>(at(frame, Live::kDownSpeed), 100), int(at(frame, Live::kUpSpeed)));
            speedSum += speed;
            maxSpeed = std::max(maxSpeed, speed);
            balanceSum += int8_t(at(frame, Live::kDownBalance));
        }
        QCOMPARE(r.maxSpeed, maxSpeed);
        QCOMPARE(r.averageSpeed, speedSum / sampled.size());
        QCOMPARE(r.leftBalance, balanceSum / sampled.size());
        QCOMPARE(r.rightBalance, 100 - r.leftBalance);
        QCOMPARE(r.maxResistance, 6.0f);
        QCOMPARE(r.minResistance, 6.0f);
        QCOMPARE(r.averangeResistance, 6.0f);
        QCOMPARE(r.downLimpLength, float(wordAt(lastDecoded, Live::kDownDistance) * 0.6));
        QVERIFY(r.downLimpLength > 0);
        QCOMPARE(r.spasmTimes, 1);
        QVERIFY(r.trainTime > 0);

        report->on_noSave_Btn_clicked();
        QTRY_VERIFY(m_game->gameStates().endsWith(0));
    }

    // The emergency stop of the machine opens the prompt and stops the count-down; its release
    // closes the prompt.
    void emergencyFromTheSimulator()
    {
        startSession(0, 1);
        m_trainer->type(QStringLiteral("estop"));
        QTRY_VERIFY_WITH_TIMEOUT(prompt<EmergencyStopDialog>()->isVisible(), 3000);
        QVERIFY(!m_page->findChild<QTimer *>(QStringLiteral("countDownTimer"))->isActive());
        QCOMPARE(IceModule::getInstance()->getEmergencyState(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(motorStopped(), 5000);
        m_trainer->type(QStringLiteral("release"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompt<EmergencyStopDialog>()->isVisible(), 3000);
    }

    void stimulationStopsWithTheSession_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("stop") << "stop";
        QTest::newRow("emergency") << "emergency";
        QTest::newRow("back confirmed") << "back confirmed";
        // Catches a game that ends on its own leaving the motor and the boxes running.
        QTest::newRow("game ended") << "game ended";
        QTest::newRow("time-out") << "time-out";
        QTest::newRow("third spasm") << "third spasm";
        QTest::newRow("over-speed") << "over-speed";
        // Catches a session that runs on blind when the trainer falls silent, and a stop lost on
        // the dead link (the machine's own watchdog must not be what stops it).
        QTest::newRow("link lost") << "link lost";
    }

    // Cycling with stimulation: the boxes get the motion of the cranks while the session runs,
    // and once it ends every output is off on the boxes themselves and the motor stands, while
    // the page's heartbeats keep the machine's own watchdog from stopping it.
    void stimulationStopsWithTheSession()
    {
        QFETCH(QString, way);
        IceModule::getInstance()->setGameType(2);
        FesControlDialog *fes = FesControlDialog::getInstance();
        for (uint8_t device : {1, 2}) {
            fes->setMuscleState(device, true);
            for (uint8_t channel : {1, 2})
                fes->switchOutput(device, channel, 1);
        }
        QTRY_VERIFY_WITH_TIMEOUT(m_boxes->channelState(2, 2).contains(QStringLiteral("output on")), 3000);
        startSession(1, 0, way == QLatin1String("time-out") ? 1 : 20);
        QTRY_VERIFY_WITH_TIMEOUT(m_boxes->sim().hasLine(QStringLiteral("rx dev=2 motion")), 3000);

        if (way == QLatin1String("stop")) {
            m_page->on_stop_Btn_clicked();
        } else if (way == QLatin1String("game ended")) {
            QSignalSpy ended(m_page.get(), &GameDisplayPage::signalGameStateChanged);
            m_game->send(R"({"MsgID":"4"})");
            QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 3000);
        } else if (way == QLatin1String("time-out")) {
            m_page->findChild<QTimer *>(QStringLiteral("countDownTimer"))->setInterval(10);
            QTRY_VERIFY_WITH_TIMEOUT(m_trainer->hasLine(QStringLiteral("rx stop")), 5000);
        } else if (way == QLatin1String("third spasm")) {
            for (int spasm = 1; spasm <= 3; ++spasm) {
                m_trainer->type(QStringLiteral("spasm"));
                QTRY_VERIFY_WITH_TIMEOUT(prompt<SpasmTipsDialog>()->isVisible(), 3000);
                prompt<SpasmTipsDialog>()->on_confirm_Btn_clicked();
            }
        } else if (way == QLatin1String("over-speed")) {
            m_trainer->type(QStringLiteral("overspeed 4"));
            QTRY_VERIFY_WITH_TIMEOUT(prompt<QuitBySpeedDialog>()->isVisible(), 5000);
            prompt<QuitBySpeedDialog>()->findChild<QTimer *>(QStringLiteral("downTimer"))->setInterval(10);
        } else if (way == QLatin1String("link lost")) {
            m_page->findChild<QTimer *>(QStringLiteral("heartTimer"))->setInterval(250);
            const int silences = m_trainer->countLines(QStringLiteral("silence over"));
            m_trainer->type(QStringLiteral("silence 2"));
            QTRY_VERIFY_WITH_TIMEOUT(m_page->sessionState() == 3, 4000);
            QTRY_VERIFY_WITH_TIMEOUT(m_trainer->countLines(QStringLiteral("silence over")) > silences, 4000);
        } else if (way == QLatin1String("back confirmed")) {
            m_page->slotBackClicked();
            QVERIFY(prompt<QuitGameDialog>()->isVisible());
            prompt<QuitGameDialog>()->on_confirm_Btn_clicked();
        } else {
            m_trainer->type(QStringLiteral("estop"));
            QTRY_VERIFY_WITH_TIMEOUT(prompt<EmergencyStopDialog>()->isVisible(), 3000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(m_boxes->allOutputsOff(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(motorStopped(), 5000);
        QVERIFY2(!m_trainer->hasLine(QStringLiteral("watchdog:")), qPrintable(m_trainer->output()));
        for (uint8_t device : {1, 2})
            fes->setMuscleState(device, false);
        if (way == QLatin1String("emergency")) {
            m_trainer->type(QStringLiteral("release"));
            QTRY_VERIFY_WITH_TIMEOUT(!prompt<EmergencyStopDialog>()->isVisible(), 3000);
        }
    }

    // A machine that falls silent turns the connection mark off within four seconds.
    void silenceTurnsTheConnectionOff()
    {
        m_page->findChild<QTimer *>(QStringLiteral("heartTimer"))->setInterval(250);
        QTRY_COMPARE_WITH_TIMEOUT(IceModule::getInstance()->getDeviceState(), 1, 3000);
        const int silences = m_trainer->countLines(QStringLiteral("silence over"));
        m_trainer->type(QStringLiteral("silence 6"));
        QTRY_VERIFY_WITH_TIMEOUT(m_trainer->hasLine(QStringLiteral("fault silence")), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(IceModule::getInstance()->getDeviceState(), 0, 4000);
        const QImage shown = m_page->findChild<QLabel *>(QStringLiteral("wifiSignal_Label"))->pixmap(Qt::ReturnByValue).toImage();
        QCOMPARE(shown, QImage(QStringLiteral(":/DependFile/Source/signal/deviceDisconnected.png")).convertToFormat(shown.format()));
        QTRY_VERIFY_WITH_TIMEOUT(m_trainer->countLines(QStringLiteral("silence over")) > silences, 8000);
        QTRY_COMPARE_WITH_TIMEOUT(IceModule::getInstance()->getDeviceState(), 1, 4000);
    }
};

QTEST_MAIN(TestTrainingE2E)
#include "tst_training_e2e.moc"
