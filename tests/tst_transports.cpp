#include "app/configmanager.h"
#include "comm/ccommunicateapi.h"
#include "comm/cserialportinterface.h"
#include "comm/ctcpsocketinterface.h"
#include "comm/cudpinterface.h"
#include "comm/deviceframe.h"
#include "common/modalcloser.h"
#include "common/ptypair.h"
#include "common/testworkdir.h"
#include "training/bicycleparam.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

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
        QVERIFY(serial.port()->isOpen());
        QCOMPARE(serial.port()->baudRate(), 115200);
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
        QTest::newRow("resource") << int(QSerialPort::ResourceError) << QString();
        QTest::newRow("timeout") << int(QSerialPort::TimeoutError) << QString();
    }

    void serialErrorNames()
    {
        QFETCH(int, error);
        QFETCH(QString, name);
        QCOMPARE(CSerialportInterface::errorName(QSerialPort::SerialPortError(error)), name);
    }

    // Missing settings and a port that does not open: the boxes, the error name, nothing sent.
    void serialWithoutPortWarnsAndDropsFrames()
    {
        TestWorkDir dir;
        configure(dir, QString());
        {
            ModalCloser closer;
            CSerialportInterface serial;
            QCOMPARE(closer.seen(), QStringList{QStringLiteral("警告|获取串口配置失败")});
            serial.sendData(hex("AB040500000000CD")); // dropped, no crash
            QVERIFY(!serial.port()->isOpen());
        }
        configure(dir, QStringLiteral("<serialPort portName=\"%1/no-such-tty\" baud=\"9600\"/>").arg(dir.path()));
        {
            ModalCloser closer;
            QTest::ignoreMessage(QtDebugMsg, "current language index: 0");
            CSerialportInterface serial;
            QCOMPARE(closer.seen(), QStringList{QStringLiteral("警告|串口打开失败")});
            QSignalSpy spy(&serial, &CCommunicationInterface::signalDisplayError);
            QTest::ignoreMessage(QtDebugMsg, "current language index: 0");
            serial.initCommunication();
            QStringList names;
            for (const QList<QVariant> &args : spy)
                names << args.at(0).toString();
            QVERIFY2(names.contains(QStringLiteral("DeviceNotFoundError")), qPrintable(names.join(QLatin1Char(','))));
        }
    }

    // A write error starts the reopen timer; the link comes back when the port opens again.
    void serialWriteErrorReopensTheLink()
    {
        TestWorkDir dir;
        PtyPair pty;
        configure(dir, QStringLiteral("<serialPort portName=\"%1\" baud=\"115200\"/>").arg(pty.slavePath()));
        CSerialportInterface serial;
        QVERIFY(serial.port()->isOpen());
        serial.reopenTimer()->setInterval(20);
        QSignalSpy errors(&serial, &CCommunicationInterface::signalDisplayError);

        // The port reports a failed write: the routine reopens at once and starts the timer.
        QTest::ignoreMessage(QtDebugMsg, "定时器开始运行");
        serial.slotDisplayError(QSerialPort::WriteError);
        QVERIFY(serial.reopenTimer()->isActive());
        QVERIFY(serial.port()->isOpen());
        QVERIFY(errors.count() >= 1); // the port's own "no error" on reopening may come first
        for (const QList<QVariant> &args : errors)
            QCOMPARE(args.at(0).toString(), QString());

        QTest::ignoreMessage(QtDebugMsg, "Hello");
        QTest::ignoreMessage(QtDebugMsg, "串口重新打开成功");
        QTRY_VERIFY(!serial.reopenTimer()->isActive());
        QCOMPARE(errors.last().at(0).toString(), QString());

        // and the link still carries frames both ways
        QSignalSpy spy(&serial, &CCommunicationInterface::signalReadyRead);
        pty.write(hex("BA040200000000DC"));
        QTRY_COMPARE(spy.count(), 1);
        serial.sendData(hex("AB040500000000CD"));
        QCOMPARE(pty.readAtLeast(8), hex("AB040500000000CD"));
    }

    // The device side goes away (pty closed): the port is closed instead of repeating its read
    // error, the reopen timer keeps trying, and the link is back once a device answers again.
    void serialDeviceThatDisappearsIsReopenedByTheTimer()
    {
        TestWorkDir dir;
        auto pty = std::make_unique<PtyPair>();
        configure(dir, QStringLiteral("<serialPort portName=\"%1\" baud=\"115200\"/>").arg(pty->slavePath()));
        CSerialportInterface serial;
        serial.reopenTimer()->setInterval(20);
        QSignalSpy errors(&serial, &CCommunicationInterface::signalDisplayError);

        QTest::ignoreMessage(QtDebugMsg, "定时器开始运行");
        pty.reset();
        // The freed pts number may go to another process's terminal at once; the settings
        // name a device that is gone for good instead.
        configure(dir, QStringLiteral("<serialPort portName=\"%1/gone\" baud=\"115200\"/>").arg(dir.path()));
        QTRY_VERIFY(serial.reopenTimer()->isActive());
        QVERIFY(!errors.isEmpty());
        QCOMPARE(errors.first().at(0).toString(), QStringLiteral("ReadError"));
        QTest::qWait(100);
        int readErrors = 0;
        for (const QList<QVariant> &args : errors)
            readErrors += args.at(0).toString() == QLatin1String("ReadError");
        QCOMPARE(readErrors, 1); // no storm of read errors
        QVERIFY(serial.reopenTimer()->isActive()); // keeps trying
        serial.sendData(hex("AB040500000000CD")); // dropped while the port is shut

        PtyPair again;
        configure(dir, QStringLiteral("<serialPort portName=\"%1\" baud=\"115200\"/>").arg(again.slavePath()));
        QTRY_VERIFY(!serial.reopenTimer()->isActive());
        QVERIFY(serial.port()->isOpen());
        QCOMPARE(errors.last().at(0).toString(), QString());

        QSignalSpy spy(&serial, &CCommunicationInterface::signalReadyRead);
        again.write(hex("BA040200000000DC"));
        QTRY_COMPARE(spy.count(), 1);
        serial.sendData(hex("AB040500000000CD"));
        QCOMPARE(again.readAtLeast(8), hex("AB040500000000CD"));
    }

    // ---- UDP ----

    void udpDatagramsAreCheckedOneByOne()
    {
        TestWorkDir dir;
        const quint16 local = freeUdpPort();
        configure(dir, QStringLiteral("<udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>").arg(local));
        CUdpInterface udp;
        QCOMPARE(udp.socket()->state(), QAbstractSocket::BoundState);
        QSignalSpy spy(&udp, &CCommunicationInterface::signalReadyRead);

        QUdpSocket peer;
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
        configure(dir, QStringLiteral("<udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>").arg(local));
        CUdpInterface udp;
        // Handle the queue by hand, once, after everything has arrived.
        disconnect(udp.socket(), &QUdpSocket::readyRead, &udp, &CUdpInterface::slotReadyRead);
        QSignalSpy spy(&udp, &CCommunicationInterface::signalReadyRead);

        QUdpSocket peer;
        const QList<QByteArray> datagrams{hex("BA020102030405060000"), hex("AB020102030405060100"),
                                          hex("AB00AA0000000000"), hex("AB0001020304 0000"),
                                          hex("AB01EE000000000000")};
        for (const QByteArray &datagram : datagrams)
            peer.writeDatagram(datagram, QHostAddress::LocalHost, local);
        QTRY_VERIFY(udp.socket()->hasPendingDatagrams());
        QTest::qWait(50); // all five are in the socket's queue
        udp.slotReadyRead();
        QCOMPARE(frames(spy), (QList<QByteArray>{hex("AB00AA0000000000"), hex("AB00010203040000"),
                                                 hex("AB01EE000000000000")}));
        QVERIFY(!udp.socket()->hasPendingDatagrams());
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
        udp.socket()->close();
        QVERIFY(udp.initCommunication());
        QList<int> states;
        for (const QList<QVariant> &args : spy)
            states << args.at(0).toInt();
        QVERIFY2(states.contains(CUdpInterface::kStateBound), qPrintable(QString::number(states.size())));
    }

    void udpWithoutAddressesBindsNothingAndSendsNothing()
    {
        TestWorkDir dir;
        configure(dir, QString());
        CUdpInterface udp;
        QCOMPARE(udp.socket()->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(udp.initCommunication()); // true in every case
        udp.sendData(hex("AB040500000000CD"));
    }

    // ---- TCP ----

    void tcpCutsFramesAndReconnects()
    {
        TestWorkDir dir;
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        configure(dir, QStringLiteral("<tcpAddress IP=\"127.0.0.1\" port=\"%1\"/>").arg(server.serverPort()));
        CCommunicateAPI api(CCommunicateAPI::Tcp);
        auto *tcp = qobject_cast<CTcpSocketInterface *>(api.transport());
        QVERIFY(tcp);
        tcp->reconnectTimer()->setInterval(20);
        QSignalSpy spy(&api, &CCommunicateAPI::signalReadyRead);

        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *peer = server.nextPendingConnection();
        QTRY_COMPARE(tcp->socket()->state(), QAbstractSocket::ConnectedState);
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
        QTRY_COMPARE(tcp->socket()->state(), QAbstractSocket::ConnectedState);
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
        auto *tcp = qobject_cast<CTcpSocketInterface *>(api.transport());
        tcp->reconnectTimer()->setInterval(20);
        QSignalSpy spy(&api, &CCommunicateAPI::signalCommunicateChanged);
        QTRY_VERIFY(spy.count() >= 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("ConnectionRefusedError"));
        QTest::qWait(100); // several refused retries
        QCOMPARE(spy.count(), 1);

        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, port));
        QTRY_COMPARE(tcp->socket()->state(), QAbstractSocket::ConnectedState);
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toString(), QString());
        api.sendHeartBeat();
    }

    // ---- no transport ----

    void unknownCommunicationTypeDropsEverySend()
    {
        for (int type : {-1, 3, 100}) {
            CCommunicateAPI api(type);
            QVERIFY(!api.transport());
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
        QVERIFY(!CCommunicateAPI::getInstance()->transport());
    }
};

QTEST_MAIN(TestTransports)
#include "tst_transports.moc"
