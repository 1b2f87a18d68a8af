#include "comm/deviceprotocol.h"
#include "common/testworkdir.h"
#include "fes/fesframe.h"
#include "training/livedatadecoder.h"
#include "training/overspeedwatch.h"
#include "training/samplingcounter.h"
#include "training/spasmseries.h"
#include "training/stagenotice.h"

#include <QtTest>

using namespace DeviceProtocol;

namespace {

using Bytes = QList<QPair<int, int>>; // record offset, byte value

// A serial live-data frame: BA 20 01, the 31-byte record, 00 DC.
QByteArray liveFrame(const Bytes &bytes)
{
    QByteArray record(kLiveRecordSize, '\0');
    for (const auto &byte : bytes)
        record[byte.first] = char(byte.second);
    return QByteArray::fromHex("BA2001") + record + QByteArray::fromHex("00DC");
}

// Every value of a live-data record the page shows or uses, on one line.
QString summary(const LiveRecord &r)
{
    const ST_GameLiveData game = LiveDataDecoder::gameLiveData(r);
    const auto pair = [](bool shown, int speed, int power) {
        return shown ? QStringLiteral("%1/%2").arg(speed).arg(power) : QStringLiteral("-");
    };
    return QStringLiteral("up=%1 down=%2 cur=%3 len=%4 bal=%5 stage=%6 m=%7/%8 ang=%9/%10 "
                          "emg=%11 spasm=%12 game=%13:%14/%15/%16/%17 fast=%18/%19 sample=%20/%21")
        .arg(pair(r.upShown, r.upSpeed, r.upPower), pair(r.downShown, r.downSpeed, r.downPower))
        .arg(r.currentSpeed)
        .arg(r.lengthText,
             r.balanceShown ? QStringLiteral("%1/%2").arg(r.balanceLeft).arg(r.balanceRight) : QStringLiteral("-"))
        .arg(r.stage)
        .arg(r.upLength)
        .arg(r.downLength)
        .arg(r.leftHandAngle)
        .arg(r.leftFootAngle)
        .arg(int(r.emergency))
        .arg(int(r.spasm))
        .arg(r.gameSpeedValue)
        .arg(double(game.speed))
        .arg(game.left)
        .arg(game.right)
        .arg(game.angle)
        .arg(r.fastest)
        .arg(r.rawFastest)
        .arg(r.balanceSampleUp)
        .arg(r.balanceSampleDown);
}

} // namespace

// The decoding of the lower machine's frames and the counters the training page keeps on them.
class TestLiveData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void frameKinds_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("version");
        const auto row = [](const char *name, const char *hex, LiveRecord::Kind kind, const QString &version = {}) {
            QTest::newRow(name) << QByteArray::fromHex(hex) << int(kind) << version;
        };
        row("empty", "", LiveRecord::Kind::Ignored);
        row("two bytes", "BA04", LiveRecord::Kind::Ignored);
        row("heartbeat reply", "BA0402000000 00DC", LiveRecord::Kind::HeartBeatReply);
        row("version ends at the zero byte", "BA0508312E320000 00DC", LiveRecord::Kind::Version, "1.2");
        row("version of four bytes", "BA0508 56312E33 00DC", LiveRecord::Kind::Version, "V1.3");
        // Catches reading the version past the end of a cut frame.
        row("version cut short", "BA050841", LiveRecord::Kind::Version, "A");
        row("version in UTF-8", "BA0508 E78988 00 00DC", LiveRecord::Kind::Version, QStringLiteral("版"));
        row("command 03", "BA0403000000 00DC", LiveRecord::Kind::Ignored);
        row("command 09", "BA0409000000 00DC", LiveRecord::Kind::Ignored);
        row("command 7F", "BA047F000000 00DC", LiveRecord::Kind::Ignored);
        // Catches a signed command byte falling into the live-data range.
        row("command 80", "BA0480000000 00DC", LiveRecord::Kind::Ignored);
        row("command FF", "BA04FF000000 00DC", LiveRecord::Kind::Ignored);
        row("live 00 of three bytes", "BA2000", LiveRecord::Kind::LiveData);
        row("live 01", "BA2001", LiveRecord::Kind::LiveData);
        // Catches the length byte trusted over the frame's real size.
        row("length byte that lies", "BAFF01 0000", LiveRecord::Kind::LiveData);
    }

    void frameKinds()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, kind);
        QFETCH(QString, version);
        for (uint8_t limb = 0; limb <= 3; ++limb) {
            const LiveRecord record = LiveDataDecoder::decode(frame, limb, false);
            QCOMPARE(int(record.kind), kind);
            QCOMPARE(record.version, version);
        }
    }

    void liveValues_data()
    {
        QTest::addColumn<int>("limb");
        QTest::addColumn<bool>("spasmPromptOpen");
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<QString>("expected");
        using L = Bytes;
        // Catches the shown speed passing 100 while the watch still sees it as fast.
        QTest::newRow("upper R3 120 shows 100") << 0 << false << L{{3, 120}, {23, 45}}
            << "up=100/45 down=- cur=100 len=0.0m bal=0/100 stage=0 m=0/0 ang=0/0 emg=0 spasm=0 "
               "game=100:30/0/100/0 fast=100/120 sample=0/0";
        // Catches balance shares swapped for the upper limb.
        QTest::newRow("upper R12 30 is 30% and 70%") << 0 << false << L{{3, 20}, {12, 30}}
            << "up=20/0 down=- cur=20 len=0.0m bal=30/70 stage=0 m=0/0 ang=0/0 emg=0 spasm=0 "
               "game=20:6/30/70/0 fast=20/20 sample=30/0";
        // Catches balance shares swapped for the lower limb.
        QTest::newRow("lower R13 30 is 70% and 30%") << 1 << false << L{{2, 20}, {13, 30}}
            << "up=- down=20/0 cur=20 len=0.0m bal=70/30 stage=0 m=0/0 ang=0/0 emg=0 spasm=0 "
               "game=20:6/70/30/0 fast=20/20 sample=0/30";
        // Catches the distance factor or its one decimal.
        QTest::newRow("R14 100 shows 60.0m") << 0 << false << L{{14, 100}, {16, 7}}
            << "up=0/0 down=- cur=0 len=60.0m bal=0/100 stage=0 m=60/4.2 ang=0/0 emg=0 spasm=0 "
               "game=0:0/0/100/0 fast=0/0 sample=0/0";
        // Catches the lower limb showing the upper distance, or a wrong byte order of the count.
        QTest::newRow("lower distance from R16, little-endian") << 1 << false << L{{14, 100}, {16, 0x10}, {17, 0x01}}
            << "up=- down=0/0 cur=0 len=163.2m bal=100/0 stage=0 m=60/163.2 ang=0/0 emg=0 spasm=0 "
               "game=0:0/100/0/0 fast=0/0 sample=0/0";
        // Catches the balance labels filled for the vertical upper limb.
        QTest::newRow("vertical upper hides balance") << 3 << false << L{{3, 40}, {12, 30}}
            << "up=40/0 down=- cur=40 len=0.0m bal=- stage=0 m=0/0 ang=0/0 emg=0 spasm=0 "
               "game=40:12/30/70/0 fast=40/40 sample=30/0";
        // Catches limb 2 taking the lower balance while the upper limb is at least as fast.
        QTest::newRow("both limbs, upper faster") << 2 << false << L{{3, 30}, {2, 20}, {12, 40}, {13, 45}, {23, 9}, {25, 8}}
            << "up=30/9 down=20/8 cur=100 len=0.0m bal=40/60 stage=0 m=0/0 ang=0/0 emg=0 spasm=0 "
               "game=30:9/40/60/0 fast=30/30 sample=40/45";
        // Catches equal speeds taking the lower limb's balance.
        QTest::newRow("both limbs, same speed") << 2 << false << L{{3, 25}, {2, 25}, {12, 40}, {13, 45}}
            << "up=25/0 down=25/0 cur=100 len=0.0m bal=40/60 stage=0 m=0/0 ang=0/0 emg=0 spasm=0 "
               "game=25:7.5/40/60/0 fast=25/25 sample=40/45";
        QTest::newRow("both limbs, lower faster") << 2 << false << L{{3, 20}, {2, 30}, {12, 40}, {13, 45}}
            << "up=20/0 down=30/0 cur=100 len=0.0m bal=55/45 stage=0 m=0/0 ang=0/0 emg=0 spasm=0 "
               "game=30:9/55/45/0 fast=30/30 sample=40/45";
        // Catches the lower limb's speed and power shown while the spasm prompt holds it.
        QTest::newRow("both limbs, spasm prompt open") << 2 << true << L{{3, 10}, {2, 80}, {25, 50}, {13, 45}}
            << "up=10/0 down=0/0 cur=100 len=0.0m bal=0/100 stage=0 m=0/0 ang=0/0 emg=0 spasm=0 "
               "game=10:3/0/100/0 fast=10/80 sample=0/45";
        // Catches unsigned reading of the balance bytes.
        QTest::newRow("signed balance") << 0 << false << L{{12, 0xF6}, {13, 0x80}}
            << "up=0/0 down=- cur=0 len=0.0m bal=-10/110 stage=0 m=0/0 ang=0/0 emg=0 spasm=0 "
               "game=0:0/-10/110/0 fast=0/0 sample=-10/-128";
        // Catches angles and powers read as single bytes or big-endian.
        QTest::newRow("16-bit fields") << 0 << false
            << L{{0, 10}, {4, 0x7B}, {5, 0x01}, {6, 0x2F}, {7, 0x01}, {23, 0x02}, {24, 0x01}}
            << "up=0/258 down=- cur=0 len=0.0m bal=0/100 stage=10 m=0/0 ang=379/303 emg=0 spasm=0 "
               "game=0:0/0/100/379 fast=0/0 sample=0/0";
        // Catches bytes above 127 read as negative numbers.
        QTest::newRow("bytes above 127") << 1 << false << L{{2, 200}, {6, 0xFF}, {7, 0xFF}, {25, 0x80}, {26, 0x80}}
            << "up=- down=100/32896 cur=100 len=0.0m bal=100/0 stage=0 m=0/0 ang=0/65535 emg=0 spasm=0 "
               "game=100:30/100/0/0 fast=100/200 sample=0/0";
        // Catches any value but 1 taken as an emergency or a spasm.
        QTest::newRow("flags are 1 only") << 1 << false << L{{18, 2}, {19, 255}}
            << "up=- down=0/0 cur=0 len=0.0m bal=100/0 stage=0 m=0/0 ang=0/0 emg=0 spasm=0 "
               "game=0:0/100/0/0 fast=0/0 sample=0/0";
        QTest::newRow("emergency and spasm") << 1 << false << L{{18, 1}, {19, 1}}
            << "up=- down=0/0 cur=0 len=0.0m bal=100/0 stage=0 m=0/0 ang=0/0 emg=1 spasm=1 "
               "game=0:0/100/0/0 fast=0/0 sample=0/0";
        // Catches an unknown limb showing values it does not have.
        QTest::newRow("unknown limb shows nothing") << 7 << false << L{{2, 120}, {3, 5}, {14, 100}}
            << "up=- down=- cur=0 len= bal=- stage=0 m=60/0 ang=0/0 emg=0 spasm=0 "
               "game=0:0/0/0/0 fast=120/120 sample=0/0";
    }

    void liveValues()
    {
        QFETCH(int, limb);
        QFETCH(bool, spasmPromptOpen);
        QFETCH(Bytes, bytes);
        QFETCH(QString, expected);
        const LiveRecord record = LiveDataDecoder::decode(liveFrame(bytes), uint8_t(limb), spasmPromptOpen);
        QCOMPARE(int(record.kind), int(LiveRecord::Kind::LiveData));
        QCOMPARE(summary(record), expected);
    }

    void gameSpeed_data()
    {
        QTest::addColumn<int>("speedValue");
        QTest::addColumn<float>("speed");
        QTest::newRow("0 stays 0") << 0 << 0.0f;
        // Catches a slow game speed sent below what the game can show.
        QTest::newRow("1 is raised to 1.1") << 1 << 1.1f;
        QTest::newRow("3 gives 0.9, raised to 1.1") << 3 << 1.1f;
        QTest::newRow("4 gives 1.2") << 4 << 1.2f;
        QTest::newRow("10 gives 3.0") << 10 << 3.0f;
        QTest::newRow("100 gives 30") << 100 << 30.0f;
    }

    void gameSpeed()
    {
        QFETCH(int, speedValue);
        QFETCH(float, speed);
        QCOMPARE(LiveDataDecoder::gameSpeed(speedValue), speed);
    }

    // Every cut of a frame decodes as the whole frame with the missing bytes 0, and only frames
    // of 30 bytes or more are checked for the emergency while the page is not running.
    void cutFramesReadMissingBytesAsZero()
    {
        QByteArray full = liveFrame({});
        for (int i = 3; i < full.size(); ++i)
            full[i] = char(0x41 + i); // distinct non-zero bytes everywhere
        full[3 + Live::kEmergency] = 1;
        full[3 + Live::kSpasm] = 1;
        for (int length = 0; length <= full.size(); ++length) {
            QByteArray padded = full;
            for (int i = length; i < padded.size(); ++i)
                padded[i] = 0;
            for (uint8_t limb = 0; limb <= 3; ++limb) {
                for (bool spasmOpen : {false, true}) {
                    const LiveRecord cut = LiveDataDecoder::decode(full.left(length), limb, spasmOpen);
                    QCOMPARE(int(cut.kind), int(length <= 2 ? LiveRecord::Kind::Ignored : LiveRecord::Kind::LiveData));
                    if (length <= 2)
                        continue;
                    const LiveRecord whole = LiveDataDecoder::decode(padded, limb, spasmOpen);
                    QCOMPARE(summary(cut), summary(whole));
                    QCOMPARE(cut.motionBlock, whole.motionBlock);
                    // Catches the emergency check of a page not running taking shorter frames.
                    QCOMPARE(cut.emergencyCheckable, length >= LiveDataDecoder::kEmergencyCheckMinFrame);
                    QCOMPARE(cut.emergency, length > 3 + Live::kEmergency);
                }
            }
        }
    }

    // The motion block reaches the FES boxes as record bytes 3, 2, 5, 4, 7, 6, 1.
    void motionBlockInTheOrderOfTheFesLink()
    {
        const QByteArray frame = liveFrame({{1, 0x11}, {2, 0x22}, {3, 0x33}, {4, 0x44}, {5, 0x55}, {6, 0x66}, {7, 0x77}});
        const LiveRecord record = LiveDataDecoder::decode(frame, 2, false);
        QCOMPARE(record.motionBlock.size(), LiveDataDecoder::kMotionBlockSize);
        // Catches the block reordered twice, once here and once by the FES link.
        QCOMPARE(FesFrame::motionPayload(3, record.motionBlock), QByteArray::fromHex("800300 3322 5544 7766 11"));
    }

    // The built-in frame fed at start leaves the watch at rest, with the prompt closed.
    void builtInFrameLeavesTheWatchAtRest()
    {
        QCOMPARE(LiveDataDecoder::builtInFrame(), QByteArray::fromHex("AB040107100001CD"));
        OverSpeedWatch watch;
        for (int i = 0; i < 30; ++i)
            watch.feed(100, false);
        QCOMPARE(watch.count(), 30);
        for (int i = 0; i < LiveDataDecoder::kBuiltInFrameRepeats; ++i) {
            const LiveRecord record = LiveDataDecoder::decode(LiveDataDecoder::builtInFrame(), 0, false);
            QVERIFY(!record.emergencyCheckable);
            QCOMPARE(record.rawFastest, 1);
            QCOMPARE(watch.feed(record.rawFastest, true), OverSpeedWatch::Action::ClosePrompt);
        }
        QCOMPARE(watch.count(), 0);
    }

    void overSpeedWatch_data()
    {
        QTest::addColumn<QList<int>>("speeds");
        QTest::addColumn<bool>("promptOpen");
        QTest::addColumn<QList<int>>("opensAt"); // 1-based record numbers
        QTest::addColumn<int>("count");
        const auto times = [](int speed, int n) { return QVector<int>(n, speed).toList(); };
        QTest::newRow("40 fast records do not open") << times(100, 40) << false << QList<int>{} << 40;
        // Catches the prompt opening one record early or late.
        QTest::newRow("41 fast records open") << times(100, 41) << false << QList<int>{41} << 0;
        // Catches the count not restarting after the prompt opens.
        QTest::newRow("the count restarts after opening") << times(120, 82) << false << QList<int>{41, 82} << 0;
        QTest::newRow("99 is not fast") << times(99, 100) << false << QList<int>{} << 0;
        // Catches a slow record only pausing the count instead of restarting it.
        QTest::newRow("a slow record restarts the count") << times(100, 40) + QList<int>{0} + times(100, 41)
                                                           << false << QList<int>{82} << 0;
        // Catches a second prompt over an open one.
        QTest::newRow("no second prompt while open") << times(255, 500) << true << QList<int>{} << 41;
    }

    void overSpeedWatch()
    {
        QFETCH(QList<int>, speeds);
        QFETCH(bool, promptOpen);
        QFETCH(QList<int>, opensAt);
        QFETCH(int, count);
        OverSpeedWatch watch;
        QList<int> opened;
        for (int i = 0; i < speeds.size(); ++i) {
            const OverSpeedWatch::Action action = watch.feed(speeds.at(i), promptOpen);
            if (action == OverSpeedWatch::Action::OpenPrompt)
                opened << i + 1;
            // Catches a slow record that leaves the prompt open.
            QCOMPARE(action == OverSpeedWatch::Action::ClosePrompt, speeds.at(i) < OverSpeedWatch::kTopSpeed);
        }
        QCOMPARE(opened, opensAt);
        QCOMPARE(watch.count(), count);
        watch.reset();
        QCOMPARE(watch.count(), 0);
    }

    void stageNotices_data()
    {
        QTest::addColumn<QList<int>>("stages");
        QTest::addColumn<bool>("resetBefore");
        QTest::addColumn<QStringList>("notices"); // "now>later" per notice shown
        // Catches a notice for the stage the page starts from.
        QTest::newRow("stage 1 after show is no notice") << QList<int>{1, 1} << false << QStringList{};
        // Catches the first notice saying "switching" and repeats shown again.
        QTest::newRow("first notice, then switches")
            << QList<int>{0, 0, 1, 1, 10, 9, 7, 5}
            << false
            << QStringList{"被动>被动", "模式切换中>主动", "模式切换中>主被动", "模式切换中>主动", "模式切换中>主被动", "模式切换中>"};
        QTest::newRow("showing the page starts over") << QList<int>{10, 0} << true << QStringList{"被动>主被动", "模式切换中>被动"};
    }

    void stageNotices()
    {
        QFETCH(QList<int>, stages);
        QFETCH(bool, resetBefore);
        QFETCH(QStringList, notices);
        StageNotice notice;
        if (resetBefore) {
            notice.feed(0);
            notice.feed(9);
            notice.reset();
        }
        QStringList shown;
        for (int stage : stages) {
            const StageNotice::Notice n = notice.feed(uint8_t(stage));
            if (n.show)
                shown << n.now + QLatin1Char('>') + n.later;
        }
        QCOMPARE(shown, notices);
        QCOMPARE(notice.noticesShown(), notices.size());
    }

    void stageNoticesOnlyInSelfSwitchingModes()
    {
        QList<int> modes;
        for (int mode = 0; mode <= 255; ++mode) {
            if (StageNotice::appliesToMode(uint8_t(mode)))
                modes << mode;
        }
        QCOMPARE(modes, (QList<int>{7, 10}));
    }

    void spasmSeries_data()
    {
        QTest::addColumn<int>("direction");   // shown when the series starts
        QTest::addColumn<int>("resetAfter");  // page shown again after this many spasms (0: never)
        QTest::addColumn<int>("spasms");
        QTest::addColumn<QStringList>("steps"); // count:held:shown, "stop" on the last of a series
        // Catches the direction not turning round, or the stop coming at the wrong spasm.
        QTest::newRow("from forward, the third stops") << 1 << 0 << 3 << QStringList{"1:0:0", "2:1:1", "3:0:0 stop"};
        QTest::newRow("from backward") << 0 << 0 << 3 << QStringList{"1:1:1", "2:0:0", "3:1:1 stop"};
        // Catches the count going on past the stop.
        QTest::newRow("a new series after the stop") << 1 << 0 << 4 << QStringList{"1:0:0", "2:1:1", "3:0:0 stop", "1:1:1"};
        QTest::newRow("showing the page starts over") << 1 << 2 << 3 << QStringList{"1:0:0", "2:1:1", "1:0:0"};
    }

    void spasmSeries()
    {
        QFETCH(int, direction);
        QFETCH(int, resetAfter);
        QFETCH(int, spasms);
        QFETCH(QStringList, steps);
        SpasmSeries series;
        QStringList seen;
        for (int i = 1; i <= spasms; ++i) {
            const SpasmSeries::Step step = series.spasm(uint8_t(direction));
            seen << QStringLiteral("%1:%2:%3%4").arg(step.count).arg(step.heldDirection).arg(step.shownDirection)
                        .arg(step.stopsTraining ? QStringLiteral(" stop") : QString());
            direction = step.shownDirection;
            if (i == resetAfter)
                series.reset();
        }
        QCOMPARE(seen, steps);
    }

    // Samples are taken from the 21st decoded record on and the count never goes back.
    void samplingStartsAtTheTwentyFirstRecord()
    {
        SamplingCounter counter;
        int firstSampled = 0;
        for (int i = 1; i <= 100000; ++i) {
            const bool sampled = counter.countRecord();
            if (sampled && firstSampled == 0)
                firstSampled = i;
            // Catches the count wrapping or restarting on a long-running program.
            QVERIFY(sampled == (i > SamplingCounter::kSkippedRecords));
        }
        QCOMPARE(firstSampled, 21);
        QCOMPARE(&SamplingCounter::programWide(), &SamplingCounter::programWide());
    }
};

QTEST_GUILESS_MAIN(TestLiveData)
#include "tst_livedata.moc"
