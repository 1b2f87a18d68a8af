#include "app/configmanager.h"
#include "common/testworkdir.h"

#include <QtTest>

// Reading the installation's config.xml: every rule of the format, and bad files.
class TestConfig : public QObject
{
    Q_OBJECT

private:
    // Writes config.xml into a fresh working folder and reads it into a fresh holder.
    static bool readConfig(TestWorkDir &dir, ConfigManager &config, const QByteArray &xml)
    {
        dir.write(QStringLiteral("DependFile/ConfigFile/config.xml"), xml);
        return config.readConfigFile();
    }

private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // The shipped file must give the simulated trainer's UDP link and the FES port.
    void shippedFileDescribesLoopbackUdpLink()
    {
        TestWorkDir dir;
        QVERIFY(dir.copyFromRepo(QStringLiteral("ConfigFile/config.xml")));
        ConfigManager config;
        QVERIFY(config.readConfigFile());
        QCOMPARE(config.getCommunicateType(), 1);
        quint16 port = 0;
        QString ip;
        QVERIFY(config.getUdpServerAddress(port, ip));
        QCOMPARE(ip, QStringLiteral("127.0.0.1"));
        QVERIFY(config.getUdpClientAddress(port, ip));
        QCOMPARE(ip, QStringLiteral("127.0.0.1"));
        ST_SerialPortConfig serial;
        QVERIFY(config.getSerialPortAConfig(serial));
        QCOMPARE(serial.baud, 115200);
    }

    // Every element and attribute lands in its own field.
    void everyElementFillsItsFields()
    {
        TestWorkDir dir;
        ConfigManager config;
        QVERIFY(readConfig(dir, config, R"(<?xml version="1.0"?>
<config version="9">
  <tcpAddress IP="10.0.0.1" port="5000"/>
  <udpServerAddress IP="127.0.0.1" port="6000"/>
  <udpClientAddress IP="127.0.0.2" port="6001"/>
  <udpGameServerAddress IP="127.0.0.3" port="12000"/>
  <udpGameClientAddress IP="127.0.0.4" port="2100"/>
  <serialPort portName="COM3" baud="115200" dataBits="8" parity="2" stopBit="1" flowControl="0"/>
  <serialPortA portName="COM4" baud="9600" dataBits="7" parity="0" stopBit="2" flowControl="1"/>
  <serialPortB portName="COM5" baud="4800" dataBits="6" parity="1" stopBit="3" flowControl="2"/>
  <dataBase IP="db.local" port="3306" userName="u" password="p w"/>
  <communicateType type="2"/>
  <videoTips videoPath="D:/video/" videoNum="4"/>
</config>)"));
        quint16 port = 0;
        QString ip;
        QVERIFY(config.getTcpAddress(port, ip));
        QCOMPARE(port, quint16(5000));
        QCOMPARE(ip, QStringLiteral("10.0.0.1"));
        QVERIFY(config.getUdpServerAddress(port, ip));
        QCOMPARE(port, quint16(6000));
        QVERIFY(config.getUdpClientAddress(port, ip));
        QCOMPARE(port, quint16(6001));
        QCOMPARE(ip, QStringLiteral("127.0.0.2"));
        QVERIFY(config.getUdpGameServerAddress(port, ip));
        QCOMPARE(port, quint16(12000));
        QVERIFY(config.getUdpGameClientAddress(port, ip));
        QCOMPARE(ip, QStringLiteral("127.0.0.4"));

        ST_SerialPortConfig serial;
        QVERIFY(config.getSerialPortConfig(serial));
        QCOMPARE(serial.portName, QStringLiteral("COM3"));
        QCOMPARE(serial.parity, quint8(2));
        QVERIFY(config.getSerialPortAConfig(serial));
        QCOMPARE(serial.portName, QStringLiteral("COM4"));
        QCOMPARE(serial.baud, 9600);
        QCOMPARE(serial.dataBits, quint8(7));
        QCOMPARE(serial.stopBit, quint8(2));
        QCOMPARE(serial.flowControl, quint8(1));
        QVERIFY(config.getSerialPortBConfig(serial));
        QCOMPARE(serial.portName, QStringLiteral("COM5"));

        ST_DataBaseConfig db;
        QVERIFY(config.getDataBaseConfig(db));
        QCOMPARE(db.port, quint16(3306));
        QCOMPARE(db.password, QStringLiteral("p w"));
        QCOMPARE(config.getCommunicateType(), 2);
        QCOMPARE(config.getVideoPath(), QStringLiteral("D:/video/"));
    }

    void numbersKeepTheirLowBits_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("dataBits");
        QTest::addColumn<QString>("baud");
        QTest::addColumn<int>("expectedPort");
        QTest::addColumn<int>("expectedDataBits");
        QTest::addColumn<int>("expectedBaud");
        QTest::newRow("plain") << "8080" << "8" << "115200" << 8080 << 8 << 115200;
        QTest::newRow("port past 16 bits") << "70000" << "8" << "9600" << 4464 << 8 << 9600;
        QTest::newRow("byte past 8 bits") << "1" << "264" << "9600" << 1 << 8 << 9600;
        QTest::newRow("negative") << "-1" << "-1" << "-9600" << 65535 << 255 << -9600;
        QTest::newRow("not numbers") << "abc" << "8x" << "abc" << 0 << 0 << 0;
        QTest::newRow("hex is not decimal") << "0x10" << "0x8" << "0x2580" << 0 << 0 << 0;
        QTest::newRow("past 32 bits") << "4294967297" << "1" << "99999999999" << 0 << 1 << 0;
        QTest::newRow("empty") << "" << "" << "" << 0 << 0 << 0;
    }

    void numbersKeepTheirLowBits()
    {
        QFETCH(QString, port);
        QFETCH(QString, dataBits);
        QFETCH(QString, baud);
        TestWorkDir dir;
        ConfigManager config;
        const QString xml = QStringLiteral(
            "<config><udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>"
            "<serialPort portName=\"/dev/ttyS0\" baud=\"%3\" dataBits=\"%2\"/></config>")
                                .arg(port, dataBits, baud);
        QVERIFY(readConfig(dir, config, xml.toUtf8()));
        quint16 readPort = 0;
        QString ip;
        QFETCH(int, expectedPort);
        QCOMPARE(config.getUdpServerAddress(readPort, ip), expectedPort != 0);
        QCOMPARE(int(readPort), expectedPort);
        ST_SerialPortConfig serial;
        QFETCH(int, expectedBaud);
        QCOMPARE(config.getSerialPortConfig(serial), expectedBaud != 0);
        QFETCH(int, expectedDataBits);
        QCOMPARE(int(serial.dataBits), expectedDataBits);
        QCOMPARE(serial.baud, expectedBaud);
    }

    // Validity of the address and port accessors.
    void accessorsReportIncompleteSettings()
    {
        TestWorkDir dir;
        ConfigManager config;
        QVERIFY(readConfig(dir, config,
                           "<config><udpServerAddress IP=\"127.0.0.1\" port=\"0\"/>"
                           "<udpClientAddress port=\"9000\"/>"
                           "<serialPort portName=\"\" baud=\"9600\"/>"
                           "<serialPortA portName=\"COM1\"/></config>"));
        quint16 port = 1;
        QString ip;
        QVERIFY(!config.getUdpServerAddress(port, ip)); // port 0 with an IP
        QCOMPARE(ip, QStringLiteral("127.0.0.1"));
        QVERIFY(!config.getUdpClientAddress(port, ip)); // port without an IP
        QCOMPARE(port, quint16(9000));
        QVERIFY(!config.getTcpAddress(port, ip));
        QVERIFY(config.getUdpGameServerAddress(port, ip)); // always true, even empty
        QVERIFY(ip.isEmpty());
        ST_SerialPortConfig serial;
        QVERIFY(!config.getSerialPortConfig(serial)); // empty name
        QVERIFY(!config.getSerialPortAConfig(serial)); // baud 0
        ST_DataBaseConfig db;
        QVERIFY(!config.getDataBaseConfig(db));
        QCOMPARE(config.getCommunicateType(), -1); // no communicateType element
    }

    // Names are case-sensitive, any depth, and the later element wins; absent attributes keep values.
    void namesDepthAndOrder()
    {
        TestWorkDir dir;
        ConfigManager config;
        QVERIFY(readConfig(dir, config, R"(<?xml version="1.0"?>
<!-- installation -->
<?app something?>
<config>
  <SerialPort portName="WRONG" baud="1"/>
  <group><deeper>
    <serialPort portName="COM1" baud="9600" dataBits="8"/>
  </deeper></group>
  text between elements
  <serialPort portName="COM2"/>
  <communicateType type="0"/>
  <COMMUNICATETYPE type="2"/>
  <communicatetype type="2"/>
  <udpServerAddress ip="1.2.3.4" PORT="7" IP="127.0.0.1" port="7000"/>
</config>)"));
        ST_SerialPortConfig serial;
        QVERIFY(config.getSerialPortConfig(serial));
        QCOMPARE(serial.portName, QStringLiteral("COM2"));
        QCOMPARE(serial.baud, 9600);
        QCOMPARE(serial.dataBits, quint8(8));
        QCOMPARE(config.getCommunicateType(), 0);
        quint16 port = 0;
        QString ip;
        QVERIFY(config.getUdpServerAddress(port, ip));
        QCOMPARE(ip, QStringLiteral("127.0.0.1"));
        QCOMPARE(port, quint16(7000));
    }

    // A file that breaks off fails, but what was read before the break stays.
    void truncatedFileKeepsValuesReadBeforeTheBreak()
    {
        TestWorkDir dir;
        ConfigManager config;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(
            QStringLiteral("^错误信息：.+ 行号：\\d+ 列号：\\d+ 字符移位：\\d+$")));
        QVERIFY(!readConfig(dir, config,
                            "<config>\n<communicateType type=\"1\"/>\n"
                            "<udpServerAddress IP=\"127.0.0.1\" port=\"6000\"/>\n<serialPort portNa"));
        QCOMPARE(config.getCommunicateType(), 1);
        quint16 port = 0;
        QString ip;
        QVERIFY(config.getUdpServerAddress(port, ip));
        QCOMPARE(port, quint16(6000));
    }

    // The error line names where reading stopped.
    void errorMessageGivesLineColumnAndOffset()
    {
        TestWorkDir dir;
        ConfigManager config;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(
            QStringLiteral("^错误信息：.+ 行号：3 列号：\\d+ 字符移位：\\d+$")));
        QVERIFY(!readConfig(dir, config, "<config>\n<a>\n</b>\n</config>\n"));
    }

    void badFilesFail_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("only a declaration") << QByteArray("<?xml version=\"1.0\"?>");
        QTest::newRow("not xml") << QByteArray("communicateType=1\n");
        QTest::newRow("two roots") << QByteArray("<config/><config/>");
        QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe<config>", 10);
    }

    void badFilesFail()
    {
        QFETCH(QByteArray, content);
        TestWorkDir dir;
        ConfigManager config;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^错误信息：")));
        QVERIFY(!readConfig(dir, config, content));
    }

    void missingFileFails()
    {
        TestWorkDir dir;
        ConfigManager config;
        QTest::ignoreMessage(QtDebugMsg, "配置文件打开失败");
        QVERIFY(!config.readConfigFile());
        QCOMPARE(config.getCommunicateType(), -1);
    }

    // Another root is read like config (elements count at any depth), with a warning in the log.
    void otherRootIsReadWithAWarning()
    {
        TestWorkDir dir;
        ConfigManager config;
        QTest::ignoreMessage(QtWarningMsg, "config.xml: root element <GameList>, expected <config>");
        QVERIFY(readConfig(dir, config, "<GameList><communicateType type=\"1\"/></GameList>"));
        QCOMPARE(config.getCommunicateType(), 1);
    }

    // A second read overwrites only what the file names.
    void secondReadKeepsWhatTheFileDoesNotName()
    {
        TestWorkDir dir;
        ConfigManager config;
        QVERIFY(readConfig(dir, config, "<config><communicateType type=\"2\"/><videoTips videoPath=\"v\"/></config>"));
        QVERIFY(readConfig(dir, config, "<config><communicateType type=\"0\"/></config>"));
        QCOMPARE(config.getCommunicateType(), 0);
        QCOMPARE(config.getVideoPath(), QStringLiteral("v"));
    }

    void singletonIsOneObject()
    {
        QVERIFY(ConfigManager::getInstance() == ConfigManager::getInstance());
        QCOMPARE(ConfigManager::getInstance()->getCommunicateType(), -1);
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
