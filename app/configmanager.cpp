#include "app/configmanager.h"

#include <QDebug>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QXmlStreamReader>

namespace {

// Decimal integer or 0; the callers keep as many low bits as their field holds.
int32_t decimal(const QXmlStreamAttributes &attributes, const QString &name)
{
    bool ok = false;
    const int value = attributes.value(name).toInt(&ok, 10);
    return ok ? value : 0;
}

template<typename T>
void setNumber(const QXmlStreamAttributes &attributes, const char *name, T &field)
{
    const QString key = QString::fromLatin1(name);
    if (attributes.hasAttribute(key))
        field = static_cast<T>(decimal(attributes, key));
}

void setText(const QXmlStreamAttributes &attributes, const char *name, QString &field)
{
    const QString key = QString::fromLatin1(name);
    if (attributes.hasAttribute(key))
        field = attributes.value(key).toString();
}

} // namespace

ConfigManager *ConfigManager::getInstance()
{
    static QMutex mutex;
    static ConfigManager *instance = nullptr;
    QMutexLocker locker(&mutex);
    if (!instance)
        instance = new ConfigManager;
    return instance;
}

void ConfigManager::readAddress(const QXmlStreamAttributes &attributes, Address &address)
{
    setText(attributes, "IP", address.IP);
    setNumber(attributes, "port", address.port);
}

void ConfigManager::readSerialPort(const QXmlStreamAttributes &attributes, ST_SerialPortConfig &port)
{
    setText(attributes, "portName", port.portName);
    setNumber(attributes, "baud", port.baud);
    setNumber(attributes, "dataBits", port.dataBits);
    setNumber(attributes, "parity", port.parity);
    setNumber(attributes, "stopBit", port.stopBit);
    setNumber(attributes, "flowControl", port.flowControl);
}

bool ConfigManager::readConfigFile()
{
    QFile file(QString::fromLatin1(kConfigFilePath));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug().noquote() << QStringLiteral("配置文件打开失败");
        return false;
    }

    QXmlStreamReader reader(&file);
    bool rootSeen = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const QStringRef name = reader.name();
        const QXmlStreamAttributes attributes = reader.attributes();
        if (!rootSeen) {
            rootSeen = true;
            // Elements are taken at any depth, so another root still works; say so in the log.
            if (name != QLatin1String("config"))
                qWarning().noquote() << QStringLiteral("config.xml: root element <%1>, expected <config>")
                                            .arg(name.toString());
        }
        if (name == QLatin1String("config")) {
            // the root's attributes are not used
        } else if (name == QLatin1String("tcpAddress")) {
            readAddress(attributes, m_tcp);
        } else if (name == QLatin1String("udpServerAddress")) {
            readAddress(attributes, m_udpServer);
        } else if (name == QLatin1String("udpClientAddress")) {
            readAddress(attributes, m_udpClient);
        } else if (name == QLatin1String("udpGameServerAddress")) {
            readAddress(attributes, m_gameServer);
        } else if (name == QLatin1String("udpGameClientAddress")) {
            readAddress(attributes, m_gameClient);
        } else if (name == QLatin1String("serialPort")) {
            readSerialPort(attributes, m_serialPort);
        } else if (name == QLatin1String("serialPortA")) {
            readSerialPort(attributes, m_serialPortA);
        } else if (name == QLatin1String("serialPortB")) {
            readSerialPort(attributes, m_serialPortB);
        } else if (name == QLatin1String("dataBase")) {
            setText(attributes, "IP", m_dataBase.IP);
            setNumber(attributes, "port", m_dataBase.port);
            setText(attributes, "userName", m_dataBase.userName);
            setText(attributes, "password", m_dataBase.password);
        } else if (name == QLatin1String("communicateType")) {
            setNumber(attributes, "type", m_communicateType);
        } else if (name == QLatin1String("videoTips")) {
            setText(attributes, "videoPath", m_videoPath);
            // videoNum is part of the format but nothing uses it
        }
    }
    file.close();

    if (reader.hasError()) {
        qDebug().noquote() << QStringLiteral("错误信息：%1 行号：%2 列号：%3 字符移位：%4")
                                  .arg(reader.errorString())
                                  .arg(reader.lineNumber())
                                  .arg(reader.columnNumber())
                                  .arg(reader.characterOffset());
        return false;
    }
    return true;
}

bool ConfigManager::getUdpServerAddress(uint16_t &port, QString &IP) const
{
    port = m_udpServer.port;
    IP = m_udpServer.IP;
    return port != 0 && !IP.isEmpty();
}

bool ConfigManager::getUdpClientAddress(uint16_t &port, QString &IP) const
{
    port = m_udpClient.port;
    IP = m_udpClient.IP;
    return port != 0 && !IP.isEmpty();
}

bool ConfigManager::getTcpAddress(uint16_t &port, QString &IP) const
{
    port = m_tcp.port;
    IP = m_tcp.IP;
    return port != 0 && !IP.isEmpty();
}

bool ConfigManager::getUdpGameServerAddress(uint16_t &port, QString &IP) const
{
    port = m_gameServer.port;
    IP = m_gameServer.IP;
    return true;
}

bool ConfigManager::getUdpGameClientAddress(uint16_t &port, QString &IP) const
{
    port = m_gameClient.port;
    IP = m_gameClient.IP;
    return true;
}

bool ConfigManager::getSerialPortConfig(ST_SerialPortConfig &config) const
{
    config = m_serialPort;
    return !config.portName.isEmpty() && config.baud != 0;
}

bool ConfigManager::getSerialPortAConfig(ST_SerialPortConfig &config) const
{
    config = m_serialPortA;
    return !config.portName.isEmpty() && config.baud != 0;
}

bool ConfigManager::getSerialPortBConfig(ST_SerialPortConfig &config) const
{
    config = m_serialPortB;
    return !config.portName.isEmpty() && config.baud != 0;
}

bool ConfigManager::getDataBaseConfig(ST_DataBaseConfig &config) const
{
    config = m_dataBase;
    return !config.IP.isEmpty();
}

int32_t ConfigManager::getCommunicateType() const
{
    return m_communicateType;
}

QString ConfigManager::getVideoPath() const
{
    return m_videoPath;
}
