#include "app/configmanager.h"
#include "app/linkwarningpresenter.h"
#include "comm/bicycleparam.h"
#include "comm/ccommunicateapi.h"
#include "comm/cserialportinterface.h"
#include "comm/ctcpsocketinterface.h"
#include "comm/cudpinterface.h"
#include "comm/deviceframe.h"
#include "common/modalcloser.h"
#include "common/nestedloopprobe.h"
#include "common/ptypair.h"
#include "common/testworkdir.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Set in the environment of the child process that creates the protocol singleton.
constexpr char kChildVariable[] = "ROTAFLEX_TEST_LINK_WARNING_CHILD";

// The warnings logged while it lives.
class WarningLog
{
public:
    WarningLog() : m_previous(qInstallMessageHandler(handler)) { s_lines.clear(); }
    ~WarningLog() { qInstallMessageHandler(m_previous); }
    static QStringList lines() { return s_lines; }

private:
    static void handler(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type == QtWarningMsg)
            s_lines << message;
    }
    static inline QStringList s_lines;
    QtMessageHandler m_previous;
};

} // namespace

// The three transports over real links: a pseudo-terminal for the serial port, loopback UDP
// sockets and a loopback TCP server; and the protocol object on top of them.
class TestTransports : public QObject
{
    Q_OBJECT

private:
    static QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

    // Loads a configuration into the process-wide holder that the transports read.
    static void configure(TestWorkDir &dir, const QString &elements)
    {
        const QString xml = QStringLiteral(
            "<config><serialPort portName=\"\" baud=\"0\"/><udpServerAddress IP=\"\" port=\"0\"/>"
            "<udpClientAddress IP=\"\" port=\"0\"/><tcpAddress IP=\"\" port=\"0\"/>%1</config>").arg(elements);
        dir.write(QStringLiteral("DependFile/ConfigFile/config.xml"), xml.toUtf8());
        QVERIFY(ConfigManager::getInstance()->readConfigFile());
    }

    static quint16 freeUdpPort()
    {
        QUdpSocket probe;
        probe.bind(QHostAddress(QHostAddress::LocalHost), 0);
        return probe.localPort();
    }

    static QSerialPort *port(QObject &link) { return link.findChild<QSerialPort *>(QStringLiteral("serialPort")); }
    static QTimer *reopenTimer(QObject &link) { return link.findChild<QTimer *>(QStringLiteral("reopenTimer")); }
    static QUdpSocket *udpSocket(QObject &link) { return link.findChild<QUdpSocket *>(QStringLiteral("udpSocket")); }
    static QTcpSocket *tcpSocket(QObject &link) { return link.findChild<QTcpSocket *>(QStringLiteral("tcpSocket")); }

    static QList<QByteArray> frames(const QSignalSpy &spy)
    {
        QList<QByteArray> list;
        for (const QList<QVariant> &args : spy)
            list << args.at(0).toByteArray();
        return list;
    }

private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // ---- serial ----

    void serialFramesArriveWholeAndSplit()
    {
        TestWorkDir dir;
        PtyPair pty;
        QVERIFY(pty.isValid());
        configure(dir, QStringLiteral("<serialPort portName=\"%1\" baud=\"115200\"/>").arg(pty.slavePath()));
        CSerialportInterface serial;
        QVERIFY(port(serial)->isOpen());
        QCOMPARE(port(serial)->baudRate(), 115200);
        QSignalSpy spy(&serial, &CCommunicationInterface::signalReadyRead);

        pty.write(hex("00BA02112200DC"));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(frames(spy).first(), hex("BA02112200DC"));

        // split, with a bad-tail frame and garbage in between
        pty.write(hex("BA0402"));
        QTest::qWait(30);
        pty.write(hex("00000000DC") + hex("BA0102EE") + hex("FF") + hex("BA0100"));
        QTest::qWait(30);
        pty.write(hex("00DC"));
        QTRY_COMPARE(spy.count(), 3);
        QCOMPARE(frames(spy).at(1), hex("BA040200000000DC"));
        QCOMPARE(frames(spy).at(2), hex("BA010000DC").left(4) + hex("DC"));
    }

    // Outgoing bytes reach the device side unchanged.
    void serialSendsTheProtocolsFrames()
    {
        TestWorkDir dir;
        PtyPair pty;
        configure(dir, QStringLiteral("<communicateType type=\"0\"/><serialPort portName=\"%1\" baud=\"115200\"/>").arg(pty.slavePath()));
        CCommunicateAPI api(CCommunicateAPI::Serial);
        api.sendHeartBeat();
        QCOMPARE(pty.readAtLeast(8), hex("AB040500000000CD"));
        ST_BicycleParam param;
        param.controlState = 1;
        api.sendBicycleParam(param);
        QCOMPARE(pty.readAtLeast(17), hex("AB0D0101000001010000000 10A0500 00CD"));
        // Catches the program's last stop frame kept in the port's buffer when no event loop
        // runs any more to write it.
        api.sendBicycleParam(param);
        api.flush(500);
        QCOMPARE(pty.readAtLeast(17, 500, false), hex("AB0D0101000001010000000 10A0500 00CD"));
    }

    void serialErrorNames_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("name");
        QTest::newRow("none") << int(QSerialPort::NoError) << QString();
        QTest::newRow("not found") << int(QSerialPort::DeviceNotFoundError) << QStringLiteral("DeviceNotFoundError");
        QTest::newRow("permission") << int(QSerialPort::PermissionError) << QStringLiteral("PermissionError");
        QTest::newRow("open") << int(QSerialPort::OpenError) << QStringLiteral("OpenError");
        QTest::newRow("read") << int(QSerialPort::ReadError) << QStringLiteral("ReadError");
        QTest::newRow("unknown") << int(QSerialPort::UnknownError) << QStringLiteral("UnknownError");
        QTest::newRow("not open") << int(QSerialPort::NotOpenError) << QStringLiteral("NotOpenError");
        QTest::newRow("write") << int(QSerialPort::WriteError) << QString();
        // Catches a device that has gone being reported as a fine link.
        QTest::newRow("resource") << int(QSerialPort::ResourceError) << QStringLiteral("ResourceError");
        QTest::newRow("timeout") << int(QSerialPort::TimeoutError) << QString();
    }

    void serialErrorNames()
    {
        QFETCH(int, error);
        QFETCH(QString, name);
        QCOMPARE(CSerialportInterface::errorName(QSerialPort::SerialPortError(error)), name);
    }

    // Missing settings and a port that does not open: the warnings by signal once the link's
    // creation has returned, the error name, nothing sent.
    void serialWithoutPortWarnsAndDropsFrames()
    {
        TestWorkDir dir;
        configure(dir, QString());
        {
            CSerialportInterface serial;
            QSignalSpy warnings(&serial, &CCommunicationInterface::signalLinkWarning);
            QTRY_COMPARE(warnings.count(), 1);
            QCOMPARE(warnings.first().at(0).toInt(), int(CCommunicationInterface::ConfigMissing));
            serial.sendData(hex("AB040500000000CD")); // dropped, no crash
            QVERIFY(!port(serial)->isOpen());
        }
        configure(dir, QStringLiteral("<serialPort portName=\"%1/no-such-tty\" baud=\"9600\"/>").arg(dir.path()));
        {
            QTest::ignoreMessage(QtDebugMsg, "current language index: 0");
            CSerialportInterface serial;
            QSignalSpy warnings(&serial, &CCommunicationInterface::signalLinkWarning);
            QSignalSpy errors(&serial, &CCommunicationInterface::signalDisplayError);
            QTest::ignoreMessage(QtDebugMsg, "current language index: 0");
            serial.initCommunication();
            QCOMPARE(warnings.count(), 0); // never inside the call
            QTRY_COMPARE(warnings.count(), 2);
            QCOMPARE(warnings.last().at(0).toInt(), int(CCommunicationInterface::PortNotOpened));
            QStringList names;
            for (const QList<QVariant> &args : errors)
                names << args.at(0).toString();
            QVERIFY2(names.contains(QStringLiteral("DeviceNotFoundError")), qPrintable(names.join(QLatin1Char(','))));
            QVERIFY(!names.contains(QString())); // never "fine" while shut
        }
    }

    // The boxes the user sees for the link's warnings, by kind and language.
    void linkWarningBoxTexts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("box");
        QTest::newRow("no settings") << int(CCommunicationInterface::ConfigMissing) << 0 << QStringLiteral("警告|获取串口配置失败");
        QTest::newRow("no settings, English") << int(CCommunicationInterface::ConfigMissing) << 1 << QStringLiteral("警告|获取串口配置失败");
        QTest::newRow("not opened") << int(CCommunicationInterface::PortNotOpened) << 0 << QStringLiteral("警告|串口打开失败");
        QTest::newRow("not opened, English") << int(CCommunicationInterface::PortNotOpened) << 1
                                             << QStringLiteral("Warning|Failed to open the serial port");
    }

    void linkWarningBoxTexts()
    {
        QFETCH(int, kind);
        QFETCH(int, language);
        QFETCH(QString, box);
        QString title;
        QString text;
        QVERIFY(LinkWarningPresenter::boxTexts(kind, language, &title, &text));
        QCOMPARE(title + QLatin1Char('|') + text, box);
    }

    // A warning opens one box that blocks nothing; a repeat while it is open adds none.
    void linkWarningOpensOneBoxWithoutBlocking()
    {
        LinkWarningPresenter presenter;
        presenter.slotLinkWarning(CCommunicationInterface::PortNotOpened); // returns at once
        presenter.slotLinkWarning(CCommunicationInterface::PortNotOpened);
        QList<QMessageBox *> boxes;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
                boxes << box;
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first()->text(), QStringLiteral("串口打开失败"));
        QCOMPARE(boxes.first()->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Retry));
        boxes.first()->close();
    }

    // Catches the program aborting when the protocol singleton is reached again while the link's
    // warning is on screen: a child process creates it over a serial port that does not exist.
    void creatingTheProtocolWithAWarningNeverAborts()
    {
        TestWorkDir dir;
        dir.write(QStringLiteral("DependFile/ConfigFile/config.xml"),
                  QStringLiteral("<config><communicateType type=\"0\"/><serialPort portName=\"%1/no-such-tty\" baud=\"9600\"/></config>")
                      .arg(dir.path()).toUtf8());
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(dir.path());
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(), QStringLiteral("警告|串口打开失败|Retry"));
    }

    // A write error starts the reopen timer; the link comes back when the port opens again.
    void serialWriteErrorReopensTheLink()
    {
        TestWorkDir dir;
        PtyPair pty;
        configure(dir, QStringLiteral("<serialPort portName=\"%1\" baud=\"115200\"/>").arg(pty.slavePath()));
        CSerialportInterface serial;
        QVERIFY(port(serial)->isOpen());
        QTimer *reopen = reopenTimer(serial);
        reopen->setInterval(20);
        QSignalSpy errors(&serial, &CCommunicationInterface::signalDisplayError);

        // The port reports a failed write: the routine reopens at once and starts the timer.
        QTest::ignoreMessage(QtDebugMsg, "定时器开始运行");
        serial.slotDisplayError(QSerialPort::WriteError);
        QVERIFY(reopen->isActive());
        QVERIFY(port(serial)->isOpen());
        QVERIFY(errors.count() >= 1); // the port's own "no error" on reopening may come first
        for (const QList<QVariant> &args : errors)
            QCOMPARE(args.at(0).toString(), QString());

        QTest::ignoreMessage(QtDebugMsg, "Hello");
        QTest::ignoreMessage(QtDebugMsg, "串口重新打开成功");
        QTRY_VERIFY(!reopen->isActive());
        QCOMPARE(errors.last().at(0).toString(), QString());

        // and the link still carries frames both ways
        QSignalSpy spy(&serial, &CCommunicationInterface::signalReadyRead);
        pty.write(hex("BA040200000000DC"));
        QTRY_COMPARE(spy.count(), 1);
        serial.sendData(hex("AB040500000000CD"));
        QCOMPARE(pty.readAtLeast(8), hex("AB040500000000CD"));
    }

    // The device side goes away (pty closed): the port is closed instead of repeating its read
    // error, the link is reported down until it is open again, the reopen timer keeps trying, and
    // the link is back once a device answers again.
    void serialDeviceThatDisappearsIsReopenedByTheTimer()
    {
        TestWorkDir dir;
        auto pty = std::make_unique<PtyPair>();
        configure(dir, QStringLiteral("<serialPort portName=\"%1\" baud=\"115200\"/>").arg(pty->slavePath()));
        CSerialportInterface serial;
        QTimer *reopen = reopenTimer(serial);
        reopen->setInterval(20);
        QSignalSpy errors(&serial, &CCommunicationInterface::signalDisplayError);

        QTest::ignoreMessage(QtDebugMsg, "定时器开始运行");
        pty.reset();
        // The freed pts number may go to another process's terminal at once; the settings
        // name a device that is gone for good instead.
        configure(dir, QStringLiteral("<serialPort portName=\"%1/gone\" baud=\"115200\"/>").arg(dir.path()));
        QTRY_VERIFY(reopen->isActive());
        QVERIFY(!errors.isEmpty());
        const QString gone = errors.first().at(0).toString();
        QVERIFY2(gone == QLatin1String("ReadError") || gone == QLatin1String("ResourceError"), qPrintable(gone));
        QTest::qWait(100);
        int goneErrors = 0;
        for (const QList<QVariant> &args : errors) {
            goneErrors += args.at(0).toString() == gone;
            // Catches the link reported fine (the empty name) while the port is shut.
            QVERIFY(!args.at(0).toString().isEmpty());
        }
        QCOMPARE(goneErrors, 1); // no storm of read errors
        QVERIFY(reopen->isActive()); // keeps trying
        serial.sendData(hex("AB040500000000CD")); // dropped while the port is shut

        PtyPair again;
        configure(dir, QStringLiteral("<serialPort portName=\"%1\" baud=\"115200\"/>").arg(again.slavePath()));
        QTRY_VERIFY(!reopen->isActive());
        QVERIFY(port(serial)->isOpen());
        QCOMPARE(errors.last().at(0).toString(), QString());

        QSignalSpy spy(&serial, &CCommunicationInterface::signalReadyRead);
        again.write(hex("BA040200000000DC"));
        QTRY_COMPARE(spy.count(), 1);
        serial.sendData(hex("AB040500000000CD"));
        QCOMPARE(again.readAtLeast(8), hex("AB040500000000CD"));
    }

    // ---- every link: a receiver in a nested event loop ----

    void framesKeepComingWhileAReceiverRunsANestedLoop_data()
    {
        QTest::addColumn<int>("type");
        // Catches a serial port that stops reading for good once a prompt outlasts its buffer.
        QTest::newRow("serial") << int(CCommunicateAPI::Serial);
        // Catches every datagram being held until the prompt closes.
        QTest::newRow("udp") << int(CCommunicateAPI::Udp);
        // Catches the stream being held until the prompt closes.
        QTest::newRow("tcp") << int(CCommunicateAPI::Tcp);
    }

    // The first frame opens a 1.5 s nested loop while the device sends 20 frames a second: the
    // frames keep arriving during the loop, in order, and none is lost.
    void framesKeepComingWhileAReceiverRunsANestedLoop()
    {
        QFETCH(int, type);
        TestWorkDir dir;
        PtyPair pty;
        QUdpSocket udpDevice;
        QVERIFY(udpDevice.bind(QHostAddress(QHostAddress::LocalHost), 0));
        const quint16 udpLocal = freeUdpPort();
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        configure(dir, QStringLiteral("<serialPort portName=\"%1\" baud=\"115200\"/>"
                                      "<udpServerAddress IP=\"127.0.0.1\" port=\"%2\"/><udpClientAddress IP=\"127.0.0.1\" port=\"%3\"/>"
                                      "<tcpAddress IP=\"127.0.0.1\" port=\"%4\"/>")
                           .arg(pty.slavePath()).arg(udpLocal).arg(udpDevice.localPort()).arg(server.serverPort()));
        CCommunicateAPI api(type);
        QTcpSocket *tcpDevice = nullptr;
        if (type == CCommunicateAPI::Tcp) {
            QTRY_VERIFY(server.hasPendingConnections());
            tcpDevice = server.nextPendingConnection();
        }

        NestedLoopProbe probe; // a prompt opened from live data, the old way
        connect(&api, &CCommunicateAPI::signalReadyRead, &api,
                [&](QByteArray frame) { probe.receive(uint8_t(frame.at(3))); });
        constexpr int kFrames = 40;
        int sent = 0;
        QTimer device;
        device.setInterval(50);
        connect(&device, &QTimer::timeout, &device, [&] {
            const char seq = char(sent);
            if (type == CCommunicateAPI::Serial)
                pty.write(hex("BA0402") + seq + hex("000000DC"));
            else if (type == CCommunicateAPI::Udp)
                udpDevice.writeDatagram(hex("AB0402") + seq + hex("0000000000000000"), QHostAddress::LocalHost, udpLocal);
            else
                tcpDevice->write(hex("BA0402") + seq + hex("000000DC"));
            if (++sent == kFrames)
                device.stop();
        });
        device.start();
        QTRY_COMPARE_WITH_TIMEOUT(probe.values().size(), kFrames, 6000);
        QCOMPARE(probe.values(), NestedLoopProbe::sequence(0, kFrames));
        QVERIFY2(probe.duringLoop() >= 20, qPrintable(QString::number(probe.duringLoop())));
    }

    // ---- UDP ----

    void udpDatagramsAreCheckedOneByOne()
    {
        TestWorkDir dir;
        const quint16 local = freeUdpPort();
        QUdpSocket peer;
        QVERIFY(peer.bind(QHostAddress(QHostAddress::LocalHost), 0));
        configure(dir, QStringLiteral("<udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/><udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/>")
                           .arg(local).arg(peer.localPort()));
        CUdpInterface udp;
        QCOMPARE(udpSocket(udp)->state(), QAbstractSocket::BoundState);
        QSignalSpy spy(&udp, &CCommunicationInterface::signalReadyRead);

        const auto send = [&](const QByteArray &datagram) {
            peer.writeDatagram(datagram, QHostAddress::LocalHost, local);
        };
        send(hex("AB020102030405060000"));           // L + 8: delivered
        send(hex("AB02010203040506000077"));         // longer: cut to L + 8
        send(hex("AB0201020304050600"));             // L + 7: dropped
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(frames(spy), (QList<QByteArray>{hex("AB020102030405060000"), hex("AB020102030405060000")}));
    }

    // Good datagrams queued behind a bad one are handed on in the same notification.
    void udpGoodDatagramsBehindABadOneAreNotHeldBack()
    {
        TestWorkDir dir;
        const quint16 local = freeUdpPort();
        QUdpSocket peer;
        QVERIFY(peer.bind(QHostAddress(QHostAddress::LocalHost), 0));
        configure(dir, QStringLiteral("<udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/><udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/>")
                           .arg(local).arg(peer.localPort()));
        CUdpInterface udp;
        // Handle the queue by hand, once, after everything has arrived.
        disconnect(udpSocket(udp), &QUdpSocket::readyRead, &udp, &CUdpInterface::slotReadyRead);
        QSignalSpy spy(&udp, &CCommunicationInterface::signalReadyRead);

        const QList<QByteArray> datagrams{hex("BA020102030405060000"), hex("AB020102030405060100"),
                                          hex("AB00AA0000000000"), hex("AB0001020304 0000"),
                                          hex("AB01EE000000000000")};
        for (const QByteArray &datagram : datagrams)
            peer.writeDatagram(datagram, QHostAddress::LocalHost, local);
        QTRY_VERIFY(udpSocket(udp)->hasPendingDatagrams());
        QTest::qWait(50); // all five are in the socket's queue
        udp.slotReadyRead();
        QVERIFY(!udpSocket(udp)->hasPendingDatagrams());
        QTRY_COMPARE(frames(spy), (QList<QByteArray>{hex("AB00AA0000000000"), hex("AB00010203040000"),
                                                     hex("AB01EE000000000000")}));
    }

    // Catches another host on the network injecting frames: only the configured client's
    // datagrams are taken, and each other sender is logged once.
    void udpTakesDatagramsFromTheTrainerOnly()
    {
        TestWorkDir dir;
        const quint16 local = freeUdpPort();
        QUdpSocket trainer;
        QVERIFY(trainer.bind(QHostAddress(QHostAddress::LocalHost), 0));
        QUdpSocket foreign;
        QVERIFY(foreign.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        configure(dir, QStringLiteral("<udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/><udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/>")
                           .arg(local).arg(trainer.localPort()));
        CUdpInterface udp;
        QSignalSpy spy(&udp, &CCommunicationInterface::signalReadyRead);
        WarningLog log;
        const QByteArray injected = hex("AB0401000000000000000000");
        foreign.writeDatagram(injected, QHostAddress::LocalHost, local);
        foreign.writeDatagram(injected, QHostAddress::LocalHost, local);
        QTest::qWait(50);
        trainer.writeDatagram(hex("AB0402000000000000000000"), QHostAddress::LocalHost, local);
        QTRY_COMPARE(spy.count(), 1);
        QTest::qWait(50);
        QCOMPARE(frames(spy), QList<QByteArray>{hex("AB0402000000000000000000")});
        QCOMPARE(WarningLog::lines(), QStringList{QStringLiteral("udp: datagrams from 127.0.0.2 dropped: the trainer is at \"127.0.0.1\"")});
    }

    // The destination is read from the settings on every send.
    void udpSendsToTheClientAddressOfTheMoment()
    {
        TestWorkDir dir;
        QUdpSocket first;
        QUdpSocket second;
        QVERIFY(first.bind(QHostAddress(QHostAddress::LocalHost), 0));
        QVERIFY(second.bind(QHostAddress(QHostAddress::LocalHost), 0));
        configure(dir, QStringLiteral("<udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/><udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/>")
                           .arg(freeUdpPort()).arg(first.localPort()));
        CCommunicateAPI api(CCommunicateAPI::Udp);
        api.sendRealTimeParam(0x04, 1);
        QTRY_VERIFY(first.hasPendingDatagrams());
        QCOMPARE(first.receiveDatagram().data(), hex("AB040204010000CD"));

        configure(dir, QStringLiteral("<udpClientAddress IP=\"127.0.0.1\" port=\"%1\"/>").arg(second.localPort()));
        api.sendHeartBeat();
        QTRY_VERIFY(second.hasPendingDatagrams());
        QCOMPARE(second.receiveDatagram().data(), hex("AB040500000000CD"));

        configure(dir, QStringLiteral("<udpClientAddress IP=\"127.0.0.1\" port=\"0\"/>"));
        api.sendHeartBeat(); // no valid address: dropped
        QTest::qWait(30);
        QVERIFY(!first.hasPendingDatagrams() && !second.hasPendingDatagrams());
    }

    void udpReportsBoundAndClosingStates()
    {
        TestWorkDir dir;
        configure(dir, QStringLiteral("<udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>").arg(freeUdpPort()));
        CUdpInterface udp;
        QSignalSpy spy(&udp, &CCommunicationInterface::signalStateChanged);
        udpSocket(udp)->close();
        QVERIFY(udp.initCommunication());
        QList<int> states;
        for (const QList<QVariant> &args : spy)
            states << args.at(0).toInt();
        QVERIFY2(states.contains(CUdpInterface::kStateBound), qPrintable(QString::number(states.size())));
    }

    void udpWithoutAValidAddressBindsNothingAndSendsNothing_data()
    {
        QTest::addColumn<QString>("elements");
        QTest::addColumn<QString>("warning");
        QTest::newRow("no addresses") << QString() << QString();
        // Catches a host name binding every interface.
        QTest::newRow("host name") << QStringLiteral("<udpServerAddress IP=\"localhost\" port=\"%1\"/>").arg(freeUdpPort())
                                   << QStringLiteral("udp: server address \"localhost\" is not an IP address; nothing bound");
    }

    void udpWithoutAValidAddressBindsNothingAndSendsNothing()
    {
        QFETCH(QString, elements);
        QFETCH(QString, warning);
        TestWorkDir dir;
        configure(dir, elements);
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        CUdpInterface udp;
        QCOMPARE(udpSocket(udp)->state(), QAbstractSocket::UnconnectedState);
        udp.sendData(hex("AB040500000000CD"));
    }

    // ---- TCP ----

    void tcpCutsFramesAndReconnects()
    {
        TestWorkDir dir;
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        // A host name resolves (catches connecting by IP address only).
        configure(dir, QStringLiteral("<tcpAddress IP=\"localhost\" port=\"%1\"/>").arg(server.serverPort()));
        CCommunicateAPI api(CCommunicateAPI::Tcp);
        QVERIFY(api.findChild<CTcpSocketInterface *>());
        api.findChild<QTimer *>(QStringLiteral("reconnectTimer"))->setInterval(20);
        QTcpSocket *socket = tcpSocket(api);
        QSignalSpy spy(&api, &CCommunicateAPI::signalReadyRead);

        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *peer = server.nextPendingConnection();
        QTRY_COMPARE(socket->state(), QAbstractSocket::ConnectedState);
        // Catches a peer that vanishes without closing going unnoticed.
        QCOMPARE(socket->socketOption(QAbstractSocket::KeepAliveOption).toInt(), 1);
        peer->write(hex("FFBA0402000000"));
        peer->flush();
        QTest::qWait(20);
        peer->write(hex("00DC") + hex("BA0008") + hex("AA00DC"));
        peer->flush();
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), hex("BA040200000000DC"));

        api.sendHeartBeat();
        QTRY_COMPARE(peer->bytesAvailable(), qint64(8));
        QCOMPARE(peer->readAll(), hex("AB040500000000CD"));

        // The peer goes away: the client reconnects by itself.
        peer->disconnectFromHost();
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *again = server.nextPendingConnection();
        QTRY_COMPARE(socket->state(), QAbstractSocket::ConnectedState);
        again->write(hex("BA0011DC"));
        QTRY_COMPARE(spy.count(), 2);
    }

    void tcpReportsErrorsByNameOnceAndClearsThem()
    {
        TestWorkDir dir;
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 port = probe.serverPort();
        probe.close(); // nothing listens there now
        configure(dir, QStringLiteral("<tcpAddress IP=\"127.0.0.1\" port=\"%1\"/>").arg(port));
        CCommunicateAPI api(CCommunicateAPI::Tcp);
        api.findChild<QTimer *>(QStringLiteral("reconnectTimer"))->setInterval(20);
        QSignalSpy spy(&api, &CCommunicateAPI::signalCommunicateChanged);
        QTRY_VERIFY(spy.count() >= 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("ConnectionRefusedError"));
        QTest::qWait(100); // several refused retries
        QCOMPARE(spy.count(), 1);

        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, port));
        QTRY_COMPARE(tcpSocket(api)->state(), QAbstractSocket::ConnectedState);
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toString(), QString());
        api.sendHeartBeat();
    }

    // Catches a connection attempt to a peer that never answers hanging for minutes: it is given
    // up after the connect timeout (shortened here) and tried again.
    void tcpGivesUpASilentPeerAndRetries()
    {
        // A listening socket whose accept queue is full drops every further SYN unanswered.
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        QVERIFY(listener >= 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr *>(&address), length) == 0);
        QVERIFY(::listen(listener, 0) == 0);
        QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) == 0);
        const quint16 port = ntohs(address.sin_port);
        QTcpSocket filler;
        filler.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(filler.waitForConnected(2000));

        TestWorkDir dir;
        configure(dir, QStringLiteral("<tcpAddress IP=\"127.0.0.1\" port=\"%1\"/>").arg(port));
        CCommunicateAPI api(CCommunicateAPI::Tcp);
        QTimer *connectTimer = api.findChild<QTimer *>(QStringLiteral("connectTimer"));
        QVERIFY(connectTimer);
        QCOMPARE(connectTimer->interval(), CTcpSocketInterface::kConnectTimeoutMs);
        connectTimer->setInterval(100);
        api.findChild<QTimer *>(QStringLiteral("reconnectTimer"))->setInterval(20);
        QSignalSpy errors(&api, &CCommunicateAPI::signalCommunicateChanged);
        qRegisterMetaType<QAbstractSocket::SocketState>();
        QSignalSpy states(tcpSocket(api), &QAbstractSocket::stateChanged);
        QTRY_VERIFY_WITH_TIMEOUT(!errors.isEmpty(), 2000);
        QCOMPARE(errors.first().at(0).toString(), QStringLiteral("SocketTimeoutError"));
        int attempts = 0;
        const auto countAttempts = [&] {
            attempts = 0;
            for (const QList<QVariant> &args : states)
                attempts += args.at(0).value<QAbstractSocket::SocketState>() == QAbstractSocket::ConnectingState;
            return attempts;
        };
        QTRY_VERIFY_WITH_TIMEOUT(countAttempts() >= 2, 2000);
        ::close(listener);
    }

    // ---- no transport ----

    void unknownCommunicationTypeDropsEverySend()
    {
        for (int type : {-1, 3, 100}) {
            CCommunicateAPI api(type);
            QVERIFY(!api.findChild<CCommunicationInterface *>());
            QSignalSpy spy(&api, &CCommunicateAPI::signalReadyRead);
            api.sendHeartBeat();
            api.sendBicycleParam(ST_BicycleParam());
            api.sendRealTimeParam(1, 2);
            api.sendFrame(QByteArray());
            QCOMPARE(spy.count(), 0);
        }
    }

    void singletonFollowsTheConfiguration()
    {
        TestWorkDir dir;
        configure(dir, QStringLiteral("<communicateType type=\"-1\"/>"));
        QCOMPARE(CCommunicateAPI::getInstance(), CCommunicateAPI::getInstance());
        QCOMPARE(CCommunicateAPI::getInstance()->communicateType(), -1);
        QVERIFY(!CCommunicateAPI::getInstance()->findChild<CCommunicationInterface *>());
    }
};

// The child process of creatingTheProtocolWithAWarningNeverAborts: creates the protocol singleton
// as start-up does, while a timer reaches for it too, and prints the warning box it then shows.
static int linkWarningChild()
{
    if (!ConfigManager::getInstance()->readConfigFile())
        return 2;
    QTimer::singleShot(0, qApp, [] { CCommunicateAPI::getInstance(); });
    LinkWarningPresenter::install(qApp);
    QObject::connect(CCommunicateAPI::getInstance(), &CCommunicateAPI::signalLinkWarning, qApp,
                     [] { CCommunicateAPI::getInstance(); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, qApp, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        const QString line = box->windowTitle() + QLatin1Char('|') + box->text() + QLatin1Char('|')
                             + (box->standardButtons() == QMessageBox::Retry ? QStringLiteral("Retry") : QStringLiteral("?"));
        std::fputs(line.toUtf8().append('\n').constData(), stdout);
        box->close();
        QCoreApplication::exit(0);
    });
    poll.start(20);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(3); });
    return QCoreApplication::exec();
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kChildVariable))
        return linkWarningChild();
    TestTransports test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_transports.moc"
