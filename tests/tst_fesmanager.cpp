#include "app/configmanager.h"
#include "comm/streamframecutter.h"
#include "common/feslinkpty.h"
#include "common/modalcloser.h"
#include "common/nestedloopprobe.h"
#include "common/ptypair.h"
#include "common/testworkdir.h"
#include "database/bledevice.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "fes/bleitem.h"
#include "fes/fescontroldialog.h"
#include "fes/fesframe.h"
#include "fes/fesprotocol.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

using Battery = QPair<int, int>;

// The FES box manager over a real pseudo-terminal, with the test playing the Bluetooth adapter
// on the master side and a real SQLite file holding the registered boxes. There is one manager
// per process, so the slots run in order and each leaves the link open for the next.
class TestFesManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<PtyPair> m_pty;
    FesControlDialog *m_fes = nullptr;
    ListedPorts *m_ports = nullptr; // owned by the manager

    static QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

    // Frames a payload the long way, independently of the code under test.
    static QByteArray framed(const QByteArray &payload)
    {
        int sum = 0;
        for (char byte : payload)
            sum += uint8_t(byte);
        QByteArray frame;
        frame.append(char(0xAA));
        frame.append(char(payload.size()));
        frame.append(payload);
        frame.append(char(sum & 0xFF));
        frame.append(char(0x55));
        return frame;
    }
    static QByteArray framed(const char *payloadHex) { return framed(hex(payloadHex)); }

    static QByteArray batteryReply(int device, int level)
    {
        return framed(QByteArray::fromHex("78") + char(device) + hex("000000") + char(level));
    }
    static QByteArray foundReply(const char *macHex) { return framed(hex("7C0000") + hex(macHex)); }
    static QByteArray stateReply(uint8_t code, int device) { return framed(QByteArray(1, char(code)) + char(device) + hex("00")); }

    // The adapter's battery report for device 0 marks the end of what a test fed in.
    static QByteArray sentinel() { return batteryReply(0, 0xEE); }

    template<typename T>
    T *child(const char *name, QObject *parent = nullptr) const
    {
        T *widget = (parent ? parent : static_cast<QObject *>(m_fes))->findChild<T *>(QLatin1String(name));
        if (!widget)
            qWarning("no child %s", name);
        return widget;
    }

    QListWidget *list() const { return child<QListWidget>("listWidget"); }
    QPushButton *openButton() const { return child<QPushButton>("openSerial_Btn"); }
    QSerialPort *port() const { return child<QSerialPort>("fesLink_SerialPort"); }
    QTimer *reconnectTimer() const { return child<QTimer>("reconnect_Timer"); }

    // The row widgets in list order.
    QList<BLEItem *> rows() const
    {
        QList<BLEItem *> result;
        for (int i = 0; i < list()->count(); ++i)
            result << qobject_cast<BLEItem *>(list()->itemWidget(list()->item(i)));
        return result;
    }
    static QString label(BLEItem *row) { return row->findChild<QLabel *>(QStringLiteral("BLEName_Label"))->text(); }
    static QPushButton *rowButton(BLEItem *row) { return row->findChild<QPushButton *>(QStringLiteral("connectBLE_Btn")); }

    // Writes bytes as the adapter, then waits until the manager has handled them all; returns the
    // battery reports they caused (a missing sentinel shows as {-1, -1}).
    QList<Battery> deliver(const QByteArray &bytes, PtyPair *pty = nullptr)
    {
        QSignalSpy spy(m_fes, &FesControlDialog::signalGetBattery);
        (pty ? pty : m_pty.get())->write(bytes + sentinel());
        QDeadlineTimer deadline(3000);
        QList<Battery> reports;
        while (!deadline.hasExpired()) {
            QTest::qWait(5);
            reports.clear();
            for (const QList<QVariant> &args : spy)
                reports << Battery(args.at(0).toInt(), args.at(1).toInt());
            if (!reports.isEmpty() && reports.last() == Battery(0, 0xEE)) {
                reports.removeLast();
                return reports;
            }
        }
        reports << Battery(-1, -1);
        return reports;
    }

    // The frames the manager has written, cut the way the adapter would.
    QList<QByteArray> sentFrames(int minBytes, int timeoutMs = 2000)
    {
        StreamFrameCutter cutter(FesProtocol::kStart, FesProtocol::kEnd);
        return cutter.feed(m_pty->readAtLeast(minBytes, timeoutMs));
    }
    QByteArray drain(int quietMs = 50) { return m_pty->readAtLeast(1 << 20, quietMs); }

    void configurePortA(const QString &portName)
    {
        const QString xml = QStringLiteral("<config><serialPortA portName=\"%1\" baud=\"115200\"/></config>").arg(portName);
        QVERIFY(m_dir->write(QStringLiteral("DependFile/ConfigFile/config.xml"), xml.toUtf8()));
        QVERIFY(ConfigManager::getInstance()->readConfigFile());
    }

    static void registerBoxes()
    {
        CDatabaseInterface *db = CDatabaseInterface::getInstance();
        const QList<QPair<int, const char *>> boxes{
            {1, "A1B2C3D4E5F6"}, {2, "112233445566"}, {3, "223344556677"}, {4, "AABBCCDDEE01"},
            {4, "AABBCCDDEE02"}, {5, "A1B2"},         {257, "0B0C0D0E0F10"}, {3, "0A0B0C0D0E0F"}};
        for (const auto &box : boxes) {
            ST_BLEDevice device;
            device.deviceNo = box.first;
            device.deviceMac = QLatin1String(box.second);
            QVERIFY(db->insertRowTable(QStringLiteral("BLEDeviceMsg"), BLEDeviceToVariantMap(device)));
        }
    }

    // Hiding and showing again re-reads BLEDeviceMsg.
    void reshow()
    {
        m_fes->hide();
        m_fes->show();
    }

    static QList<uint8_t> flags(const QSignalSpy &spy)
    {
        return spy.isEmpty() ? QList<uint8_t>() : spy.last().at(0).value<QList<uint8_t>>();
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        m_dir = std::make_unique<TestWorkDir>();
        QVERIFY(m_dir->isValid());
        m_pty = std::make_unique<PtyPair>();
        QVERIFY(m_pty->isValid());
        configurePortA(m_pty->slavePath());
        QVERIFY(CDatabaseInterface::getInstance()->openDB(
            m_dir->filePath(QStringLiteral("DependFile/DBFile/fes.db")), QStringLiteral("QSQLITE")));
        QVERIFY(DatabaseSchema::createTables(CDatabaseInterface::getInstance()));
        registerBoxes();

        ModalCloser closer;
        // The machine's own serial ports are never probed here; only pseudo-terminals are used.
        auto ports = std::make_unique<ListedPorts>();
        m_ports = ports.get();
        m_fes = FesControlDialog::createInstance(std::move(ports));
        QCOMPARE(closer.seen(), QStringList());
        QCOMPARE(FesControlDialog::getInstance(), m_fes);
    }

    // The form: names, texts, the hidden query button, a frameless see-through overlay that
    // does not quit the program when closed.
    void theFormHasItsNamesAndTexts()
    {
        QCOMPARE(child<QLabel>("title_Label")->text(), QStringLiteral("电刺激控制"));
        QCOMPARE(child<QPushButton>("scanDevice_Btn")->text(), QStringLiteral("扫描"));
        QCOMPARE(child<QPushButton>("queryDevice_Btn")->text(), QStringLiteral("查询"));
        QVERIFY(child<QPushButton>("queryDevice_Btn")->isHidden());
        QCOMPARE(child<QPushButton>("flushSerial_Btn")->text(), QStringLiteral("刷新"));
        QCOMPARE(openButton()->text(), QStringLiteral("打开"));
        QCOMPARE(child<QPushButton>("close_Btn")->text(), QStringLiteral("关闭"));
        QVERIFY(list());
        QVERIFY(m_fes->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(m_fes->testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(!m_fes->testAttribute(Qt::WA_QuitOnClose));
        QVERIFY(port());
        QVERIFY(!port()->isOpen());
        QVERIFY(!reconnectTimer()->isActive());
        QCOMPARE(reconnectTimer()->interval(), FesControlDialog::kReconnectIntervalMs);
    }

    // The backdrop is black at alpha 100 of 255 over the whole dialog.
    void theBackdropIsDimmedBlack()
    {
        m_fes->resize(400, 300);
        const QImage image = m_fes->grab(QRect(0, 0, 40, 40)).toImage();
        QCOMPARE(image.pixelColor(2, 2), QColor(0, 0, 0, 100));
    }

    // Pseudo-terminals are never listed by the system: the configured port must be offered.
    void theConfiguredPortIsOfferedWhenItOpens()
    {
        QComboBox *combo = child<QComboBox>("serial_ComboBox");
        QCOMPARE(combo->count(), 1);
        QCOMPARE(combo->itemText(0), m_pty->slavePath());
    }

    // Listed ports that do not open are left out; the configured one is not offered twice.
    void onlyPortsThatOpenAreOffered()
    {
        PtyPair other;
        const QString missing = m_dir->filePath(QStringLiteral("no-such-tty"));
        m_ports->names = QStringList{missing, other.slavePath(), m_pty->slavePath()};
        const bool ok = m_fes->listSerialPorts();
        m_ports->names.clear();
        QVERIFY(ok);
        QComboBox *combo = child<QComboBox>("serial_ComboBox");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), other.slavePath());
        QCOMPARE(combo->itemText(1), m_pty->slavePath());
        QVERIFY(m_fes->listSerialPorts());
        QCOMPARE(combo->count(), 1);
    }

    // startFes opens the configured port, searches, starts the reconnect timer and shows.
    void startFesOpensTheConfiguredPortAndSearches()
    {
        ModalCloser closer;
        QVERIFY(m_fes->startFes());
        QCOMPARE(closer.seen(), QStringList());
        QVERIFY(port()->isOpen());
        QCOMPARE(port()->baudRate(), 115200);
        QCOMPARE(port()->readBufferSize(), qint64(200));
        QCOMPARE(sentFrames(8), QList<QByteArray>{hex("AA047B0000017C55")});
        QVERIFY(reconnectTimer()->isActive());
        QCOMPARE(reconnectTimer()->interval(), 1000);
        QCOMPARE(openButton()->text(), QStringLiteral("关闭"));
        QVERIFY(m_fes->isVisible());
        reconnectTimer()->stop(); // nothing found yet; the reconnect slot runs it again later
    }

    // The scan button and searchDevice put the same search frame on the line.
    void scanningSendsTheSearchFrame()
    {
        child<QPushButton>("scanDevice_Btn")->click();
        m_fes->searchDevice();
        QCOMPARE(sentFrames(16), (QList<QByteArray>{hex("AA047B0000017C55"), hex("AA047B0000017C55")}));
    }

    void framesAreBuilt_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("search") << hex("7B000001") << hex("AA047B0000017C55");
        QTest::newRow("sum past 255 keeps the low 8 bits") << hex("FFFF02") << hex("AA03FFFF020055");
        QTest::newRow("sum 0x1FE") << hex("FFFF") << hex("AA02FFFFFE55");
        QTest::newRow("empty") << QByteArray() << hex("AA000055");
    }

    // The checksum is the low 8 bits of the payload sum; the start and length are not summed.
    void framesAreBuilt()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, frame);
        QCOMPARE(m_fes->createFrame(payload), frame);
        QCOMPARE(FesFrame::createFrame(payload), frame);
    }

    void sumsOfRanges_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("sum");
        QTest::newRow("all") << hex("0102FF") << 0 << 2 << 0x102;
        QTest::newRow("one") << hex("0102FF") << 1 << 1 << 2;
        QTest::newRow("empty array") << QByteArray() << 0 << 0 << 0;
        QTest::newRow("first after last") << hex("0102FF") << 2 << 1 << 0;
        QTest::newRow("last past the end") << hex("0102FF") << 0 << 3 << 0;
        QTest::newRow("first past the end") << hex("0102FF") << 3 << 3 << 0;
        QTest::newRow("negative first") << hex("0102FF") << -1 << 1 << 0;
    }

    // Out-of-range indexes give 0 instead of reading past the array.
    void sumsOfRanges()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, sum);
        QCOMPARE(m_fes->getSum(bytes, first, last), sum);
    }

    // 16-bit values go high byte first.
    void aFrequencyOf300HzIsEncodedHighByteFirst()
    {
        QCOMPARE(FesFrame::frequencyPayload(1, 2, 300), hex("7F0102012C"));
    }

    void everyCommandOnTheLine_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("7B search") << "search" << hex("AA047B0000017C55");
        QTest::newRow("7D MAC from the table") << "connect 1" << hex("AA097D0100A1B2C3D4E5F64355");
        QTest::newRow("7D device 5 is not taken from the table") << "connect 5" << framed("7D0500");
        QTest::newRow("7D unregistered device") << "connect 9" << framed("7D0900");
        QTest::newRow("7A one device") << "disconnect 2" << framed("7A020000");
        QTest::newRow("7A all devices") << "shutdown" << hex("AA047A0100017C55");
        QTest::newRow("78 battery") << "battery 3" << framed("78030000");
        QTest::newRow("78 query button") << "query button" << framed("78010000");
        QTest::newRow("76 channel adjust") << "adjust" << framed("76020101");
        QTest::newRow("73 current") << "current" << framed("73010223");
        QTest::newRow("7F frequency") << "frequency" << framed("7F01020032");
        QTest::newRow("70 pulse width") << "pulse width" << framed("700201012C");
        QTest::newRow("72 output switch") << "switch" << framed("72040201");
        QTest::newRow("71 real-time, 18 bytes")
            << "real time" << framed("710101 020001 001E 00C8 03E8 1388 07D0 0BB8");
        QTest::newRow("81 cycling, 22 bytes")
            << "cycle" << framed("810202 020101 0028 00FA 000A 0078 00BE 012C 14 3C 02 01");
        QTest::newRow("80 motion: words high byte first, then record byte 1")
            << "motion" << framed("800300 3322 5544 7766 11");
    }

    // Each sender's payload, framing and device/channel placement.
    void everyCommandOnTheLine()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, frame);
        if (command == QLatin1String("search")) {
            m_fes->searchDevice();
        } else if (command.startsWith(QLatin1String("connect "))) {
            m_fes->slotConnectDevice(true, uint8_t(command.mid(8).toInt()));
        } else if (command == QLatin1String("disconnect 2")) {
            m_fes->slotConnectDevice(false, 2);
        } else if (command == QLatin1String("shutdown")) {
            QTest::ignoreMessage(QtDebugMsg, "关闭所有设备");
            m_fes->disconnectOrShutdown(1, 1);
        } else if (command == QLatin1String("battery 3")) {
            m_fes->queryBattery(3);
        } else if (command == QLatin1String("query button")) {
            child<QPushButton>("queryDevice_Btn")->click();
        } else if (command == QLatin1String("adjust")) {
            m_fes->setChannelAdjust(2, 1, 1);
        } else if (command == QLatin1String("current")) {
            m_fes->setCurrent(1, 2, 35);
        } else if (command == QLatin1String("frequency")) {
            m_fes->setFrequency(1, 2, 50);
        } else if (command == QLatin1String("pulse width")) {
            m_fes->setPulseWidth(2, 1, 300);
        } else if (command == QLatin1String("switch")) {
            m_fes->switchOutput(4, 2, 1);
        } else if (command == QLatin1String("real time")) {
            FesFrame::RealTimeParam param;
            param.frequency = 30;
            param.pulseWidth = 200;
            param.riseTime = 1000;
            param.openTime = 5000;
            param.fallTime = 2000;
            param.closeTime = 3000;
            m_fes->setRealTimeParam(1, 1, param);
        } else if (command == QLatin1String("cycle")) {
            FesFrame::CycleParam param;
            param.frequency = 40;
            param.pulseWidth = 250;
            param.forwardStart = 10;
            param.forwardStop = 120;
            param.reverseStart = 190;
            param.reverseStop = 300;
            param.minCurrent = 20;
            param.maxCurrent = 60;
            param.limb = 2;
            param.side = 1;
            m_fes->setCycleParam(2, 2, param);
        } else if (command == QLatin1String("motion")) {
            m_fes->sendMotionData(3, hex("11223344556677"));
        } else {
            QFAIL("unknown command in the table");
        }
        QCOMPARE(sentFrames(frame.size()), QList<QByteArray>{frame});
    }

    // The debug line of a logging sender: prefix, one blank, the frame in lower-case hex.
    void sendersLogTheirFrameInLowerCaseHex()
    {
        QTest::ignoreMessage(QtDebugMsg, "发送频率： aa057f01020032b455");
        m_fes->setFrequency(1, 2, 50);
        QTest::ignoreMessage(QtDebugMsg, "发送FES输出开关指令： aa04720402017955");
        m_fes->switchOutput(4, 2, 1);
        QCOMPARE(sentFrames(17).size(), 2);
    }

    // The shut-down-all frame is sent on the way out of the program: it leaves the write buffer
    // at once instead of waiting for an event loop that is about to end.
    void theShutdownFrameIsWrittenAtOnce()
    {
        QTest::ignoreMessage(QtDebugMsg, "关闭所有设备");
        m_fes->disconnectOrShutdown(1, 1);
        QCOMPARE(port()->bytesToWrite(), qint64(0));
        QCOMPARE(sentFrames(8), QList<QByteArray>{hex("AA047A0100017C55")});
    }

    void outOfRangeValuesAreClamped_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("value2");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("current 150 mA") << "current" << 150 << 0 << framed("73010164");
        QTest::newRow("current 1000 mA does not wrap") << "current" << 1000 << 0 << framed("73010164");
        QTest::newRow("current 256 mA does not wrap") << "current" << 256 << 0 << framed("73010164");
        QTest::newRow("current -5 mA") << "current" << -5 << 0 << framed("73010100");
        QTest::newRow("frequency 300 Hz") << "frequency" << 300 << 0 << framed("7F01010064");
        QTest::newRow("frequency 65636 Hz") << "frequency" << 65636 << 0 << framed("7F01010064");
        QTest::newRow("frequency 1 Hz") << "frequency" << 1 << 0 << framed("7F0101000A");
        QTest::newRow("pulse width 1000 us") << "pulse width" << 1000 << 0 << framed("70010101F4");
        QTest::newRow("pulse width 0 us") << "pulse width" << 0 << 0 << framed("7001010032");
        QTest::newRow("real time 300 Hz, 5000 us")
            << "real time" << 300 << 5000 << framed("710101 020001 0064 01F4 0000 0000 0000 0000");
        QTest::newRow("real time 0 Hz, 0 us")
            << "real time" << 0 << 0 << framed("710101 020001 000A 0032 0000 0000 0000 0000");
        QTest::newRow("cycle 120..250 mA")
            << "cycle" << 120 << 250 << framed("810101 020101 000A 0032 0000 0000 0000 0000 64 64 00 00");
        QTest::newRow("cycle minimum above maximum")
            << "cycle" << 80 << 30 << framed("810101 020101 000A 0032 0000 0000 0000 0000 1E 1E 00 00");
        QTest::newRow("cycle in range")
            << "cycle" << 5 << 100 << framed("810101 020101 000A 0032 0000 0000 0000 0000 05 64 00 00");
    }

    // Stimulation values outside the safe ranges never reach a box.
    void outOfRangeValuesAreClamped()
    {
        QFETCH(QString, call);
        QFETCH(int, value);
        QFETCH(int, value2);
        QFETCH(QByteArray, frame);
        if (call == QLatin1String("current")) {
            m_fes->setCurrent(1, 1, value);
        } else if (call == QLatin1String("frequency")) {
            m_fes->setFrequency(1, 1, value);
        } else if (call == QLatin1String("pulse width")) {
            m_fes->setPulseWidth(1, 1, value);
        } else if (call == QLatin1String("real time")) {
            FesFrame::RealTimeParam param;
            param.frequency = uint16_t(value);
            param.pulseWidth = uint16_t(value2);
            m_fes->setRealTimeParam(1, 1, param);
        } else {
            FesFrame::CycleParam param;
            param.minCurrent = uint8_t(value);
            param.maxCurrent = uint8_t(value2);
            m_fes->setCycleParam(1, 1, param);
        }
        QCOMPARE(sentFrames(frame.size()), QList<QByteArray>{frame});
    }

    // Whatever callers ask for, no frame carries a current above 100 mA.
    void noFrameCarriesMoreThan100mA()
    {
        int currentFrames = 0;
        for (int mA = -300; mA <= 1000; mA += 13) {
            m_fes->setCurrent(1, 1, mA);
            ++currentFrames;
        }
        int cycleFrames = 0;
        for (int low = 0; low <= 255; low += 15) {
            for (int high = 0; high <= 255; high += 15) {
                FesFrame::CycleParam param;
                param.minCurrent = uint8_t(low);
                param.maxCurrent = uint8_t(high);
                m_fes->setCycleParam(2, 1, param);
                ++cycleFrames;
            }
        }
        const QList<QByteArray> frames = sentFrames(currentFrames * 8 + cycleFrames * 26, 5000);
        QCOMPARE(frames.size(), currentFrames + cycleFrames);
        for (const QByteArray &frame : frames) {
            if (uint8_t(frame.at(2)) == FesProtocol::kCmdCurrent) {
                QVERIFY2(uint8_t(frame.at(5)) <= 100, frame.toHex().constData());
            } else {
                QCOMPARE(uint8_t(frame.at(2)), FesProtocol::kCmdCycleParam);
                QVERIFY2(uint8_t(frame.at(20)) <= uint8_t(frame.at(21)), frame.toHex().constData());
                QVERIFY2(uint8_t(frame.at(21)) <= 100, frame.toHex().constData());
            }
        }
    }

    // ---- the receive path ----

    void batteryReplies_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<Battery>>("reports");
        QTest::newRow("device 2 at 80") << batteryReply(2, 80) << QList<Battery>{{2, 80}};
        QTest::newRow("device 5 emits nothing") << batteryReply(5, 80) << QList<Battery>{};
        QTest::newRow("7 bytes report 0") << framed("780100") << QList<Battery>{{1, 0}};
        QTest::newRow("wrong checksum, right end: acted on") << hex("AA 06 78 03 00 00 00 50 00 55") << QList<Battery>{{3, 80}};
        QTest::newRow("two frames in one read, in order")
            << batteryReply(1, 10) + batteryReply(2, 20) << QList<Battery>{{1, 10}, {2, 20}};
        QTest::newRow("garbage before and between")
            << hex("0012FF55") + batteryReply(1, 11) + hex("0102035513") + batteryReply(3, 33)
            << QList<Battery>{{1, 11}, {3, 33}};
        // The bad frame hides a whole frame one byte in: only its start byte is dropped, so the
        // hidden frame is decoded (catches a bad end byte dropping N + 4 bytes).
        QTest::newRow("bad end byte drops its start byte only")
            << hex("AA06" "AA037802007A" "55" "00") + batteryReply(3, 33) << QList<Battery>{{2, 0}, {3, 33}};
        QTest::newRow("bad end byte, then a frame at once")
            << hex("AA0378010000FF") + batteryReply(4, 44) << QList<Battery>{{4, 44}};
    }

    // Replies are cut, dropped and decoded as the adapter's protocol says.
    void batteryReplies()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<Battery>, reports);
        QCOMPARE(deliver(bytes), reports);
    }

    // A reply split across reads is decoded once, when its last byte arrives.
    void aFrameSplitAcrossReadsIsDecodedOnceComplete()
    {
        QSignalSpy spy(m_fes, &FesControlDialog::signalGetBattery);
        const QByteArray reply = batteryReply(2, 42);
        m_pty->write(reply.left(5));
        QTest::qWait(60);
        QCOMPARE(spy.count(), 0);
        m_pty->write(reply.mid(5, 3));
        QTest::qWait(60);
        QCOMPARE(spy.count(), 0);
        m_pty->write(reply.mid(8));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().at(0).toInt(), 2);
        QCOMPARE(spy.first().at(1).toInt(), 42);
        QTest::qWait(30);
        QCOMPARE(spy.count(), 1);
    }

    // The search acknowledgement is only logged; frames too short to act on do nothing.
    void searchAcknowledgementAndTinyFrames()
    {
        QTest::ignoreMessage(QtDebugMsg, "搜索设备");
        QCOMPARE(deliver(framed("7B000001") + framed("") + framed("78")), QList<Battery>{});
        QCOMPARE(list()->count(), 0);
    }

    // A receiver that runs a nested event loop on a frame (a modal prompt) does not stop the
    // port: frames keep arriving during its loop, in order, and none is lost.
    void aNestedLoopInAReceiverDoesNotStopTheLink()
    {
        drain();
        NestedLoopProbe probe;
        const QMetaObject::Connection receiver =
            connect(m_fes, &FesControlDialog::signalGetBattery, this, [&](int device, int level) {
                if (device == 1)
                    probe.receive(level);
            });
        constexpr int kFrames = 40;
        int sent = 0;
        QTimer device; // 20 frames a second
        device.setInterval(50);
        connect(&device, &QTimer::timeout, this, [&] {
            if (sent < kFrames)
                m_pty->write(batteryReply(1, ++sent));
        });
        device.start();
        QTRY_COMPARE_WITH_TIMEOUT(probe.values().size(), kFrames, 6000);
        disconnect(receiver);
        QCOMPARE(probe.values(), NestedLoopProbe::sequence(1, kFrames));
        QVERIFY2(probe.duringLoop() >= 20, qPrintable(QString::number(probe.duringLoop())));
    }

    // ---- the device list ----

    // Boxes missing from BLEDeviceMsg are ignored, however often the adapter reports them.
    void anUnregisteredBoxNeverGetsARow()
    {
        const QByteArray report = foundReply("0102030405FF");
        QCOMPARE(deliver(report + report + report), QList<Battery>{});
        QCOMPARE(list()->count(), 0);
    }

    // A device number outside 1..4 is refused with a log line: 257 would become device 1.
    void aDeviceNumberOutsideOneToFourIsRefused()
    {
        QTest::ignoreMessage(QtWarningMsg, "BLEDeviceMsg: device number 257 of MAC 0B0C0D0E0F10 is outside 1..4, skipped");
        QTest::ignoreMessage(QtWarningMsg, "BLEDeviceMsg: device number 5 of MAC A1B2 is outside 1..4, skipped");
        reshow();
        QCOMPARE(deliver(foundReply("0B0C0D0E0F10")), QList<Battery>{});
        QCOMPARE(list()->count(), 0);
    }

    // A box reported twice gets one row, named by its letter, offering to connect.
    void aBoxReportedTwiceGetsOneRow()
    {
        QCOMPARE(deliver(foundReply("A1B2C3D4E5F6") + foundReply("A1B2C3D4E5F6")), QList<Battery>{});
        QCOMPARE(list()->count(), 1);
        QCOMPARE(list()->item(0)->sizeHint(), QSize(100, 65));
        BLEItem *row = rows().at(0);
        QCOMPARE(row->deviceNo(), uint8_t(1));
        QCOMPARE(label(row), QStringLiteral("电刺激盒A"));
        QCOMPARE(rowButton(row)->text(), QStringLiteral("连接"));
        QVERIFY(!m_fes->isDeviceConnected(1));
    }

    // Two registered MACs with one number: two rows, and replies go to the later one.
    void twoBoxesWithOneNumberGetTwoRows()
    {
        QSignalSpy states(m_fes, &FesControlDialog::signalDeviceStateChanged);
        deliver(foundReply("AABBCCDDEE01") + foundReply("AABBCCDDEE02"));
        QCOMPARE(list()->count(), 3);
        BLEItem *first = rows().at(1);
        BLEItem *later = rows().at(2);
        QCOMPARE(label(first), QStringLiteral("电刺激盒D"));
        QCOMPARE(label(later), QStringLiteral("电刺激盒D"));

        deliver(stateReply(FesProtocol::kReplyConnected, 4));
        QCOMPARE(rowButton(later)->text(), QStringLiteral("断开"));
        QCOMPARE(rowButton(first)->text(), QStringLiteral("连接"));
        QVERIFY(m_fes->isDeviceConnected(4));
        QCOMPARE(flags(states), (QList<uint8_t>{0, 0, 0, 1}));
    }

    // Connected replies for devices without a row change nothing.
    void aConnectedReplyWithoutARowIsIgnored()
    {
        QSignalSpy states(m_fes, &FesControlDialog::signalDeviceStateChanged);
        deliver(stateReply(FesProtocol::kReplyConnected, 3) + stateReply(FesProtocol::kReplyDisconnected, 2));
        QVERIFY(!m_fes->isDeviceConnected(3));
        QCOMPARE(states.count(), 0);
    }

    // The manager's row: connect, the box answers, disconnect (clearing the muscle), box gone;
    // every change carries the four connected flags.
    void theRowButtonConnectsAndDisconnects()
    {
        QSignalSpy states(m_fes, &FesControlDialog::signalDeviceStateChanged);
        BLEItem *row = rows().at(0);
        QTest::ignoreMessage(QtDebugMsg, "点击连接");
        rowButton(row)->click();
        QCOMPARE(sentFrames(13), QList<QByteArray>{hex("AA097D0100A1B2C3D4E5F64355")});

        deliver(stateReply(FesProtocol::kReplyConnected, 1));
        QCOMPARE(rowButton(row)->text(), QStringLiteral("断开"));
        QVERIFY(m_fes->isDeviceConnected(1));
        QCOMPARE(flags(states), (QList<uint8_t>{1, 0, 0, 1}));

        m_fes->setMuscleState(1, true);
        rowButton(row)->click();
        QCOMPARE(sentFrames(8), QList<QByteArray>{framed("7A010000")});
        QVERIFY(!m_fes->isMuscleOpen(1));
        QCOMPARE(rowButton(row)->text(), QStringLiteral("断开")); // until the box answers

        deliver(stateReply(FesProtocol::kReplyDisconnected, 1));
        QCOMPARE(rowButton(row)->text(), QStringLiteral("连接"));
        QVERIFY(!m_fes->isDeviceConnected(1));
        QCOMPARE(flags(states), (QList<uint8_t>{0, 0, 0, 1}));
        QCOMPARE(states.count(), 2);
    }

    // Each tick retries only the lowest-numbered box that is not connected; a box that powered
    // off (0x7A) is left alone, one that dropped the link (0x7E) is called back.
    void theReconnectTimerRetriesOneBoxAtATime()
    {
        deliver(foundReply("112233445566") + foundReply("223344556677"));
        deliver(stateReply(FesProtocol::kReplyConnected, 2));
        QVERIFY(m_fes->isDeviceConnected(2) && !m_fes->isDeviceConnected(1) && !m_fes->isDeviceConnected(3));
        drain();

        const QByteArray connect1 = framed("7D0100 A1B2C3D4E5F6");
        const QByteArray connect2 = framed("7D0200 112233445566");
        const QByteArray connect3 = framed("7D0300 223344556677");
        reconnectTimer()->start(250);
        QCOMPARE(sentFrames(3 * connect1.size(), 3000), (QList<QByteArray>{connect1, connect1, connect1}));

        deliver(stateReply(FesProtocol::kReplyConnected, 1));
        QTest::qWait(FesControlDialog::kConnectDelayMs + 50); // a retry already under way stays quiet
        drain();
        QCOMPARE(sentFrames(2 * connect3.size(), 3000), (QList<QByteArray>{connect3, connect3}));

        deliver(stateReply(FesProtocol::kReplyConnected, 3));
        QTest::qWait(FesControlDialog::kConnectDelayMs + 50);
        drain();
        QCOMPARE(m_pty->readAtLeast(1, 800), QByteArray()); // all connected: nothing to retry

        QTest::ignoreMessage(QtDebugMsg, "3 关机断开");
        deliver(stateReply(FesProtocol::kReplyPoweredOff, 3));
        QVERIFY(!m_fes->isDeviceConnected(3));
        QCOMPARE(rowButton(rows().at(4))->text(), QStringLiteral("连接"));
        QCOMPARE(m_pty->readAtLeast(1, 800), QByteArray());

        QTest::ignoreMessage(QtDebugMsg, "2 断开");
        deliver(stateReply(FesProtocol::kReplyDisconnected, 2));
        QCOMPARE(sentFrames(connect2.size(), 3000), QList<QByteArray>{connect2});

        reconnectTimer()->stop();
        QTest::qWait(FesControlDialog::kConnectDelayMs + 50);
        drain();
        deliver(stateReply(FesProtocol::kReplyConnected, 2));
    }

    void rowNames_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("name");
        QTest::newRow("1") << 1 << QStringLiteral("电刺激盒A");
        QTest::newRow("2") << 2 << QStringLiteral("电刺激盒B");
        QTest::newRow("3") << 3 << QStringLiteral("电刺激盒C");
        QTest::newRow("4") << 4 << QStringLiteral("电刺激盒D");
        QTest::newRow("0") << 0 << QStringLiteral("电刺激盒");
        QTest::newRow("5") << 5 << QStringLiteral("电刺激盒");
    }

    // Letters A to D for devices 1 to 4, none for any other number.
    void rowNames()
    {
        QFETCH(int, device);
        QFETCH(QString, name);
        BLEItem row;
        row.setDeviceNo(uint8_t(device));
        QCOMPARE(label(&row), name);
        QCOMPARE(rowButton(&row)->text(), QStringLiteral("连接"));
    }

    // A row on its own: its button asks for what its text says and follows the reported state.
    void aRowAsksForWhatItsButtonSays()
    {
        BLEItem row;
        row.setDeviceNo(3);
        QSignalSpy asks(&row, &BLEItem::signalConnectDevice);
        QSignalSpy changes(&row, &BLEItem::signalBtnStateChanged);
        rowButton(&row)->click();
        QCOMPARE(asks.count(), 1);
        QCOMPARE(asks.last().at(0).toBool(), true);
        QCOMPARE(asks.last().at(1).value<uint8_t>(), uint8_t(3));

        QTest::ignoreMessage(QtDebugMsg, "数量和状态： 3 true");
        row.setConnectState(true);
        QCOMPARE(rowButton(&row)->text(), QStringLiteral("断开"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.last().at(0).value<uint8_t>(), uint8_t(3));
        QCOMPARE(changes.last().at(1).toBool(), true);
        rowButton(&row)->click();
        QCOMPARE(asks.last().at(0).toBool(), false);

        row.setConnectState(false);
        QCOMPARE(rowButton(&row)->text(), QStringLiteral("连接"));
        QCOMPARE(changes.last().at(1).toBool(), false);
    }

    // A language change re-applies the form but keeps the row's and the open button's state.
    void aLanguageChangeKeepsTheStates()
    {
        QCOMPARE(openButton()->text(), QStringLiteral("关闭"));
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(m_fes, &change);
        QCOMPARE(openButton()->text(), QStringLiteral("关闭"));
        QCOMPARE(child<QLabel>("title_Label")->text(), QStringLiteral("电刺激控制"));
        BLEItem *row = rows().at(2); // device 4, connected
        QApplication::sendEvent(row, &change);
        QCOMPARE(rowButton(row)->text(), QStringLiteral("断开"));
        QCOMPARE(label(row), QStringLiteral("电刺激盒D"));
    }

    void muscleFlags_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<bool>("kept");
        for (int device = 0; device <= 5; ++device)
            QTest::newRow(qPrintable(QString::number(device))) << device << (device >= 1 && device <= 4);
    }

    // Muscle-open flags exist for devices 1 to 4 only; the connected flags likewise.
    void muscleFlags()
    {
        QFETCH(int, device);
        QFETCH(bool, kept);
        if (kept)
            QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("打开设备的肌肉： %1").arg(device)));
        m_fes->setMuscleState(device, true);
        QCOMPARE(m_fes->isMuscleOpen(device), kept);
        for (int other = 1; other <= 4; ++other) {
            if (other != device)
                QVERIFY(!m_fes->isMuscleOpen(other));
        }
        if (kept)
            QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("关闭设备的肌肉： %1").arg(device)));
        m_fes->setMuscleState(device, false);
        QVERIFY(!m_fes->isMuscleOpen(device));
        if (!kept)
            QVERIFY(!m_fes->isDeviceConnected(device));
    }

    // BLEDeviceMsg missing: nothing is registered and nothing crashes; it is read again on show.
    void aMissingDeviceTableRegistersNothing()
    {
        CDatabaseInterface *db = CDatabaseInterface::getInstance();
        QVERIFY(db->execQuery(QStringLiteral("drop table BLEDeviceMsg")));
        reshow();
        const int before = list()->count();
        deliver(foundReply("0A0B0C0D0E0F") + foundReply("A1B2C3D4E5F6"));
        QCOMPARE(list()->count(), before);

        QVERIFY(db->createTable(QStringLiteral("BLEDeviceMsg"), DatabaseSchema::columns(QStringLiteral("BLEDeviceMsg"))));
        registerBoxes();
        reshow();
        deliver(foundReply("0A0B0C0D0E0F"));
        QCOMPARE(list()->count(), before + 1);
        QCOMPARE(rows().last()->deviceNo(), uint8_t(3));
    }

    // "刷新" closes the link but leaves the open button reading "关闭"; the button then cycles.
    void refreshClosesTheLinkButKeepsTheButton()
    {
        QVERIFY(port()->isOpen());
        QSignalSpy link(m_fes, &FesControlDialog::signalLinkStateChanged);
        child<QPushButton>("flushSerial_Btn")->click();
        QVERIFY(!port()->isOpen());
        QCOMPARE(openButton()->text(), QStringLiteral("关闭"));
        // a frame handed to the closed port is logged, never lost silently
        QTest::ignoreMessage(QtWarningMsg, "FES link closed, frame dropped: aa047b0000017c55");
        m_fes->searchDevice();
        QCOMPARE(m_pty->readAtLeast(1, 100), QByteArray());

        openButton()->click();
        QCOMPARE(openButton()->text(), QStringLiteral("打开"));
        QVERIFY(!port()->isOpen());
        openButton()->click();
        QCOMPARE(openButton()->text(), QStringLiteral("关闭"));
        QVERIFY(port()->isOpen());
        // the page hears of the link closing and opening again (it stops a treatment on it)
        QCOMPARE(link.count(), 2);
        QCOMPARE(link.at(0).at(0).toBool(), false);
        QCOMPARE(link.at(1).at(0).toBool(), true);
        m_fes->searchDevice();
        QCOMPARE(sentFrames(8), QList<QByteArray>{hex("AA047B0000017C55")});
    }

    // A port picked in the list that does not open: "串口打开失败", the button stays "打开".
    void aChosenPortThatFailsWarns()
    {
        openButton()->click(); // close
        QComboBox *combo = child<QComboBox>("serial_ComboBox");
        combo->addItem(m_dir->filePath(QStringLiteral("no-such-tty")));
        combo->setCurrentIndex(combo->count() - 1);
        {
            ModalCloser closer;
            openButton()->click();
            QCOMPARE(closer.seen(), QStringList{QStringLiteral("警告|串口打开失败")});
        }
        QCOMPARE(openButton()->text(), QStringLiteral("打开"));
        QVERIFY(!port()->isOpen());
        combo->removeItem(combo->count() - 1);
        openButton()->click();
        QVERIFY(port()->isOpen());
    }

    // The configured port is taken by another program between listing and opening.
    void startFesWarnsWhenTheConfiguredPortDoesNotOpen()
    {
        QSerialPort other;
        QComboBox *combo = child<QComboBox>("serial_ComboBox");
        const QMetaObject::Connection grab = connect(combo, &QComboBox::currentTextChanged, this, [&](const QString &text) {
            if (text == m_pty->slavePath() && !other.isOpen()) {
                other.setPortName(text);
                other.open(QIODevice::ReadWrite);
            }
        });
        const QString before = openButton()->text();
        ModalCloser closer;
        const bool started = m_fes->startFes();
        disconnect(grab);
        QVERIFY(other.isOpen());
        QVERIFY(!started);
        QCOMPARE(closer.seen(), QStringList{QStringLiteral("警告|FES串口打开失败")});
        QCOMPARE(openButton()->text(), before);
        QVERIFY(!port()->isOpen());
        other.close();
        QCOMPARE(m_pty->readAtLeast(1, 100), QByteArray()); // no search went out
    }

    // No port opens at all: "FES无可用串口", and startFes stops there.
    void noUsablePortWarns()
    {
        configurePortA(m_dir->filePath(QStringLiteral("no-such-tty")));
        {
            ModalCloser closer;
            QVERIFY(!m_fes->listSerialPorts());
            QCOMPARE(closer.seen(), QStringList{QStringLiteral("警告|FES无可用串口")});
        }
        {
            ModalCloser closer;
            QVERIFY(!m_fes->startFes());
            QCOMPARE(closer.seen(), QStringList{QStringLiteral("警告|FES无可用串口")});
        }
        configurePortA(QString());
        {
            ModalCloser closer;
            QVERIFY(!m_fes->startFes()); // no configured port: no message at all
            QCOMPARE(closer.seen(), QStringList());
        }
        configurePortA(m_pty->slavePath());
    }

    // The adapter vanishes while the link is open: the port is closed instead of spinning on
    // its read error, and later frames are dropped.
    // MAC texts from the device table: pair by pair, anything that is not two hex digits is 0.
    void macTextsAreReadPairByPair_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("mac");
        QTest::newRow("upper case") << "A1B2C3D4E5F6" << hex("A1B2C3D4E5F6");
        QTest::newRow("lower case") << "a1b2c3d4e5f6" << hex("A1B2C3D4E5F6");
        QTest::newRow("short") << "A1B2" << hex("A1B200000000");
        QTest::newRow("odd length") << "A1B2C" << hex("A1B200000000");
        QTest::newRow("empty") << "" << hex("000000000000");
        QTest::newRow("extra ignored") << "A1B2C3D4E5F6FF" << hex("A1B2C3D4E5F6");
        QTest::newRow("not hex") << "ZZ11GG22HH33" << hex("001100220033");
        QTest::newRow("blank and sign") << " F+F0203040506" << hex("000002030405");
    }

    void macTextsAreReadPairByPair()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, mac);
        QCOMPARE(FesFrame::macFromText(text), mac);
    }

    void aVanishingAdapterDoesNotSpin()
    {
        auto adapter = std::make_unique<PtyPair>();
        QVERIFY(m_fes->openSerialPort(adapter->slavePath()));
        qRegisterMetaType<QSerialPort::SerialPortError>();
        QSignalSpy errors(port(), &QSerialPort::errorOccurred);
        QVERIFY(errors.isValid());
        deliver(batteryReply(1, 5), adapter.get());
        deliver(stateReply(FesProtocol::kReplyConnected, 1), adapter.get());
        QVERIFY(m_fes->isDeviceConnected(1));
        QSignalSpy states(m_fes, &FesControlDialog::signalDeviceStateChanged);

        adapter.reset();
        QTRY_VERIFY(!port()->isOpen());
        QTest::qWait(300);
        // the boxes are out of reach with the adapter
        QVERIFY(!m_fes->isDeviceConnected(1));
        QVERIFY(!states.isEmpty());
        QCOMPARE(flags(states), (QList<uint8_t>{0, 0, 0, 0}));
        int readErrors = 0;
        for (const QList<QVariant> &args : errors) {
            const auto error = args.at(0).value<QSerialPort::SerialPortError>();
            readErrors += error == QSerialPort::ReadError || error == QSerialPort::ResourceError;
        }
        QVERIFY2(readErrors <= 1, qPrintable(QString::number(readErrors)));
        QCOMPARE(openButton()->text(), QStringLiteral("打开"));
        m_fes->setCurrent(1, 1, 10); // dropped, no crash
        m_fes->disconnectOrShutdown(1, 1);
    }
};

QTEST_MAIN(TestFesManager)
#include "tst_fesmanager.moc"
