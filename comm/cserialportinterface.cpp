#include "comm/cserialportinterface.h"

#include "app/configmanager.h"
#include "app/languagemanager.h"
#include "comm/deviceprotocol.h"

#include <QDebug>
#include <QMessageBox>
#include <QTimer>

CSerialportInterface::CSerialportInterface(QObject *parent)
    : CCommunicationInterface(parent),
      m_serialPort(new QSerialPort(this)),
      m_cutter(DeviceProtocol::kStreamStart, DeviceProtocol::kStreamEnd, DeviceProtocol::kMachineMaxLength)
{
    connect(m_serialPort, &QSerialPort::readyRead, this, &CSerialportInterface::slotReadyRead);
    connect(m_serialPort, &QSerialPort::errorOccurred, this, &CSerialportInterface::slotDisplayError);
    initCommunication();
    m_reopenTimer = new QTimer(this);
    m_reopenTimer->setInterval(kReopenIntervalMs);
    connect(m_reopenTimer, &QTimer::timeout, this, &CSerialportInterface::slotReopenTimer);
}

void CSerialportInterface::warnMissingConfig()
{
    QMessageBox::warning(nullptr, tr("警告"), tr("获取串口配置失败"), QMessageBox::Retry);
}

bool CSerialportInterface::openPort(bool *configMissing)
{
    m_serialPort->close();
    m_cutter.clear();
    ST_SerialPortConfig config;
    if (!ConfigManager::getInstance()->getSerialPortConfig(config)) {
        *configMissing = true;
        return false;
    }
    *configMissing = false;
    m_serialPort->setPortName(config.portName);
    m_serialPort->setReadBufferSize(kReadBufferSize);
    if (!m_serialPort->open(QIODevice::ReadWrite))
        return false;
    // The file's data bits, parity, stop bits and flow control are not applied: the controller
    // only speaks 8N1 without flow control.
    m_serialPort->setBaudRate(config.baud, QSerialPort::AllDirections);
    m_serialPort->setDataBits(QSerialPort::Data8);
    m_serialPort->setParity(QSerialPort::NoParity);
    m_serialPort->setStopBits(QSerialPort::OneStop);
    m_serialPort->setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

bool CSerialportInterface::initCommunication()
{
    bool configMissing = false;
    if (openPort(&configMissing))
        return true;
    if (configMissing) {
        warnMissingConfig();
        return false;
    }
    const int language = LanguageManager::getInstance()->getLanguage();
    if (language != Chinese_E)
        QMessageBox::warning(nullptr, tr("Warning"), tr("Failed to open the serial port"), QMessageBox::Retry);
    else
        QMessageBox::warning(nullptr, tr("警告"), tr("串口打开失败"), QMessageBox::Retry);
    qDebug() << "current language index:" << language;
    return false;
}

void CSerialportInterface::sendData(const QByteArray &data)
{
    if (m_serialPort && m_serialPort->isOpen())
        m_serialPort->write(data);
}

void CSerialportInterface::slotReadyRead()
{
    const QList<QByteArray> frames = m_cutter.feed(m_serialPort->readAll());
    for (const QByteArray &frame : frames)
        emit signalReadyRead(frame);
}

QString CSerialportInterface::errorName(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("DeviceNotFoundError");
    case QSerialPort::PermissionError:
        return QStringLiteral("PermissionError");
    case QSerialPort::OpenError:
        return QStringLiteral("OpenError");
    case QSerialPort::ReadError:
        return QStringLiteral("ReadError");
    case QSerialPort::UnknownError:
        return QStringLiteral("UnknownError");
    case QSerialPort::NotOpenError:
        return QStringLiteral("NotOpenError");
    default:
        return QString();
    }
}

void CSerialportInterface::slotDisplayError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::WriteError) {
        m_reopenTimer->start();
        qDebug().noquote() << QStringLiteral("定时器开始运行");
        initCommunication();
    } else if ((error == QSerialPort::ReadError || error == QSerialPort::ResourceError)
               && m_serialPort->isOpen()) {
        // The device has gone (cable pulled, adapter reset). Left open, the port repeats the
        // error in a tight loop and never recovers; close it and let the timer reopen it.
        m_serialPort->close();
        if (!m_reopenTimer->isActive()) {
            m_reopenTimer->start();
            qDebug().noquote() << QStringLiteral("定时器开始运行");
        }
    }
    emit signalDisplayError(errorName(error));
}

void CSerialportInterface::slotReopenTimer()
{
    qDebug().noquote() << QStringLiteral("Hello");
    if (m_serialPort->isOpen()) {
        qDebug().noquote() << QStringLiteral("串口重新打开成功");
        m_reopenTimer->stop();
        slotDisplayError(QSerialPort::NoError);
        return;
    }
    bool configMissing = false;
    openPort(&configMissing);
    if (configMissing)
        warnMissingConfig();
    qDebug().noquote() << QStringLiteral("串口重新打开失败");
}
