#pragma once

#include <QString>
#include <QtGlobal>

class QXmlStreamAttributes;

// One serial port of the installation, numbers as written in the file.
struct ST_SerialPortConfig
{
    QString portName;
    int32_t baud = 0;
    uint8_t dataBits = 0;
    uint8_t parity = 0;
    uint8_t stopBit = 0;
    uint8_t flowControl = 0;
};

struct ST_DataBaseConfig
{
    QString IP;
    uint16_t port = 0;
    QString userName;
    QString password;
};

// Installation settings read once from config.xml; the file is never written.
class ConfigManager
{
public:
    static constexpr const char *kConfigFilePath = "./DependFile/ConfigFile/config.xml";

    static ConfigManager *getInstance();

    // A fresh holder with the initial values; the process uses getInstance().
    ConfigManager() = default;

    bool readConfigFile();

    bool getUdpServerAddress(uint16_t &port, QString &IP) const;
    bool getUdpClientAddress(uint16_t &port, QString &IP) const;
    bool getTcpAddress(uint16_t &port, QString &IP) const;
    bool getUdpGameServerAddress(uint16_t &port, QString &IP) const;
    bool getUdpGameClientAddress(uint16_t &port, QString &IP) const;
    bool getSerialPortConfig(ST_SerialPortConfig &config) const;
    bool getSerialPortAConfig(ST_SerialPortConfig &config) const;
    bool getSerialPortBConfig(ST_SerialPortConfig &config) const;
    bool getDataBaseConfig(ST_DataBaseConfig &config) const;
    int32_t getCommunicateType() const;
    QString getVideoPath() const;

private:
    struct Address
    {
        QString IP;
        uint16_t port = 0;
    };

    static void readAddress(const QXmlStreamAttributes &attributes, Address &address);
    static void readSerialPort(const QXmlStreamAttributes &attributes, ST_SerialPortConfig &port);

    Address m_udpServer;
    Address m_udpClient;
    Address m_gameClient;
    Address m_gameServer;
    Address m_tcp;
    ST_SerialPortConfig m_serialPort;
    ST_SerialPortConfig m_serialPortA;
    ST_SerialPortConfig m_serialPortB;
    ST_DataBaseConfig m_dataBase;
    int32_t m_communicateType = -1;
    QString m_videoPath;
};
