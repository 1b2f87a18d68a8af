#include "app/configmanager.h"
#include "app/languagemanager.h"
#include "comm/ccommunicateapi.h"
#include "comm/deviceprotocol.h"
#include "common/feslinkpty.h"
#include "common/gamepeer.h"
#include "common/modalcloser.h"
#include "common/testworkdir.h"
#include "fes/fescontroldialog.h"
#include "game/gamecontrol.h"
#include "reports/reportdialogbase.h"
#include "training/emergencystopdialog.h"
#include "training/gamedisplaypage.h"
#include "training/icemodule.h"
#include "training/paramtipsdialog.h"
#include "training/quitbyspeeddialog.h"
#include "training/quitgamedialog.h"
#include "training/spasmtipsdialog.h"
#include "users/currentuserdata.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMediaPlayer>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

using namespace DeviceProtocol;

namespace {

using Bytes = QList<QPair<int, int>>; // record offset, byte value

// A live-data record as the machine sends it: 31 bytes, words little-endian.
QByteArray record(const Bytes &bytes)
{
    QByteArray r(kLiveRecordSize, '\0');
    for (const auto &b : bytes)
        r[b.first] = char(b.second);
    return r;
}

Bytes word(int offset, int value)
{
    return {{offset, value & 0xFF}, {offset + 1, (value >> 8) & 0xFF}};
}

// A frame as the UDP transport hands it on: 0xAB, L, command, record, the last two bytes 0;
// length - 8 in byte 1, so the same bytes also travel as one datagram.
QByteArray liveFrame(const QByteArray &rec, int length = kLiveFrameSize)
{
    QByteArray frame(qMax(length, 3), '\0');
    frame[0] = char(kDatagramStart);
    frame[1] = char(length - 8);
    frame[2] = char(kReplyLiveData1);
    for (int i = 0; i < rec.size() && 3 + i < length - 2; ++i)
        frame[3 + i] = rec.at(i);
    return frame.left(length);
}

ST_BicycleParam params(int limb, int mode, int speed = 10, int resistance = 5, int direction = 1, int minutes = 20)
{
    ST_BicycleParam p;
    p.trainLimp = uint8_t(limb);
    p.trainMode = uint8_t(mode);
    p.trainSpeed = uint8_t(speed);
    p.trainResistance = uint8_t(resistance);
    p.trainDirection = uint8_t(direction);
    p.trainTime = uint8_t(minutes);
    return p;
}

} // namespace

// The training session page on real links: the device link over UDP loopback with the test
// playing the trainer, the game link with the test playing the game, and the FES manager on a
// pseudo-terminal. Frames go in through the transport; what the page sends is read back off it.
class TestGameDisplayPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<QUdpSocket> m_trainer;
    std::unique_ptr<GamePeer> m_game;
    std::unique_ptr<FesLinkPty> m_fes;
    std::unique_ptr<GameDisplayPage> m_page;
    QList<QByteArray> m_sent; // payloads the page sent to the trainer
    quint16 m_pagePort = 0;

    template<typename T>
    T *child(const char *name) const
    {
        T *found = m_page->findChild<T *>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    QString text(const char *label) const { return child<QLabel>(label)->text(); }
    QTimer *timer(const char *name) const { return child<QTimer>(name); }
    template<typename T>
    T *prompt() const { return m_page->findChild<T *>(); }

    // Sends frames from the trainer's address and waits until the page has handled them all.
    void deliver(const QList<QByteArray> &frames)
    {
        QSignalSpy handled(CCommunicateAPI::getInstance(), &CCommunicateAPI::signalReadyRead);
        for (const QByteArray &frame : frames)
            m_trainer->writeDatagram(frame, QHostAddress(QHostAddress::LocalHost), m_pagePort);
        QTRY_COMPARE(handled.count(), frames.size());
    }
    void deliver(const QByteArray &frame, int times = 1)
    {
        QList<QByteArray> frames;
        for (int i = 0; i < times; ++i)
            frames << frame;
        deliver(frames);
    }

    // What the page sent, read off the trainer's socket after the datagrams have had time to land.
    QList<QByteArray> sent(uint8_t command)
    {
        QTest::qWait(30);
        QList<QByteArray> payloads;
        for (const QByteArray &payload : m_sent) {
            if (uint8_t(payload.at(0)) == command)
                payloads << payload;
        }
        return payloads;
    }
    QList<int> controlCodes()
    {
        QList<int> codes;
        for (const QByteArray &payload : sent(kCmdBicycleParam))
            codes << uint8_t(payload.at(1));
        return codes;
    }
    // "item=value" of each command 0x02.
    QStringList realTimeItems()
    {
        QStringList items;
        for (const QByteArray &payload : sent(kCmdRealTimeParam))
            items << QStringLiteral("%1=%2").arg(uint8_t(payload.at(1))).arg(uint8_t(payload.at(2)));
        return items;
    }
    void clearSent()
    {
        QTest::qWait(30);
        m_sent.clear();
        m_game->clear();
    }

    void setUp(const ST_BicycleParam &p) { IceModule::getInstance()->setBicycleParam(p); }
    void start() { m_page->on_start_Btn_clicked(); }
    ReportDialogBase *shownReport() const
    {
        for (auto layout : {ReportLayout::TrainReport_E, ReportLayout::TrainReportThreeTwo_E,
                            ReportLayout::TrainReportTwoThree_E, ReportLayout::TrainReportTwoTwo_E}) {
            if (m_page->reportDialogs().dialog(layout)->isVisible())
                return m_page->reportDialogs().dialog(layout);
        }
        return nullptr;
    }
    // The 0x72 frames of the FES link that switch a channel off, as "device/channel".
    QStringList outputsSwitchedOff()
    {
        QStringList off;
        for (const QByteArray &frame : m_fes->sentFrames(50)) {
            if (frame.size() >= 6 && uint8_t(frame.at(2)) == 0x72 && frame.at(5) == 0)
                off << QStringLiteral("%1/%2").arg(int(frame.at(3))).arg(int(frame.at(4)));
        }
        return off;
    }
    static QStringList allEightOutputs()
    {
        return {QStringLiteral("1/1"), QStringLiteral("1/2"), QStringLiteral("2/1"), QStringLiteral("2/2"),
                QStringLiteral("3/1"), QStringLiteral("3/2"), QStringLiteral("4/1"), QStringLiteral("4/2")};
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        Q_INIT_RESOURCE(resources);
        qRegisterMetaType<int8_t>("int8_t");
        m_dir = std::make_unique<TestWorkDir>();
        m_trainer = std::make_unique<QUdpSocket>();
        QVERIFY(m_trainer->bind(QHostAddress(QHostAddress::LocalHost), 0));
        {
            QUdpSocket probe;
            QVERIFY(probe.bind(QHostAddress(QHostAddress::LocalHost), 0));
            m_pagePort = probe.localPort();
        }
        const QString xml = QStringLiteral(
            "<config><communicateType type=\"1\"/><udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>"
            "<udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/></config>").arg(m_pagePort).arg(m_trainer->localPort());
        QVERIFY(m_dir->write(QStringLiteral("DependFile/ConfigFile/config.xml"), xml.toUtf8()));
        QVERIFY(ConfigManager::getInstance()->readConfigFile());
        QCOMPARE(CCommunicateAPI::getInstance()->communicateType(), int(CCommunicateAPI::Udp));
        connect(m_trainer.get(), &QUdpSocket::readyRead, this, [this] {
            while (m_trainer->hasPendingDatagrams()) {
                const QByteArray frame = m_trainer->receiveDatagram().data();
                m_sent << frame.mid(2, uint8_t(frame.at(1)));
            }
        });
        m_game = std::make_unique<GamePeer>();
        QVERIFY(m_game->isBound());
        m_fes = std::make_unique<FesLinkPty>();
        QVERIFY(m_fes->open());
        ST_PatientMsg patient = CurrentUserData::defaultPatient();
        patient.age = 60;
        CurrentUserData::getInstance()->setCurrentUserMsg(patient);
    }

    void init()
    {
        IceModule::getInstance()->setGameType(1);
        IceModule::getInstance()->setEmergencyState(0);
        m_page = std::make_unique<GameDisplayPage>();
        // The tests tick the clocks themselves.
        timer("heartTimer")->setInterval(3600 * 1000);
        timer("countDownTimer")->setInterval(3600 * 1000);
        m_page->show();
        clearSent();
        m_fes->sentFrames(20);
    }

    void cleanup()
    {
        m_page.reset();
        LanguageManager::getInstance()->setLanguage(Chinese_E);
    }

    // ---- parameters, start, pause, resume ----

    // The remaining minutes round up, and a first start differs from a resume.
    void startPauseResume()
    {
        IceModule::getInstance()->setTorqueLevel(2);
        setUp(params(1, 0, 10, 5, 1, 3));
        QCOMPARE(text("upRemainTime_Label"), QStringLiteral("3"));
        start();
        QCOMPARE(controlCodes(), QList<int>{1});
        QCOMPARE(uint8_t(sent(kCmdBicycleParam).last().at(1 + 5)), uint8_t(2)); // torque level
        const QString firstStart = m_page->trainReport().startTimeStr;
        QVERIFY(!firstStart.isEmpty());
        QVERIFY(timer("countDownTimer")->isActive());
        QCOMPARE(m_game->gameStates(), QList<int>{1});

        // 125, 60 and 59 seconds left show 3, 2 and 1 minutes
        const QList<QPair<int, QString>> shown = {{125, "3"}, {60, "2"}, {59, "1"}};
        for (const auto &step : shown) {
            while (m_page->remainSeconds() > step.first)
                m_page->slotCountDownTimer();
            QCOMPARE(text("upRemainTime_Label"), step.second);
            QCOMPARE(text("downRemainTime_Label"), step.second);
        }

        m_page->on_pause_Btn_clicked();
        QVERIFY(!timer("countDownTimer")->isActive());
        QVERIFY(child<QPushButton>("start_Btn")->isVisible());
        start();
        // resume keeps the first start's time
        QCOMPARE(controlCodes(), (QList<int>{1, 2, 3}));
        QCOMPARE(m_page->trainReport().startTimeStr, firstStart);
        QCOMPARE(m_game->gameStates(), (QList<int>{1, 2, 1}));

        // showing the page again makes the next start a first one, with a new start time
        QTRY_VERIFY_WITH_TIMEOUT(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) != firstStart, 1500);
        m_page->hide();
        m_page->show();
        clearSent();
        start();
        QCOMPARE(controlCodes(), QList<int>{1});
        QVERIFY(m_page->trainReport().startTimeStr != firstStart);
    }

    void controlsFollowTheMode_data()
    {
        QTest::addColumn<int>("limb");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("speedOn");
        QTest::addColumn<bool>("resistanceOn");
        QTest::addColumn<bool>("directionOn");
        QTest::addColumn<QString>("speed");
        QTest::newRow("active: no set speed") << 1 << 1 << false << true << true << "0";
        QTest::newRow("active, vertical upper limb: no direction") << 3 << 1 << false << true << false << "0";
        QTest::newRow("passive: no resistance") << 0 << 0 << true << false << true << "12";
        QTest::newRow("isokinetic: no resistance") << 2 << 3 << true << false << true << "12";
        QTest::newRow("active-passive: everything") << 2 << 7 << true << true << true << "12";
    }

    // Which controls the mode leaves enabled, and which limb boxes are shown.
    void controlsFollowTheMode()
    {
        QFETCH(int, limb);
        QFETCH(int, mode);
        setUp(params(limb, mode, 12));
        QTEST(child<QWidget>("speed_GroupBox")->isEnabled(), "speedOn");
        QTEST(child<QWidget>("force_GroupBox")->isEnabled(), "resistanceOn");
        QTEST(child<QWidget>("forward_Btn")->isEnabled(), "directionOn");
        QTEST(text("upSpeed_Label"), "speed");
        QCOMPARE(child<QWidget>("upLimp_GroupBox")->isVisible(), limb != 1);
        QCOMPARE(child<QWidget>("downLimp_GroupBox")->isVisible(), limb == 1 || limb == 2);
        QCOMPARE(child<QWidget>("leftBalance_Label")->isVisible(), limb != 3);
    }

    // ---- stop and the report ----

    void stopChoosesTheReport_data()
    {
        QTest::addColumn<int>("limb");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("layout");
        // limb 3 passive has neither balance nor resistance
        QTest::newRow("vertical upper limb, passive") << 3 << 0 << int(ReportLayout::TrainReportTwoTwo_E);
        // limb 2 isokinetic falls through to the full report
        QTest::newRow("upper and lower limb, isokinetic") << 2 << 3 << int(ReportLayout::TrainReport_E);
    }

    // Stop without any live data: the statistics are the shown set values; the report dialog of
    // the limb and mode opens, and closing it closes the game.
    void stopChoosesTheReport()
    {
        QFETCH(int, limb);
        QFETCH(int, mode);
        QFETCH(int, layout);
        setUp(params(limb, mode, 14, 7, 0));
        start();
        m_page->on_stop_Btn_clicked();
        QCOMPARE(controlCodes().last(), 0);
        ReportDialogBase *report = shownReport();
        QVERIFY(report);
        QCOMPARE(report, m_page->reportDialogs().dialog(ReportLayout::E_REPORTLAYOUT(layout)));
        const ST_TrainReport r = report->reportData();
        QCOMPARE(r.maxSpeed, 14);
        QCOMPARE(r.averageSpeed, 14);
        QCOMPARE(r.maxResistance, 7.0f);
        QCOMPARE(r.averangeResistance, 7.0f);
        QCOMPARE(r.minResistance, 7.0f);
        QCOMPARE(r.bodyIndex, limb);
        QCOMPARE(r.age, 60);
        // the prescription takes what the page shows
        QCOMPARE(GameControl::getInstance()->getTrainParam().trainSpeed, 14);
        QCOMPARE(GameControl::getInstance()->getTrainParam().trainDirection, 0);
        QCOMPARE(m_game->messages(1).last().value(QStringLiteral("speed")).toDouble(), 0.0);
        QCOMPARE(m_game->gameStates(), QList<int>{1});

        report->on_noSave_Btn_clicked();
        QTRY_COMPARE(m_game->gameStates(), (QList<int>{1, 0}));
    }

    // ---- live data ----

    void liveDataIsShownByLimb_data()
    {
        QTest::addColumn<int>("limb");
        QTest::addColumn<QByteArray>("rec");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("gameSpeed");
        // an upper-limb speed above 100 is shown as 100 (and counts towards the over-speed watch)
        QTest::newRow("R3 120") << 0 << record({{3, 120}}) << "upRealSpeed_Label" << "100" << 30.0;
        QTest::newRow("upper balance 30: left") << 0 << record({{12, 30}}) << "leftBalance_Label" << "30%" << 0.0;
        QTest::newRow("upper balance 30: right") << 0 << record({{12, 30}}) << "rightBalance_Label" << "70%" << 0.0;
        QTest::newRow("lower balance 30: left") << 1 << record({{13, 30}}) << "leftBalance_Label" << "70%" << 0.0;
        QTest::newRow("lower balance 30: right") << 1 << record({{13, 30}}) << "rightBalance_Label" << "30%" << 0.0;
        QTest::newRow("R14 100 metres") << 0 << record(word(14, 100)) << "length_Label" << "60.0m" << 0.0;
        QTest::newRow("lower power") << 1 << record(Bytes{{2, 20}} + word(25, 345)) << "downRealPower_Label" << "345" << 6.0;
        // a game speed below 1.1 but above 0 is raised to 1.1
        QTest::newRow("game speed 3") << 1 << record({{2, 3}}) << "downRealSpeed_Label" << "3" << 1.1;
        QTest::newRow("game speed 10") << 0 << record({{3, 10}}) << "upRealSpeed_Label" << "10" << 3.0;
        QTest::newRow("both limbs, faster lower") << 2 << record({{2, 40}, {3, 10}}) << "downRealSpeed_Label" << "40" << 12.0;
    }

    void liveDataIsShownByLimb()
    {
        QFETCH(int, limb);
        QFETCH(QByteArray, rec);
        QFETCH(QString, label);
        QFETCH(double, gameSpeed);
        setUp(params(limb, 0));
        start();
        clearSent();
        deliver(liveFrame(rec));
        QTEST(text(qPrintable(label)), "shown");
        QTRY_COMPARE(m_game->messages(1).size(), 1);
        QCOMPARE(float(m_game->messages(1).last().value(QStringLiteral("speed")).toDouble()), float(gameSpeed));
    }

    // Heartbeat replies keep the connection icon lit; a check that finds none turns it off, also
    // when a reply or two came before the previous check.
    void heartbeatRepliesLightTheIcon()
    {
        const QByteArray reply = QByteArray::fromHex("BA040200000000DC");
        const QByteArray replyDatagram = QByteArray::fromHex("AB0402000000000000000000");
        auto fourTicks = [this] {
            for (int i = 0; i < 4; ++i)
                m_page->slotHeartTimer();
            return IceModule::getInstance()->getDeviceState();
        };
        QCOMPARE(fourTicks(), 0);
        m_page->slotReceiveData(reply);
        QCOMPARE(m_page->trainReport().spasmTimes, 0);
        QCOMPARE(fourTicks(), 1);
        QCOMPARE(sent(kCmdHeartBeat).size(), 8);
        // two replies, then silence: the fault kept the icon lit for ever
        deliver(replyDatagram, 2);
        QCOMPARE(fourTicks(), 1);
        QCOMPARE(fourTicks(), 0);
    }

    void versionAndChannels()
    {
        m_page->slotReceiveData(QByteArray::fromHex("BA0508") + QByteArray("V3.2") + QByteArray::fromHex("00DC"));
        QCOMPARE(IceModule::getInstance()->getLowerMachineVersion(), QStringLiteral("V3.2"));
        int currents[8] = {0, 12, 0, 0, 0, 0, 0, 0};
        m_page->slotSetChannelBData(currents, 8);
        QCOMPARE(text("channelB1_Label"), QStringLiteral("通道A1:"));
        QCOMPARE(text("channelB2_Label"), QStringLiteral("通道A2: 12"));
    }

    void badInputNeverCorruptsTheReport_data()
    {
        QTest::addColumn<int>("limb");
        for (int limb = 0; limb <= 3; ++limb)
            QTest::newRow(qPrintable(QStringLiteral("limb %1").arg(limb))) << limb;
    }

    // Frames of 0 to 34 bytes, lying length bytes, unknown commands and all-ones records: the page
    // goes on, and the report holds only values a training can have.
    void badInputNeverCorruptsTheReport()
    {
        QFETCH(int, limb);
        setUp(params(limb, 7));
        start();
        for (int length = 0; length <= kLiveFrameSize; ++length) {
            for (uint8_t command : {uint8_t(0x00), uint8_t(0x01), uint8_t(0x02), uint8_t(0x08), uint8_t(0x7F), uint8_t(0xFF)}) {
                QByteArray frame(length, char(0xFF));
                if (length > 2)
                    frame[2] = char(command);
                if (length > 1)
                    frame[1] = char(0xFF); // a length byte that lies
                m_page->slotReceiveData(frame);
            }
        }
        // balance bytes beyond 0..100 and speeds above 100 made reports with -27 % or 255 r/min
        deliver(liveFrame(record({{2, 250}, {3, 250}, {12, 127}, {13, 0x9C}})), 25);
        // the page goes on as before
        deliver(liveFrame(record({{2, 21}, {3, 21}})));
        QCOMPARE(text(limb == 1 ? "downRealSpeed_Label" : "upRealSpeed_Label"), QStringLiteral("21"));
        m_page->on_stop_Btn_clicked();
        const ST_TrainReport r = shownReport()->reportData();
        QVERIFY2(r.leftBalance >= 0 && r.leftBalance <= 100 && r.leftBalance + r.rightBalance == 100,
                 qPrintable(QStringLiteral("%1/%2").arg(r.leftBalance).arg(r.rightBalance)));
        QVERIFY(r.maxSpeed >= 0 && r.maxSpeed <= 100 && r.averageSpeed <= r.maxSpeed);
        QVERIFY(r.upLimpLength >= 0 && r.downLimpLength >= 0);
    }

    // ---- spasm, emergency, over-speed ----

    // A spasm series: each spasm reverses the direction after its prompt, the prompt's confirm
    // sends the direction the page held, flags while it is open are ignored, and the third
    // spasm stops the training once its prompt is confirmed.
    void spasmSeriesStopsOnTheThird()
    {
        setUp(params(0, 0, 10, 5, 1));
        start();
        clearSent();
        const QByteArray spasm = liveFrame(record({{19, 1}}));
        auto *dialog = prompt<SpasmTipsDialog>();
        for (int n = 1; n <= 3; ++n) {
            deliver(spasm, 2); // the second flag arrives while the prompt is open
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->isModal());
            QCOMPARE(m_page->spasmCount(), n % 3); // the third ends the series
            QCOMPARE(m_page->trainReport().spasmTimes, n);
            const uint8_t held = n % 2 == 1 ? 0 : 1; // forward at first, reversed by each spasm
            QCOMPARE(dialog->direction(), held);
            QCOMPARE(text("direction_Label"), held == 1 ? QStringLiteral("正向") : QStringLiteral("逆向"));
            dialog->on_confirm_Btn_clicked();
            QCOMPARE(realTimeItems().last(), QStringLiteral("16=%1").arg(held));
            QCOMPARE(child<QPushButton>(held == 1 ? "forward_Btn" : "backward_Btn")->isChecked(), true);
            QCOMPARE(controlCodes().contains(0), n == 3);
        }
        QVERIFY(shownReport());
        QCOMPARE(shownReport()->reportData().spasmTimes, 3);
        QCOMPARE(m_page->spasmCount(), 0);
    }

    void emergencyWhileNotRunning_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("opens");
        QTest::newRow("30 bytes") << 30 << true;
        QTest::newRow("29 bytes") << 29 << false;
    }

    // A page that is not running checks only frames long enough to hold the emergency byte.
    void emergencyWhileNotRunning()
    {
        QFETCH(int, length);
        setUp(params(1, 0));
        deliver(liveFrame(record({{18, 1}}), length));
        QTEST(prompt<EmergencyStopDialog>()->isVisible(), "opens");
        QCOMPARE(IceModule::getInstance()->getEmergencyState(), length >= 30 ? 1 : 0);
    }

    // An emergency that arrives while the spasm prompt is open is handled at once: the spasm
    // prompt goes, the emergency prompt comes, the count-down stops and the stimulation is off.
    // Records without the flag close it; thirty-one taps close it too, and the next flagged
    // record brings it back.
    void emergencyDuringTheSpasmPrompt()
    {
        IceModule::getInstance()->setGameType(2);
        setUp(params(1, 0));
        start();
        deliver(liveFrame(record({{19, 1}})));
        QVERIFY(prompt<SpasmTipsDialog>()->isVisible());
        m_fes->sentFrames(20);

        QSignalSpy fesSession(m_page.get(), &GameDisplayPage::signalFesSessionStateChanged);
        deliver(liveFrame(record({{18, 1}})));
        QVERIFY(!prompt<SpasmTipsDialog>()->isVisible());
        QVERIFY(prompt<EmergencyStopDialog>()->isVisible());
        QVERIFY(!timer("countDownTimer")->isActive());
        QCOMPARE(m_page->trainReport().activeTime, 0);
        QCOMPARE(outputsSwitchedOff(), allEightOutputs());
        QCOMPARE(fesSession.count(), 1);
        QCOMPARE(m_game->gameStates().last(), 0);

        deliver(liveFrame(record({{18, 1}})));
        QCOMPARE(m_page->spasmCount(), 1); // absorbed while the prompt is up
        deliver(liveFrame(record({})));
        QVERIFY(!prompt<EmergencyStopDialog>()->isVisible());
        QCOMPARE(IceModule::getInstance()->getEmergencyState(), 0);

        deliver(liveFrame(record({{18, 1}})));
        for (int tap = 1; tap <= 31; ++tap)
            prompt<EmergencyStopDialog>()->on_emergency_Btn_clicked();
        QVERIFY(!prompt<EmergencyStopDialog>()->isVisible());
        deliver(liveFrame(record({{18, 1}})));
        QVERIFY(prompt<EmergencyStopDialog>()->isVisible());
    }

    void overSpeedPrompt_data()
    {
        QTest::addColumn<bool>("slowRecord");
        QTest::newRow("the count runs out") << false;
        QTest::newRow("a slow record comes first") << true;
    }

    // Forty fast records are tolerated, the forty-first opens the prompt; its count of
    // 5, 5, 4, 3, 2, 1, 0 ends the training, unless a slow record closes it first.
    void overSpeedPrompt()
    {
        QFETCH(bool, slowRecord);
        setUp(params(0, 0));
        start();
        clearSent();
        auto *dialog = prompt<QuitBySpeedDialog>();
        deliver(liveFrame(record({{3, 120}})), 40);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(text("upRealSpeed_Label"), QStringLiteral("100"));
        deliver(liveFrame(record({{3, 120}})));
        QVERIFY(dialog->isVisible());

        QStringList counts;
        auto *countLabel = dialog->findChild<QLabel *>(QStringLiteral("downTime_Label"));
        counts << countLabel->text();
        for (int tick = 0; tick < 6; ++tick) {
            if (slowRecord && tick == 3)
                deliver(liveFrame(record({{3, 99}})));
            if (!dialog->isVisible())
                break;
            dialog->slotDownTimer();
            counts << countLabel->text();
        }
        if (slowRecord) {
            QCOMPARE(counts, (QStringList{"5", "5", "4", "3"}));
            QVERIFY(!controlCodes().contains(0));
            QVERIFY(!shownReport());
        } else {
            QCOMPARE(counts, (QStringList{"5", "5", "4", "3", "2", "1", "0"}));
            QVERIFY(!dialog->isVisible());
            QCOMPARE(controlCodes(), QList<int>{0});
            QVERIFY(shownReport());
        }
    }

    // ---- stimulation off on every way out ----

    void stimulationStopsOnEveryWayOut_data()
    {
        QTest::addColumn<QString>("way");
        for (const char *way : {"stop button", "time out", "emergency", "third spasm", "over-speed", "back confirmed"})
            QTest::newRow(way) << QString::fromLatin1(way);
    }

    // A cycling session with stimulation (game type 2) switches all eight outputs off however it
    // ends, and tells the FES page; the motion block goes to every box whose muscle is open.
    // After an emergency record the off frames are on the line within 100 ms.
    void stimulationStopsOnEveryWayOut()
    {
        QFETCH(QString, way);
        IceModule::getInstance()->setGameType(2);
        FesControlDialog::getInstance()->setMuscleState(2, true);
        QSignalSpy fesSession(m_page.get(), &GameDisplayPage::signalFesSessionStateChanged);
        setUp(params(1, 0, 10, 5, 1, 1));
        start();
        QCOMPARE(fesSession.count(), 1);
        QCOMPARE(fesSession.last().at(0).toBool(), true);
        deliver(liveFrame(record(Bytes{{1, 0x5A}, {2, 7}, {3, 8}} + word(4, 0x1234) + word(6, 0x5678))));
        QList<QByteArray> motion;
        for (const QByteArray &frame : m_fes->sentFrames(50))
            if (uint8_t(frame.at(2)) == 0x80)
                motion << frame.mid(3, 9);
        // device 2, then the words high byte first and the pacing byte
        QCOMPARE(motion, QList<QByteArray>{QByteArray::fromHex("02000807123456785A")});
        FesControlDialog::getInstance()->setMuscleState(2, false);

        qint64 elapsedMs = 0;
        if (way == QLatin1String("stop button")) {
            m_page->on_stop_Btn_clicked();
        } else if (way == QLatin1String("time out")) {
            while (m_page->remainSeconds() > 0)
                m_page->slotCountDownTimer();
            QCOMPARE(shownReport(), m_page->reportDialogs().dialog(ReportLayout::TrainReport_E));
        } else if (way == QLatin1String("emergency")) {
            // From the datagram's arrival at the page's socket to the end of the page's handling,
            // in which the off frames are written.
            QElapsedTimer clock;
            auto *socket = CCommunicateAPI::getInstance()->findChild<QUdpSocket *>(QStringLiteral("udpSocket"));
            const QMetaObject::Connection arrival = connect(socket, &QUdpSocket::readyRead, this, [&] { clock.start(); });
            const QMetaObject::Connection handled = connect(CCommunicateAPI::getInstance(), &CCommunicateAPI::signalReadyRead,
                                                            this, [&] { elapsedMs = clock.elapsed(); });
            deliver(liveFrame(record({{18, 1}})));
            disconnect(arrival);
            disconnect(handled);
            QVERIFY2(elapsedMs < 100, qPrintable(QString::number(elapsedMs)));
        } else if (way == QLatin1String("third spasm")) {
            for (int n = 0; n < 3; ++n) {
                deliver(liveFrame(record({{19, 1}})));
                prompt<SpasmTipsDialog>()->on_confirm_Btn_clicked();
            }
        } else if (way == QLatin1String("over-speed")) {
            deliver(liveFrame(record({{2, 120}})), 41);
            for (int tick = 0; tick < 6; ++tick)
                prompt<QuitBySpeedDialog>()->slotDownTimer();
        } else {
            m_page->slotBackClicked();
            QVERIFY(prompt<QuitGameDialog>()->isVisible());
            prompt<QuitGameDialog>()->on_confirm_Btn_clicked();
            QVERIFY(!timer("countDownTimer")->isActive());
            QTRY_COMPARE(m_game->gameStates().last(), 0);
        }
        QCOMPARE(outputsSwitchedOff(), allEightOutputs());
        QCOMPARE(fesSession.count(), 2);
        QCOMPARE(fesSession.last().at(0).toBool(), false);
    }

    // ---- speed, resistance, direction ----

    void speedAndResistanceSteps_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("resistance");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer"); // -1 no question expected, else the answer given
        QTest::addColumn<QString>("shownSpeed");
        QTest::addColumn<QString>("shownResistance");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("plus at 30 paused, declined") << false << 30 << 5 << "upSpeedPlus_Btn" << 0 << "30" << "5" << QStringList();
        QTest::newRow("plus at 30 paused, confirmed") << false << 30 << 5 << "upSpeedPlus_Btn" << 1 << "31" << "5" << QStringList{"2=31"};
        QTest::newRow("plus at 30 running, no question") << true << 30 << 5 << "upSpeedPlus_Btn" << -1 << "31" << "5" << QStringList{"2=31"};
        // declining kept 30 on the label while the machine ran at 40
        QTest::newRow("plus at 40 paused, declined") << false << 40 << 5 << "upSpeedPlus_Btn" << 0 << "40" << "5" << QStringList();
        QTest::newRow("plus at 55") << true << 55 << 5 << "upSpeedPlus_Btn" << -1 << "55" << "5" << QStringList();
        QTest::newRow("minus at 2") << true << 2 << 5 << "upSpeedMinus_Btn" << -1 << "2" << "5" << QStringList();
        QTest::newRow("minus at 3") << true << 3 << 5 << "upSpeedMinus_Btn" << -1 << "2" << "5" << QStringList{"2=2"};
        QTest::newRow("resistance plus at 20") << true << 10 << 20 << "upForcePlus_Btn" << -1 << "10" << "20" << QStringList();
        QTest::newRow("resistance minus at 1") << true << 10 << 1 << "upForceMinus_Btn" << -1 << "10" << "1" << QStringList();
        QTest::newRow("resistance plus at 19") << true << 10 << 19 << "upForcePlus_Btn" << -1 << "10" << "20" << QStringList{"1=20"};
    }

    // A tap changes the value once, within its limits, and sends it; above 30 r/min a session
    // that is not running asks first.
    void speedAndResistanceSteps()
    {
        QFETCH(bool, running);
        QFETCH(int, speed);
        QFETCH(int, resistance);
        QFETCH(QString, button);
        QFETCH(int, answer);
        setUp(params(2, 7, speed, resistance));
        if (running)
            start();
        clearSent();
        child<QPushButton>(qPrintable(button))->click();
        auto *question = prompt<ParamTipsDialog>();
        QCOMPARE(question != nullptr && question->isVisible(), answer >= 0);
        if (answer >= 0) {
            QVERIFY(question->findChild<QLabel *>(QStringLiteral("tipMsg_Label"))->text().contains(QStringLiteral("30r/min")));
            if (answer == 1)
                question->on_confirm_Btn_clicked();
            else
                question->on_cancel_Btn_clicked();
        }
        QTEST(text("upSpeed_Label"), "shownSpeed");
        QTEST(text("upForce_Label"), "shownResistance");
        QTEST(realTimeItems(), "items");
        QCOMPARE(int(m_page->bicycleParam().trainSpeed), text("upSpeed_Label").toInt());
    }

    // Holding a button repeats its step every 200 ms; a release ends it.
    void holdingRepeats()
    {
        setUp(params(2, 7, 10, 5));
        start();
        clearSent();
        auto *repeat = timer("speedRepeatTimer");
        QCOMPARE(repeat->interval(), 200);
        m_page->on_upSpeedPlus_Btn_pressed();
        QVERIFY(repeat->isActive());
        for (int i = 0; i < 3; ++i)
            QMetaObject::invokeMethod(repeat, "timeout", Qt::DirectConnection);
        m_page->on_upSpeedPlus_Btn_released();
        QMetaObject::invokeMethod(repeat, "timeout", Qt::DirectConnection);
        QVERIFY(!repeat->isActive());
        QCOMPARE(realTimeItems(), (QStringList{"2=11", "2=12", "2=13"}));
    }

    // Either direction button reverses the direction in force, and the checked one follows.
    void directionToggles()
    {
        setUp(params(1, 0, 10, 5, 1));
        child<QPushButton>("forward_Btn")->click();
        QCOMPARE(realTimeItems(), QStringList{"4=0"});
        QCOMPARE(text("direction_Label"), QStringLiteral("逆向"));
        QVERIFY(child<QPushButton>("backward_Btn")->isChecked());
        QCOMPARE(int(m_page->bicycleParam().trainDirection), 0);
        child<QPushButton>("forward_Btn")->click();
        QCOMPARE(text("direction_Label"), QStringLiteral("正向"));
        QVERIFY(child<QPushButton>("forward_Btn")->isChecked());
    }

    // ---- back, panels, game link, language ----

    void backAsksFirst_data()
    {
        QTest::addColumn<bool>("paused");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("running, declined: started again") << false << 0 << QList<int>{0, 1};
        QTest::newRow("paused, declined: stays stopped") << true << 0 << QList<int>{0};
        QTest::newRow("running, confirmed") << false << 1 << QList<int>{0};
    }

    void backAsksFirst()
    {
        QFETCH(bool, paused);
        QFETCH(int, answer);
        setUp(params(1, 0));
        start();
        if (paused)
            m_page->on_pause_Btn_clicked();
        clearSent();
        child<QPushButton>("back1_Btn")->setVisible(true);
        child<QPushButton>("back1_Btn")->click();
        auto *question = prompt<QuitGameDialog>();
        QVERIFY(question->isVisible());
        if (answer == 1)
            question->on_confirm_Btn_clicked();
        else
            question->on_cancel_Btn_clicked();
        QTEST(controlCodes(), "codes");
        QCOMPARE(m_game->gameStates(), answer == 1 ? QList<int>{0} : QList<int>());
    }

    void doubleClickSlidesThePanels_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<bool>("slides");
        QTest::newRow("435") << 435 << true;
        QTest::newRow("1481") << 1481 << true;
        QTest::newRow("434") << 434 << false;
        QTest::newRow("1482") << 1482 << false;
    }

    void doubleClickSlidesThePanels()
    {
        QFETCH(int, x);
        QFETCH(bool, slides);
        m_page->resize(1920, 1080);
        QTest::mouseDClick(m_page.get(), Qt::LeftButton, Qt::NoModifier, QPoint(x, 600));
        QCOMPARE(m_page->panelsShown(), !slides);
        if (slides)
            QTRY_COMPARE_WITH_TIMEOUT(child<QWidget>("rightPage_GroupBox")->x(), 1920, 3000);
    }

    // Stage notices in the switching modes, and the game's own start and end.
    void stageNoticesAndGameState()
    {
        setUp(params(0, 10));
        start();
        deliver(liveFrame(record({{0, 1}}))); // the stage the page starts from: no notice
        QVERIFY(!child<QLabel>("warnTips_Label")->isVisible());
        deliver(liveFrame(record({{0, 0}})));
        QVERIFY(child<QLabel>("warnTips_Label")->isVisible());
        QCOMPARE(text("warnTips_Label"), QStringLiteral("被动"));
        deliver(liveFrame(record({{0, 1}})));
        QCOMPARE(text("warnTips_Label"), QStringLiteral("模式切换中"));
        QCOMPARE(timer("stageTextTimer")->interval(), 2500);
        QMetaObject::invokeMethod(timer("stageTextTimer"), "timeout", Qt::DirectConnection);
        QCOMPARE(text("warnTips_Label"), QStringLiteral("主动"));

        QSignalSpy state(m_page.get(), &GameDisplayPage::signalGameStateChanged);
        m_game->send(R"({"MsgID":"3"})");
        QTRY_COMPARE(state.count(), 1);
        QCOMPARE(state.last().at(0).value<int8_t>(), int8_t(1));
    }

    // The simulate slot sends speed 10 with an angle that goes round 0..359.
    void simulatedGameData()
    {
        for (int i = 0; i < 361; ++i) {
            m_page->slotSimulateData();
            if (i % 32 == 0)
                QTest::qWait(5); // the game reads as it goes
        }
        QTRY_COMPARE(m_game->messages(1).size(), 361);
        const QList<QJsonObject> messages = m_game->messages(1);
        QCOMPARE(messages.at(1).value(QStringLiteral("angle")).toInt(), 1);
        QCOMPARE(messages.at(359).value(QStringLiteral("angle")).toInt(), 359);
        QCOMPARE(messages.at(360).value(QStringLiteral("angle")).toInt(), 0);
        QCOMPARE(messages.at(0).value(QStringLiteral("speed")).toDouble(), 10.0);
    }

    void language_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("stopImage");
        QTest::addColumn<QString>("sound");
        QTest::newRow("Chinese") << int(Chinese_E) << "stop.png" << "startTraining.mp3";
        QTest::newRow("English") << int(English_E) << "stop_E.png" << "startTraining_En.mp3";
    }

    // Pictures and spoken prompts follow the language; a language change keeps what the page shows.
    void language()
    {
        QFETCH(int, language);
        QFETCH(QString, stopImage);
        QFETCH(QString, sound);
        LanguageManager::getInstance()->setLanguage(E_LANGUAGE(language));
        setUp(params(1, 0, 10, 5, 0));
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(m_page.get(), &change);
        QCOMPARE(text("title_Label"), QStringLiteral("下肢训练"));
        QCOMPARE(text("direction_Label"), QStringLiteral("逆向"));
        QVERIFY(child<QPushButton>("stop_Btn")->styleSheet().contains(QLatin1Char('/') + stopImage));
        start();
        QVERIFY(GameControl::getInstance()->player()->media().request().url().path().endsWith(QLatin1Char('/') + sound));
        ModalCloser closer;
        m_page->on_switchAFes_Btn_clicked();
        QTRY_COMPARE(closer.seen().value(0), QStringLiteral("提示|未检测到电刺激设备"));
    }
};

QTEST_MAIN(TestGameDisplayPage)
#include "tst_gamedisplaypage.moc"
