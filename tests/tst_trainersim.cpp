#include "app/configmanager.h"
#include "comm/ccommunicateapi.h"
#include "comm/deviceframe.h"
#include "comm/deviceprotocol.h"
#include "comm/streamframecutter.h"
#include "common/simprocess.h"
#include "common/testworkdir.h"
#include "tools/trainer-sim/hostcommanddecoder.h"
#include "tools/trainer-sim/machineframe.h"
#include "tools/trainer-sim/trainermodel.h"
#include "comm/bicycleparam.h"

#include <QFileInfo>
#include <QNetworkDatagram>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

#include <fcntl.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

using namespace DeviceProtocol;

namespace {

ST_BicycleParam sessionParam(uint8_t control, uint8_t limb = 1, uint8_t mode = 0, uint8_t speed = 10)
{
    ST_BicycleParam param;
    param.controlState = control;
    param.trainLimp = limb;
    param.trainMode = mode;
    param.trainSpeed = speed;
    return param;
}

QByteArray paramFrame(uint8_t control, uint8_t limb = 1, uint8_t mode = 0, uint8_t speed = 10)
{
    return DeviceFrame::wrap(DeviceFrame::bicycleParamPayload(sessionParam(control, limb, mode, speed)));
}

QByteArray realTimeFrame(uint8_t item, uint8_t value)
{
    return DeviceFrame::wrap(DeviceFrame::realTimeParamPayload(item, value));
}

// A byte of the live record inside a machine frame: the record starts at frame offset 3.
uint8_t recordByte(const QByteArray &frame, int recordOffset)
{
    return uint8_t(frame.at(3 + recordOffset));
}

uint16_t recordWord(const QByteArray &record, int offset)
{
    return uint16_t(uint8_t(record.at(offset)) | (uint8_t(record.at(offset + 1)) << 8));
}

// Moves the model on with a host that sends its heartbeats, or with a host that is silent.
void advanceBy(TrainerModel &model, double seconds, double step = 0.05, bool heartBeats = true)
{
    const int steps = qRound(seconds / step);
    for (int i = 0; i < steps; ++i) {
        if (heartBeats)
            model.heartBeat();
        model.advance(step);
    }
}

const QByteArray kHeartBeatReplyStream = QByteArray::fromHex("BA040200000000DC");

const QString kTrainerSim = QStringLiteral(TRAINER_SIM);

} // namespace

// The simulated lower machine: its model and frame decoding directly, then the program as a real
// process over UDP, a pseudo-terminal and TCP, with the test playing the host.
class TestTrainerSim : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_workDir;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<QUdpSocket> m_host;
    QList<QByteArray> m_datagrams;
    quint16 m_simPort = 0;

    // Starts the simulator on UDP with the test's socket as its peer; the simulator picks its port.
    void startUdpSim(const QStringList &extra = {})
    {
        m_host = std::make_unique<QUdpSocket>();
        QVERIFY(m_host->bind(QHostAddress(QHostAddress::LocalHost), 0));
        QObject::connect(m_host.get(), &QUdpSocket::readyRead, m_host.get(), [this] {
            while (m_host->hasPendingDatagrams())
                m_datagrams << m_host->receiveDatagram().data();
        });
        m_sim = std::make_unique<SimProcess>(kTrainerSim);
        // This host sends no heartbeats of its own: the watchdog waits long unless a test asks.
        m_sim->start(QStringList{QStringLiteral("--udp-bind"), QStringLiteral("127.0.0.1:0"),
                                 QStringLiteral("--udp-peer"), QStringLiteral("127.0.0.1:%1").arg(m_host->localPort()),
                                 QStringLiteral("--seed"), QStringLiteral("7"), QStringLiteral("--watchdog"),
                                 QStringLiteral("60")} + extra,
                     m_workDir->path());
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("ready:")), 5000);
        const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^udp: bound [^ ]+:(\\d+),"))
                                                  .match(m_sim->line(QStringLiteral("udp: bound")));
        QVERIFY2(match.hasMatch(), qPrintable(m_sim->lines().join(QLatin1Char('\n'))));
        m_simPort = quint16(match.captured(1).toUInt());
        QVERIFY(m_simPort != 0);
    }

    void send(const QByteArray &frame)
    {
        m_host->writeDatagram(frame, QHostAddress(QHostAddress::LocalHost), m_simPort);
    }

    QList<QByteArray> replies(uint8_t command) const
    {
        QList<QByteArray> frames;
        for (const QByteArray &datagram : m_datagrams)
            if (DeviceFrame::checkDatagram(datagram) == DeviceFrame::DatagramVerdict::Frame
                && uint8_t(datagram.at(2)) == command)
                frames << datagram;
        return frames;
    }
    QList<QByteArray> liveFrames() const { return replies(kReplyLiveData1); }

    bool anyLive(int recordOffset, int value) const
    {
        for (const QByteArray &frame : liveFrames())
            if (recordByte(frame, recordOffset) == value)
                return true;
        return false;
    }
    int lastLive(int recordOffset) const
    {
        const QList<QByteArray> frames = liveFrames();
        return frames.isEmpty() ? -1 : recordByte(frames.last(), recordOffset);
    }

    void startSessionAndReach(uint8_t speed)
    {
        send(paramFrame(kControlStart, 1, 0, speed));
        QTRY_VERIFY_WITH_TIMEOUT(anyLive(Live::kDownSpeed, speed), 5000);
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        QVERIFY2(QFileInfo::exists(QStringLiteral(TRAINER_SIM)), TRAINER_SIM);
        m_workDir = std::make_unique<TestWorkDir>();
        QVERIFY(m_workDir->isValid());
    }

    void cleanup()
    {
        m_sim.reset();
        m_host.reset();
        m_datagrams.clear();
        m_simPort = 0;
    }

    void cleanupTestCase() { m_workDir.reset(); }

    // ---- the model, driven with explicit time steps ----

    void modelSwitchesStagesInActivePassiveModes_data()
    {
        QTest::addColumn<int>("limb");
        QTest::addColumn<int>("mode");
        QTest::newRow("mode 7, upper and lower") << 2 << 7;
        QTest::newRow("mode 10, lower") << 1 << 10;
        QTest::newRow("mode 10, upper") << 0 << 10;
    }

    void modelSwitchesStagesInActivePassiveModes()
    {
        QFETCH(int, limb);
        QFETCH(int, mode);
        TrainerModel model(30.0, 1);
        model.applyParam(sessionParam(kControlStart, uint8_t(limb), uint8_t(mode)));
        QCOMPARE(model.stage(), uint8_t(0));
        advanceBy(model, 29.9);
        QCOMPARE(model.stage(), uint8_t(0));
        advanceBy(model, 0.2);
        QCOMPARE(model.stage(), uint8_t(1));
        QCOMPARE(uint8_t(model.takeRecord().at(Live::kStage)), uint8_t(1));
        advanceBy(model, 29.8);
        QCOMPARE(model.stage(), uint8_t(1));
        advanceBy(model, 0.2); // 60.1 s
        QCOMPARE(model.stage(), uint8_t(0));

        // A paused machine keeps its stage; the clock goes on after resume.
        advanceBy(model, 10.0); // 10.1 s into the passive stage
        model.applyParam(sessionParam(kControlPause, uint8_t(limb), uint8_t(mode)));
        advanceBy(model, 100.0);
        QCOMPARE(model.stage(), uint8_t(0));
        model.applyParam(sessionParam(kControlResume, uint8_t(limb), uint8_t(mode)));
        advanceBy(model, 19.8);
        QCOMPARE(model.stage(), uint8_t(0));
        advanceBy(model, 0.2);
        QCOMPARE(model.stage(), uint8_t(1));

        // A new start begins passive.
        model.applyParam(sessionParam(kControlStart, uint8_t(limb), uint8_t(mode)));
        QCOMPARE(model.stage(), uint8_t(0));
    }

    void modelStagePeriodAndFixedModes()
    {
        TrainerModel fast(5.0, 1);
        fast.applyParam(sessionParam(kControlStart, 1, 10));
        advanceBy(fast, 4.9);
        QCOMPARE(fast.stage(), uint8_t(0));
        advanceBy(fast, 0.2);
        QCOMPARE(fast.stage(), uint8_t(1));

        // Other modes report their own code and never switch.
        TrainerModel fixed(5.0, 1);
        fixed.applyParam(sessionParam(kControlStart, 1, 3));
        advanceBy(fixed, 60.0);
        QCOMPARE(fixed.stage(), uint8_t(3));
        QCOMPARE(uint8_t(fixed.takeRecord().at(Live::kStage)), uint8_t(3));
    }

    void modelAnglesDistanceAndPower()
    {
        TrainerModel model(30.0, 1);
        model.applyParam(sessionParam(kControlStart, 1, 0, 10));
        // 20 r/min per second: 1 r/min more per 50 ms step until the set speed.
        model.advance(0.05);
        QCOMPARE(model.reportedLowerSpeed(), uint8_t(1));
        advanceBy(model, 0.95);
        QCOMPARE(model.reportedLowerSpeed(), uint8_t(10));
        QCOMPARE(model.reportedUpperSpeed(), uint8_t(0));
        // Ramp 1..10 r/min over ten steps: 55 x 0.3 deg; then ten steps at 10 r/min: 10 x 3 deg.
        QCOMPARE(model.footAngle(), uint16_t(46)); // 16.5 + 30 = 46.5
        QCOMPARE(model.handAngle(), uint16_t(46)); // the hand follows the only crank in use

        // 10 r/min = 60 deg/s: a third of a second turns the crank by 20 deg.
        advanceBy(model, 1.0 / 3.0, 1.0 / 3.0);
        QCOMPARE(model.footAngle(), uint16_t(66));
        // Six seconds at 10 r/min are one revolution: the angle comes round, the count goes up.
        QCOMPARE(model.lowerDistanceCount(), uint16_t(0));
        advanceBy(model, 6.0);
        QCOMPARE(model.footAngle(), uint16_t(66));
        QCOMPARE(model.lowerDistanceCount(), uint16_t(1));
        QCOMPARE(model.upperDistanceCount(), uint16_t(0));

        // Backward: the angle runs the other way and wraps below 0.
        QVERIFY(model.applyRealTime(kItemDirection, 0));
        advanceBy(model, 1.0 / 3.0, 1.0 / 3.0);
        QCOMPARE(model.footAngle(), uint16_t(46));
        advanceBy(model, 1.0, 1.0 / 3.0); // 60 deg back: 346.5
        QCOMPARE(model.footAngle(), uint16_t(346));

        const QByteArray record = model.takeRecord();
        QCOMPARE(record.size(), kLiveRecordSize);
        QCOMPARE(uint8_t(record.at(Live::kDownSpeed)), uint8_t(10));
        QCOMPARE(uint8_t(record.at(Live::kUpSpeed)), uint8_t(0));
        QCOMPARE(recordWord(record, Live::kLeftFootAngle), uint16_t(346));
        QCOMPARE(recordWord(record, Live::kLeftHandAngle), uint16_t(346));
        QCOMPARE(recordWord(record, Live::kDownDistance), model.lowerDistanceCount());
        // 0.2 W per r/min and resistance level: 10 r/min at level 5.
        QCOMPARE(recordWord(record, Live::kDownPower), uint16_t(10));
        QCOMPARE(recordWord(record, Live::kUpPower), uint16_t(0));
        const int lowerBalance = int8_t(record.at(Live::kDownBalance));
        QVERIFY2(lowerBalance >= 40 && lowerBalance <= 60, qPrintable(QString::number(lowerBalance)));
        QCOMPARE(int8_t(record.at(Live::kUpBalance)), int8_t(50));
    }

    void modelControlCodesAndItems()
    {
        TrainerModel model(30.0, 1);
        QVERIFY(!model.isStreaming());
        model.applyParam(sessionParam(kControlStart, 2, 4, 10));
        QVERIFY(model.isStreaming());
        advanceBy(model, 1.0);
        QCOMPARE(model.reportedUpperSpeed(), uint8_t(10));
        QCOMPARE(model.reportedLowerSpeed(), uint8_t(10));

        model.applyParam(sessionParam(kControlPause, 2, 4, 10));
        advanceBy(model, 1.0);
        QCOMPARE(model.runState(), TrainerModel::RunState::Paused);
        QVERIFY(model.isStreaming());
        QCOMPARE(model.reportedLowerSpeed(), uint8_t(0));

        model.applyParam(sessionParam(kControlResume, 2, 4, 10));
        advanceBy(model, 0.1);
        QCOMPARE(model.reportedLowerSpeed(), uint8_t(2));

        QVERIFY(model.applyRealTime(kItemSpeedStep, 1));
        QCOMPARE(model.param().trainSpeed, uint8_t(11));
        QVERIFY(model.applyRealTime(kItemSpeedStep, 2));
        QVERIFY(model.applyRealTime(kItemSpeedStep, 2));
        QCOMPARE(model.param().trainSpeed, uint8_t(9));
        QVERIFY(model.applyRealTime(kItemSpeed, 20));
        QVERIFY(model.applyRealTime(kItemResistance, 7));
        QVERIFY(!model.applyRealTime(kItemBoarding, 1));
        advanceBy(model, 2.0);
        QCOMPARE(model.reportedUpperSpeed(), uint8_t(20));
        QCOMPARE(model.upperPower(), uint16_t(28));

        model.applyParam(sessionParam(kControlStop, 2, 4, 10));
        QVERIFY(!model.isStreaming());
        QCOMPARE(model.reportedLowerSpeed(), uint8_t(0));
    }

    void modelFaults()
    {
        TrainerModel model(30.0, 1);
        model.applyParam(sessionParam(kControlStop, 1));

        // Over-speed streams even without a session, then one second of all-clear records.
        model.startOverspeed(2.0);
        QVERIFY(model.isStreaming());
        QCOMPARE(model.reportedLowerSpeed(), TrainerModel::kOverspeedRpm);
        advanceBy(model, 2.1);
        QCOMPARE(model.reportedLowerSpeed(), uint8_t(0));
        QVERIFY(model.isStreaming());
        advanceBy(model, 1.1);
        QVERIFY(!model.isStreaming());

        // The emergency stop ends a session and is reported until released.
        model.applyParam(sessionParam(kControlStart, 1));
        advanceBy(model, 1.0);
        model.pressEmergency();
        QCOMPARE(model.runState(), TrainerModel::RunState::Stopped);
        QVERIFY(model.isStreaming());
        QCOMPARE(uint8_t(model.takeRecord().at(Live::kEmergency)), uint8_t(1));
        advanceBy(model, 1.0);
        QCOMPARE(model.reportedLowerSpeed(), uint8_t(0));
        model.releaseEmergency();
        QCOMPARE(uint8_t(model.takeRecord().at(Live::kEmergency)), uint8_t(0));
        advanceBy(model, 1.1);
        QVERIFY(!model.isStreaming());

        // A spasm is reported in exactly one record.
        model.triggerSpasm();
        QCOMPARE(uint8_t(model.takeRecord().at(Live::kSpasm)), uint8_t(1));
        QCOMPARE(uint8_t(model.takeRecord().at(Live::kSpasm)), uint8_t(0));

        // Catches a motor that keeps turning when the host's heartbeats stop for 3 s.
        model.applyParam(sessionParam(kControlStart, 1));
        advanceBy(model, 2.0, 0.05, false);
        model.heartBeat();
        advanceBy(model, 2.9, 0.05, false);
        QCOMPARE(model.runState(), TrainerModel::RunState::Running);
        QCOMPARE(model.reportedLowerSpeed(), uint8_t(10));
        advanceBy(model, 0.2, 0.05, false);
        QCOMPARE(model.runState(), TrainerModel::RunState::Stopped);
        QCOMPARE(model.reportedLowerSpeed(), uint8_t(0));
        QVERIFY(model.hostLost());
        QCOMPARE(model.watchdogStops(), 1);
        model.heartBeat();
        QVERIFY(!model.hostLost());
    }

    void decoderDescribesHostFrames()
    {
        const HostCommand start = HostCommandDecoder::decode(paramFrame(kControlStart, 1, 0, 10));
        QCOMPARE(start.kind, HostCommand::Kind::BicycleParam);
        QCOMPARE(start.param.trainLimp, uint8_t(1));
        QCOMPARE(start.param.trainSpeed, uint8_t(10));
        QCOMPARE(start.param.trainResistance, uint8_t(5));
        QCOMPARE(HostCommandDecoder::describe(start),
                 QStringLiteral("rx start limb=1 mode=0 speed=10 resistance=5 direction=forward spasm=on/1 torque=0"));
        QVERIFY(HostCommandDecoder::describe(HostCommandDecoder::decode(paramFrame(kControlPause)))
                    .startsWith(QStringLiteral("rx pause limb=1")));
        QCOMPARE(HostCommandDecoder::describe(HostCommandDecoder::decode(
                     DeviceFrame::wrap(DeviceFrame::heartBeatPayload()))),
                 QStringLiteral("rx heartbeat"));
        QCOMPARE(HostCommandDecoder::describe(HostCommandDecoder::decode(
                     DeviceFrame::wrap(DeviceFrame::versionQueryPayload()))),
                 QStringLiteral("rx version?"));
        QCOMPARE(HostCommandDecoder::describe(HostCommandDecoder::decode(realTimeFrame(kItemSpeed, 12))),
                 QStringLiteral("rx realtime speed=12"));
        QCOMPARE(HostCommandDecoder::describe(HostCommandDecoder::decode(realTimeFrame(kItemSpeedStep, 1))),
                 QStringLiteral("rx realtime speed-step=up"));
        QCOMPARE(HostCommandDecoder::describe(HostCommandDecoder::decode(realTimeFrame(kItemDirection, 0))),
                 QStringLiteral("rx realtime direction=backward"));

        QByteArray badEnd = DeviceFrame::wrap(DeviceFrame::heartBeatPayload());
        badEnd[badEnd.size() - 1] = char(0xCC);
        const HostCommand broken = HostCommandDecoder::decode(badEnd);
        QCOMPARE(broken.kind, HostCommand::Kind::Invalid);
        QVERIFY(HostCommandDecoder::describe(broken).startsWith(QStringLiteral("rx invalid frame")));
    }

    void machineFramesPassTheHostChecks()
    {
        const QByteArray live = MachineFrame::datagram(MachineFrame::liveDataPayload(QByteArray(kLiveRecordSize, '\1')));
        QCOMPARE(live.size(), 2 + 1 + kLiveRecordSize + 6);
        QCOMPARE(DeviceFrame::checkDatagram(live), DeviceFrame::DatagramVerdict::Frame);
        QCOMPARE(uint8_t(live.at(2)), kReplyLiveData1);

        const QByteArray heartBeat = MachineFrame::streamFrame(MachineFrame::heartBeatReplyPayload());
        QCOMPARE(heartBeat, kHeartBeatReplyStream);
        StreamFrameCutter cutter(kStreamStart, kStreamEnd);
        QCOMPARE(cutter.feed(QByteArray::fromHex("0011") + heartBeat), QList<QByteArray>{heartBeat});

        QCOMPARE(MachineFrame::versionReplyPayload("V2"), QByteArray::fromHex("0856320000"));
    }

    // ---- the program as a process ----

    void helpListsOptionsAndCommands()
    {
        QProcess process;
        process.start(QStringLiteral(TRAINER_SIM), {QStringLiteral("--help")});
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 0);
        const QString help = QString::fromUtf8(process.readAllStandardOutput());
        for (const char *word : {"--udp-bind", "--udp-peer", "--serial", "--link", "--tcp", "--rate",
                                 "--stage-period", "--watchdog", "--version", "--seed", "--verbose", "spasm", "estop",
                                 "release", "overspeed", "silence", "garbage", "burst", "status", "quit"})
            QVERIFY2(help.contains(QLatin1String(word)), word);
    }

    void udpHeartbeatAndVersion()
    {
        startUdpSim();
        if (QTest::currentTestFailed())
            return;
        send(DeviceFrame::wrap(DeviceFrame::heartBeatPayload()));
        QTRY_COMPARE_WITH_TIMEOUT(replies(kReplyHeartBeat).size(), 1, 3000);
        QCOMPARE(replies(kReplyHeartBeat).first(), QByteArray::fromHex("AB0402000000000000000000"));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("rx heartbeat")), 3000);

        send(DeviceFrame::wrap(DeviceFrame::versionQueryPayload()));
        QTRY_COMPARE_WITH_TIMEOUT(replies(kReplyVersion).size(), 1, 3000);
        QCOMPARE(replies(kReplyVersion).first().mid(3, 4), QByteArray("V2.1"));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("rx version?")), 3000);
        QVERIFY(liveFrames().isEmpty());
    }

    void udpStartStreamsRisingSpeed()
    {
        startUdpSim();
        if (QTest::currentTestFailed())
            return;
        startSessionAndReach(10);
        QVERIFY(m_sim->hasLine(QStringLiteral("rx start limb=1 mode=0 speed=10 resistance=5 direction=forward")));

        int previous = 0;
        bool between = false;
        for (const QByteArray &frame : liveFrames()) {
            QVERIFY(frame.size() >= kLiveFrameSize);
            const int speed = recordByte(frame, Live::kDownSpeed);
            QVERIFY2(speed >= previous, "the lower crank only speeds up toward the set speed");
            between = between || (speed > 0 && speed < 10);
            previous = speed;
            QCOMPARE(recordByte(frame, Live::kUpSpeed), uint8_t(0));
        }
        QVERIFY2(between, "the speed rises in steps, not at once");
        // No line per record unless asked for.
        QCOMPARE(m_sim->countLines(QStringLiteral("tx")), 0);
    }

    void udpPauseResumeStop()
    {
        startUdpSim();
        if (QTest::currentTestFailed())
            return;
        startSessionAndReach(10);

        send(paramFrame(kControlPause));
        QTRY_COMPARE_WITH_TIMEOUT(lastLive(Live::kDownSpeed), 0, 3000);
        const int pausedCount = liveFrames().size();
        QTRY_VERIFY_WITH_TIMEOUT(liveFrames().size() > pausedCount + 3, 3000); // a paused machine still reports
        QCOMPARE(lastLive(Live::kDownSpeed), 0);

        m_datagrams.clear();
        send(paramFrame(kControlResume));
        QTRY_VERIFY_WITH_TIMEOUT(anyLive(Live::kDownSpeed, 10), 3000);
        QVERIFY(anyLive(Live::kDownSpeed, 5));

        send(paramFrame(kControlStop));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("rx stop")), 3000);
        QTest::qWait(150);
        m_datagrams.clear();
        QTest::qWait(400);
        QCOMPARE(liveFrames().size(), 0);
    }

    void udpSpeedItemsChangeTheTarget()
    {
        startUdpSim();
        if (QTest::currentTestFailed())
            return;
        startSessionAndReach(10);
        send(realTimeFrame(kItemSpeed, 20));
        QTRY_VERIFY_WITH_TIMEOUT(anyLive(Live::kDownSpeed, 20), 3000);
        QVERIFY(m_sim->hasLine(QStringLiteral("rx realtime speed=20")));
        send(realTimeFrame(kItemSpeedStep, 2));
        QTRY_COMPARE_WITH_TIMEOUT(lastLive(Live::kDownSpeed), 19, 3000);
        QVERIFY(m_sim->hasLine(QStringLiteral("rx realtime speed-step=down")));
    }

    void udpFaultsFromStandardInput()
    {
        startUdpSim();
        if (QTest::currentTestFailed())
            return;
        startSessionAndReach(10);

        m_sim->type(QStringLiteral("spasm"));
        QTRY_VERIFY_WITH_TIMEOUT(anyLive(Live::kSpasm, 1), 3000);
        QVERIFY(m_sim->hasLine(QStringLiteral("fault spasm")));
        QTest::qWait(200);
        int spasms = 0;
        for (const QByteArray &frame : liveFrames())
            spasms += recordByte(frame, Live::kSpasm);
        QCOMPARE(spasms, 1);

        m_sim->type(QStringLiteral("estop"));
        QTRY_VERIFY_WITH_TIMEOUT(anyLive(Live::kEmergency, 1), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(lastLive(Live::kDownSpeed), 0, 3000);
        QCOMPARE(lastLive(Live::kEmergency), 1);
        m_sim->type(QStringLiteral("release"));
        QTRY_COMPARE_WITH_TIMEOUT(lastLive(Live::kEmergency), 0, 3000);

        m_sim->type(QStringLiteral("nonsense"));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("unknown command 'nonsense'")), 3000);
    }

    // The simulator as a process: heartbeats stop, the motor stops and says so; heartbeats come
    // back and are answered.
    void udpWatchdogStopsTheMotorWhenHeartbeatsStop()
    {
        startUdpSim({QStringLiteral("--watchdog"), QStringLiteral("1")});
        if (QTest::currentTestFailed())
            return;
        startSessionAndReach(10);
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("watchdog: no heartbeat for 1 s, motor stopped")), 3000);
        QTest::qWait(100);
        m_datagrams.clear();
        QTest::qWait(300);
        QVERIFY(liveFrames().isEmpty()); // stopped, nothing streams
        m_sim->type(QStringLiteral("status"));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("status:")), 3000);
        QVERIFY(m_sim->line(QStringLiteral("status:")).contains(QStringLiteral("state=stopped")));
        QVERIFY(m_sim->line(QStringLiteral("status:")).contains(QStringLiteral("lower=0 ")));

        send(DeviceFrame::wrap(DeviceFrame::heartBeatPayload()));
        QTRY_COMPARE_WITH_TIMEOUT(replies(kReplyHeartBeat).size(), 1, 3000);
        QVERIFY(m_sim->hasLine(QStringLiteral("watchdog: heartbeats back")));
    }

    void udpKeepsRunningAfterEndOfInputAndExitsOnTerm()
    {
        startUdpSim();
        if (QTest::currentTestFailed())
            return;
        m_sim->process().closeWriteChannel();
        QTest::qWait(200);
        QCOMPARE(m_sim->process().state(), QProcess::Running);
        send(DeviceFrame::wrap(DeviceFrame::heartBeatPayload()));
        QTRY_COMPARE_WITH_TIMEOUT(replies(kReplyHeartBeat).size(), 1, 3000);

        m_sim->process().terminate();
        QVERIFY(m_sim->process().waitForFinished(3000));
        QCOMPARE(m_sim->process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_sim->process().exitCode(), 0);
    }

    void udpAddressesFromConfigFile()
    {
        TestWorkDir dir;
        QVERIFY(dir.isValid());
        quint16 simPort = 0;
        {
            QUdpSocket probe; // a port that is free right now
            QVERIFY(probe.bind(QHostAddress(QHostAddress::LocalHost), 0));
            simPort = probe.localPort();
        }
        m_host = std::make_unique<QUdpSocket>();
        QVERIFY(m_host->bind(QHostAddress(QHostAddress::LocalHost), 0));
        QObject::connect(m_host.get(), &QUdpSocket::readyRead, m_host.get(), [this] {
            while (m_host->hasPendingDatagrams())
                m_datagrams << m_host->receiveDatagram().data();
        });
        const QString config = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config><network>"
            "<udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/><udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/>"
            "</network></config>\n").arg(m_host->localPort()).arg(simPort);
        QVERIFY(dir.write(QStringLiteral("DependFile/ConfigFile/config.xml"), config.toUtf8()));

        m_sim = std::make_unique<SimProcess>(kTrainerSim);
        m_sim->start({}, dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("ready:")), 5000);
        QCOMPARE(m_sim->line(QStringLiteral("udp: bound")),
                 QStringLiteral("udp: bound 127.0.0.1:%1, sending to 127.0.0.1:%2").arg(simPort).arg(m_host->localPort()));
        m_simPort = simPort;
        send(DeviceFrame::wrap(DeviceFrame::heartBeatPayload()));
        QTRY_COMPARE_WITH_TIMEOUT(replies(kReplyHeartBeat).size(), 1, 3000);
    }

    void serialHeartbeatOverPty()
    {
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/rotaflex-sim-XXXXXX"));
        QVERIFY(dir.isValid());
        const QString linkPath = dir.filePath(QStringLiteral("trainer-tty"));
        m_sim = std::make_unique<SimProcess>(kTrainerSim);
        m_sim->start({QStringLiteral("--serial"), QStringLiteral("--link"), linkPath}, m_workDir->path());
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("ready:")), 5000);
        const QString ptyPath = m_sim->line(QStringLiteral("pty: ")).mid(5);
        QVERIFY(ptyPath.startsWith(QStringLiteral("/dev/")));
        QCOMPARE(QFileInfo(linkPath).symLinkTarget(), ptyPath);

        // Opened by hand rather than with QSerialPort, which would leave a lock file under /var/lock.
        const int fd = ::open(QFile::encodeName(linkPath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        termios tio{};
        QCOMPARE(::tcgetattr(fd, &tio), 0);
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B115200);
        QCOMPARE(::tcsetattr(fd, TCSANOW, &tio), 0);

        const QByteArray heartBeat = DeviceFrame::wrap(DeviceFrame::heartBeatPayload());
        QCOMPARE(::write(fd, heartBeat.constData(), size_t(heartBeat.size())), ssize_t(heartBeat.size()));
        StreamFrameCutter cutter(kStreamStart, kStreamEnd);
        QList<QByteArray> frames;
        const auto readFrames = [&] {
            char buffer[512];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0)
                frames += cutter.feed(QByteArray(buffer, int(n)));
            return !frames.isEmpty();
        };
        QTRY_VERIFY_WITH_TIMEOUT(readFrames(), 3000);
        QCOMPARE(frames.first(), kHeartBeatReplyStream);
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("rx heartbeat")), 3000);
        ::close(fd);

        m_sim->type(QStringLiteral("quit"));
        QVERIFY(m_sim->process().waitForFinished(3000));
        QCOMPARE(m_sim->process().exitCode(), 0);
        QVERIFY(!QFileInfo(linkPath).isSymLink());
    }

    void tcpHeartbeatAndLiveData()
    {
        m_sim = std::make_unique<SimProcess>(kTrainerSim);
        m_sim->start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}, m_workDir->path());
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("ready:")), 5000);
        const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^tcp: listening on [^ ]+:(\\d+)"))
                                                  .match(m_sim->line(QStringLiteral("tcp: listening")));
        QVERIFY(match.hasMatch());

        QTcpSocket socket;
        socket.connectToHost(QHostAddress(QHostAddress::LocalHost), quint16(match.captured(1).toUInt()));
        QVERIFY(socket.waitForConnected(3000));
        StreamFrameCutter cutter(kStreamStart, kStreamEnd);
        QList<QByteArray> frames;
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [&] { frames += cutter.feed(socket.readAll()); });

        // Catches a stray start byte with a long length holding back the host's frames.
        socket.write(QByteArray::fromHex("ABFF") + DeviceFrame::wrap(DeviceFrame::heartBeatPayload()));
        QTRY_VERIFY_WITH_TIMEOUT(!frames.isEmpty(), 3000);
        QCOMPARE(frames.first(), kHeartBeatReplyStream);

        socket.write(paramFrame(kControlStart, 0, 0, 6));
        const auto upperSpeedSeen = [&](int speed) {
            for (const QByteArray &frame : frames)
                if (uint8_t(frame.at(2)) == kReplyLiveData1 && frame.size() == kLiveFrameSize + 2
                    && recordByte(frame, Live::kUpSpeed) == speed)
                    return true;
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(upperSpeedSeen(6), 3000);
    }

    // The program's own protocol object over UDP and TCP, with the simulator as the machine.
    void programsTransportsReachTheSimulator()
    {
        TestWorkDir dir;
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress(QHostAddress::LocalHost), 0));
        const quint16 hostPort = probe.localPort();
        probe.close();

        SimProcess udpSim(kTrainerSim);
        udpSim.start({QStringLiteral("--udp-bind"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--udp-peer"),
                      QStringLiteral("127.0.0.1:%1").arg(hostPort)}, dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(udpSim.hasLine(QStringLiteral("ready:")), 5000);
        const QString udpPort = QRegularExpression(QStringLiteral("^udp: bound [^ ]+:(\\d+),"))
                                    .match(udpSim.line(QStringLiteral("udp: bound"))).captured(1);

        SimProcess tcpSim(kTrainerSim);
        tcpSim.start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--udp-bind"),
                      QStringLiteral("127.0.0.1:0")}, dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(tcpSim.hasLine(QStringLiteral("ready:")), 5000);
        const QString tcpPort = QRegularExpression(QStringLiteral("^tcp: listening on [^ ]+:(\\d+)"))
                                    .match(tcpSim.line(QStringLiteral("tcp: listening"))).captured(1);

        const QString xml = QStringLiteral("<config><udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>"
                                           "<udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/>"
                                           "<tcpAddress IP=\"127.0.0.1\" port=\"%3\"/></config>")
                                .arg(hostPort).arg(udpPort, tcpPort);
        dir.write(QStringLiteral("DependFile/ConfigFile/config.xml"), xml.toUtf8());
        QVERIFY(ConfigManager::getInstance()->readConfigFile());

        for (int type : {int(CCommunicateAPI::Udp), int(CCommunicateAPI::Tcp)}) {
            CCommunicateAPI api(type);
            QList<QByteArray> frames;
            QObject::connect(&api, &CCommunicateAPI::signalReadyRead, &api, [&frames](QByteArray f) { frames << f; });
            if (type == CCommunicateAPI::Tcp)
                QTRY_VERIFY_WITH_TIMEOUT(tcpSim.hasLine(QStringLiteral("tcp: client")), 5000);
            api.sendHeartBeat();
            api.sendBicycleParam(sessionParam(kControlStart, 1, 0, 8));
            const auto live = [&frames] {
                for (const QByteArray &frame : frames)
                    if (frame.size() > kLiveFrameSize && uint8_t(frame.at(2)) == kReplyLiveData1)
                        return true;
                return false;
            };
            QTRY_VERIFY_WITH_TIMEOUT(live(), 5000);
            QVERIFY(frames.contains(type == CCommunicateAPI::Udp ? QByteArray::fromHex("AB0402000000000000000000")
                                                                 : kHeartBeatReplyStream));
            api.sendBicycleParam(sessionParam(kControlStop));
        }
    }

    // A flooding peer: a burst of frames at full rate, with garbage datagrams in between, reaches
    // the program's UDP link whole and the link answers normally afterwards.
    void udpFloodIsTakenFrameByFrame()
    {
        TestWorkDir dir;
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress(QHostAddress::LocalHost), 0));
        const quint16 hostPort = probe.localPort();
        probe.close();
        SimProcess sim(kTrainerSim);
        sim.start({QStringLiteral("--udp-bind"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--udp-peer"),
                   QStringLiteral("127.0.0.1:%1").arg(hostPort)}, dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(sim.hasLine(QStringLiteral("ready:")), 5000);
        const QString simPort = QRegularExpression(QStringLiteral("^udp: bound [^ ]+:(\\d+),"))
                                    .match(sim.line(QStringLiteral("udp: bound"))).captured(1);
        dir.write(QStringLiteral("DependFile/ConfigFile/config.xml"),
                  QStringLiteral("<config><udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>"
                                 "<udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/></config>")
                      .arg(hostPort).arg(simPort).toUtf8());
        QVERIFY(ConfigManager::getInstance()->readConfigFile());

        CCommunicateAPI api(CCommunicateAPI::Udp);
        int live = 0;
        int heartbeats = 0;
        QObject::connect(&api, &CCommunicateAPI::signalReadyRead, &api, [&](QByteArray f) {
            QCOMPARE(DeviceFrame::checkDatagram(f), DeviceFrame::DatagramVerdict::Frame);
            live += uint8_t(f.at(2)) == kReplyLiveData1;
            heartbeats += uint8_t(f.at(2)) == kReplyHeartBeat;
        });
        sim.type(QStringLiteral("garbage 40"));
        sim.type(QStringLiteral("burst 200")); // within what the socket buffer holds
        sim.type(QStringLiteral("garbage 40"));
        QTRY_VERIFY_WITH_TIMEOUT(sim.hasLine(QStringLiteral("fault burst")), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(live, 200, 5000);
        api.sendHeartBeat();
        QTRY_COMPARE_WITH_TIMEOUT(heartbeats, 1, 3000);
    }
};

QTEST_GUILESS_MAIN(TestTrainerSim)
#include "tst_trainersim.moc"
