#include "comm/deviceframe.h"
#include "comm/deviceprotocol.h"
#include "comm/streamframecutter.h"
#include "common/testworkdir.h"
#include "comm/bicycleparam.h"
#include "training/icemodule.h"

#include <QSignalSpy>
#include <QtTest>

// Frames of the link to the lower machine, built and cut without any port, and the state hub.
class TestDeviceFrames : public QObject
{
    Q_OBJECT

private:
    static QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

    // Feeds the stream in the given pieces and collects every frame handed on.
    static QList<QByteArray> cut(const QList<QByteArray> &pieces, StreamFrameCutter &cutter)
    {
        QList<QByteArray> frames;
        for (const QByteArray &piece : pieces)
            frames += cutter.feed(piece);
        return frames;
    }

private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // ---- outgoing frames ----

    void heartBeatBytes()
    {
        QCOMPARE(DeviceFrame::wrap(DeviceFrame::heartBeatPayload()), hex("AB04050000000 0CD"));
    }

    void realTimeItemBytes_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("direction forward") << 0x04 << 1 << hex("AB0402040100 00CD");
        QTest::newRow("speed 55") << 0x02 << 55 << hex("AB040202370000CD");
        QTest::newRow("resistance 20") << 0x01 << 20 << hex("AB040201140000CD");
        QTest::newRow("boarding upper") << 0x12 << 2 << hex("AB040212020000CD");
        QTest::newRow("value 255") << 0x11 << 255 << hex("AB040211FF0000CD");
    }

    void realTimeItemBytes()
    {
        QFETCH(int, item);
        QFETCH(int, value);
        QFETCH(QByteArray, frame);
        QCOMPARE(DeviceFrame::wrap(DeviceFrame::realTimeParamPayload(uint8_t(item), uint8_t(value))), frame);
    }

    void versionQueryBytes()
    {
        QCOMPARE(DeviceFrame::wrap(DeviceFrame::versionQueryPayload()), hex("AB04080000000 0CD"));
    }

    // The defaults of the record, byte by byte.
    void recordBytesFromDefaults()
    {
        ST_BicycleParam param;
        const QByteArray bytes(reinterpret_cast<const char *>(&param), sizeof param);
        QCOMPARE(bytes, hex("00000001010000000 10A050014"));
    }

    // Command 0x01 is 17 bytes with length 13 and never carries the training time.
    void bicycleParamFrameLeavesOutTrainTime()
    {
        ST_BicycleParam param;
        param.controlState = DeviceProtocol::kControlStart;
        param.trainLimp = 2;
        param.trainMode = 7;
        param.spasmLevel = 3;
        param.torqueLevel = 2;
        param.trainDirection = 0;
        param.trainSpeed = 55;
        param.trainResistance = 20;
        param.spasmDirection = 1;
        param.trainTime = 0x77;
        const QByteArray frame = DeviceFrame::wrap(DeviceFrame::bicycleParamPayload(param));
        QCOMPARE(frame.size(), 17);
        QCOMPARE(frame, hex("AB0D01010207010302000000371401 00CD"));
        QVERIFY(!frame.contains('\x77'));
    }

    void wrapKeepsLowBitsOfTheLength()
    {
        const QByteArray frame = DeviceFrame::wrap(QByteArray(300, '\x01'));
        QCOMPARE(frame.size(), 304);
        QCOMPARE(uint8_t(frame.at(1)), uint8_t(300 & 0xFF));
        QCOMPARE(frame.right(2), hex("00CD"));
    }

    // ---- the stream cutter (serial and TCP) ----

    void streamFrameDeliveredWholeBehindGarbage()
    {
        StreamFrameCutter cutter(0xBA, 0xDC);
        const QList<QByteArray> frames = cut({hex("00BA0211220 0DC")}, cutter);
        QCOMPARE(frames, QList<QByteArray>{hex("BA02112200DC")});
        QCOMPARE(cutter.droppedBytes(), 1);
        QCOMPARE(cutter.pendingBytes(), 0);
    }

    // The frame split at every possible point gives the same single frame once it is complete.
    void streamFrameSplitAtEveryPoint()
    {
        const QByteArray stream = hex("00BA02112200DC");
        for (int split = 0; split <= stream.size(); ++split) {
            StreamFrameCutter cutter(0xBA, 0xDC);
            const QList<QByteArray> first = cutter.feed(stream.left(split));
            if (split < stream.size())
                QVERIFY(first.isEmpty()); // nothing before the end byte has arrived
            const QList<QByteArray> frames = first + cutter.feed(stream.mid(split));
            QCOMPARE(frames, QList<QByteArray>{hex("BA02112200DC")});
        }
    }

    void streamFrameInSingleBytes()
    {
        StreamFrameCutter cutter(0xBA, 0xDC);
        const QByteArray stream = hex("BA0402000000 00DC") + hex("BA0011DC");
        QList<QByteArray> frames;
        for (char byte : stream)
            frames += cutter.feed(QByteArray(1, byte));
        QCOMPARE(frames, (QList<QByteArray>{hex("BA040200000000DC"), hex("BA0011DC")}));
    }

    // Noise in front of or inside the stream: the frames behind it all come out, in order,
    // whether the bytes arrive at once or one by one.
    void streamNoiseCostsNoGoodFrame_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QList<QByteArray>>("frames");
        QTest::addColumn<int>("dropped");
        const QByteArray reply = hex("BA040200000000DC");
        QByteArray live = hex("BA2001") + QByteArray(DeviceProtocol::kLiveRecordSize, '\x11') + hex("00DC");
        QByteArray emergency = live;
        emergency[3 + DeviceProtocol::Live::kEmergency] = 1;
        QList<QByteArray> replies;
        QList<QByteArray> lives;
        for (int i = 0; i < 10; ++i) {
            replies << reply;
            lives << (i == 5 ? emergency : live);
        }
        // Catches a length above the largest frame swallowing the replies behind it.
        QTest::newRow("BA FF on an idle link") << hex("BAFF") + replies.join() << replies << 2;
        // Catches a long false length losing live frames, the emergency one among them.
        QTest::newRow("BA C8 before live data") << hex("BAC8") + lives.join() << lives << 2;
        // Catches a bad end byte dropping L + 4 bytes instead of its start byte only.
        QTest::newRow("bad end hides a frame one byte in")
            << hex("BA05" "BA017700DC" "1122") << QList<QByteArray>{hex("BA017700DC")} << 4;
        QTest::newRow("bad end with a second bad start inside")
            << hex("BA02BA0100EE") + hex("BA010200DC") << QList<QByteArray>{hex("BA010200DC")} << 6;
        QTest::newRow("largest length is a frame")
            << live << QList<QByteArray>{live} << 0;
        QByteArray tooLong = live;
        tooLong[1] = char(DeviceProtocol::kMachineMaxLength + 1);
        QTest::newRow("one above the largest is noise") << tooLong + reply << QList<QByteArray>{reply} << tooLong.size();
    }

    void streamNoiseCostsNoGoodFrame()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QList<QByteArray>, frames);
        QFETCH(int, dropped);
        StreamFrameCutter whole(DeviceProtocol::kStreamStart, DeviceProtocol::kStreamEnd, DeviceProtocol::kMachineMaxLength);
        QCOMPARE(whole.feed(stream), frames);
        QCOMPARE(whole.droppedBytes(), qint64(dropped));
        StreamFrameCutter bytewise(DeviceProtocol::kStreamStart, DeviceProtocol::kStreamEnd, DeviceProtocol::kMachineMaxLength);
        QList<QByteArray> got;
        for (char byte : stream)
            got += bytewise.feed(QByteArray(1, byte));
        QCOMPARE(got, frames);
    }

    void streamLengthExtremes()
    {
        StreamFrameCutter cutter(0xBA, 0xDC);
        // L = 0: BA 00 xx DC is four bytes.
        QCOMPARE(cutter.feed(hex("BA0011DC")), QList<QByteArray>{hex("BA0011DC")});
        // L = 255 waits for 259 bytes.
        QByteArray big = hex("BAFF") + QByteArray(256, '\x05');
        QVERIFY(cutter.feed(big).isEmpty());
        QCOMPARE(cutter.pendingBytes(), 258);
        const QList<QByteArray> frames = cutter.feed(hex("DC"));
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames.first().size(), 259);
        // a lone start byte waits for its length
        QVERIFY(cutter.feed(hex("BA")).isEmpty());
        QCOMPARE(cutter.pendingBytes(), 1);
    }

    // Megabytes of input keep the buffer small: consumed bytes do not pile up.
    void streamBufferStaysSmallUnderLoad()
    {
        StreamFrameCutter cutter(0xBA, 0xDC);
        const QByteArray frame = hex("BA0401020304 00DC");
        QByteArray chunk;
        for (int i = 0; i < 1000; ++i)
            chunk += frame + hex("0000");
        int frames = 0;
        for (int i = 0; i < 200; ++i) {
            frames += cutter.feed(chunk.left(chunk.size() - 3)).size();
            frames += cutter.feed(chunk.right(3)).size();
            QVERIFY(cutter.pendingBytes() < 16);
        }
        QCOMPARE(frames, 200 * 1000);
        QCOMPARE(cutter.droppedBytes(), qint64(200) * 1000 * 2);
    }

    // ---- the datagram check (UDP) ----

    void datagramCheck_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QByteArray>("frame");
        using V = DeviceFrame::DatagramVerdict;
        // L = 2: L + 8 = 10 bytes with bytes 8 and 9 zero.
        QTest::newRow("exactly L+8") << hex("AB02010203040506 0000") << int(V::Frame) << hex("AB020102030405060000");
        QTest::newRow("longer is cut to L+8") << hex("AB0201020304050600 00FFFF") << int(V::Frame) << hex("AB020102030405060000");
        QTest::newRow("L+7 is too short") << hex("AB020102030405 0600").left(9) << int(V::TooShort) << QByteArray();
        QTest::newRow("wrong first byte") << hex("BA020102030405060000") << int(V::BadStart) << QByteArray();
        QTest::newRow("tail byte L+6") << hex("AB020102030405060100") << int(V::BadTail) << QByteArray();
        QTest::newRow("tail byte L+7") << hex("AB020102030405060001") << int(V::BadTail) << QByteArray();
        QTest::newRow("empty") << QByteArray() << int(V::BadStart) << QByteArray();
        QTest::newRow("start only") << hex("AB") << int(V::BadStart) << QByteArray();
        QTest::newRow("length 255 short") << (hex("ABFF") + QByteArray(100, '\0')) << int(V::TooShort) << QByteArray();
        QTest::newRow("length 0") << hex("AB00010203040000") << int(V::Frame) << hex("AB00010203040000");
    }

    void datagramCheck()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(int, verdict);
        QFETCH(QByteArray, frame);
        QCOMPARE(int(DeviceFrame::checkDatagram(datagram)), verdict);
        if (verdict == int(DeviceFrame::DatagramVerdict::Frame))
            QCOMPARE(DeviceFrame::datagramFrame(datagram), frame);
    }

    // ---- the state hub ----

    void hubRelaysTheRecordSynchronously()
    {
        IceModule *hub = IceModule::getInstance();
        ST_BicycleParam received;
        received.trainLimp = 9;
        QObject context;
        connect(hub, &IceModule::signalSetBicycleParam, &context,
                [&received](ST_BicycleParam param) { received = param; });
        ST_BicycleParam sent;
        sent.trainLimp = 2;
        sent.trainMode = 7;
        hub->setBicycleParam(sent);
        QCOMPARE(received.trainLimp, uint8_t(2)); // delivered before setBicycleParam returned
        QCOMPARE(received.trainMode, uint8_t(7));
    }

    void hubHoldsItsStateFromStartValues()
    {
        IceModule *hub = IceModule::getInstance();
        QCOMPARE(hub->getDeviceState(), 1);
        QCOMPARE(hub->getEmergencyState(), 0);
        QCOMPARE(hub->getTorqueLevel(), 0);
        QCOMPARE(hub->getGameType(), 0);
        QVERIFY(hub->getLowerMachineVersion().isEmpty());

        QTest::ignoreMessage(QtDebugMsg, "游戏类型： 2");
        hub->setGameType(2);
        QCOMPARE(hub->getGameType(), 2);
        hub->setDeviceState(0);
        hub->setEmergencyState(1);
        hub->setTorqueLevel(2);
        hub->setLowerMachineVersion(QStringLiteral("V2.1"));
        QCOMPARE(hub->getDeviceState(), 0);
        QCOMPARE(hub->getEmergencyState(), 1);
        QCOMPARE(hub->getTorqueLevel(), 2);
        QCOMPARE(hub->getLowerMachineVersion(), QStringLiteral("V2.1"));
    }

    // Eight currents, logged one by one, even when all are 0; indexes outside 0..7 are ignored.
    void hubSendsTheEightChannelCurrents()
    {
        IceModule *hub = IceModule::getInstance();
        QList<int> got;
        int gotSize = 0;
        QObject context;
        connect(hub, &IceModule::signalSetFesBParam, &context, [&](int *data, int size) {
            gotSize = size;
            for (int i = 0; i < size; ++i)
                got << data[i];
        });
        for (int i = 0; i < 8; ++i)
            QTest::ignoreMessage(QtDebugMsg, "电流 0");
        hub->sendChannelBCurrents();
        QCOMPARE(gotSize, 8);
        QCOMPARE(got, QList<int>({0, 0, 0, 0, 0, 0, 0, 0}));

        hub->setChannelCurrent(0, 15);
        hub->setChannelCurrent(7, 100);
        hub->setChannelCurrent(8, 55);
        hub->setChannelCurrent(-1, 55);
        got.clear();
        QTest::ignoreMessage(QtDebugMsg, "电流 15");
        for (int i = 0; i < 6; ++i)
            QTest::ignoreMessage(QtDebugMsg, "电流 0");
        QTest::ignoreMessage(QtDebugMsg, "电流 100");
        hub->sendChannelBCurrents();
        QCOMPARE(got, QList<int>({15, 0, 0, 0, 0, 0, 0, 100}));
    }
};

QTEST_MAIN(TestDeviceFrames)
#include "tst_deviceframes.moc"
