#include "comm/cserialportinterface.h"

#include "app/configmanager.h"
#include "app/languagemanager.h"
#include "comm/deviceprotocol.h"

#include <QDebug>
#include <QTimer>

CSerialportInterface::CSerialportInterface(QObject *parent)
    : CCommunicationInterface(parent),
      m_serialPort(new QSerialPort(this)),
      m_cutter(DeviceProtocol::kStreamStart, DeviceProtocol::kStreamEnd, DeviceProtocol::kMachineMaxLength)
{
    m_serialPort->setObjectName(QStringLiteral("serialPort"));
    connect(m_serialPort, &QSerialPort::readyRead, this, &CSerialportInterface::slotReadyRead);
    connect(m_serialPort, &QSerialPort::errorOccurred, this, &CSerialportInterface::slotDisplayError);
    // Made before the first open: the error routine may need it at once.
    m_reopenTimer = new QTimer(this);
    m_reopenTimer->setObjectName(QStringLiteral("reopenTimer"));
    m_reopenTimer->setInterval(kReopenIntervalMs);
    connect(m_reopenTimer, &QTimer::timeout, this, &CSerialportInterface::slotReopenTimer);
    initCommunication();
}

bool CSerialportInterface::openPort(bool *configMissing)
{
    // Closing a closed port would only report NotOpenError.
    if (m_serialPort->isOpen())
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
        postWarning(ConfigMissing);
        return false;
    }
    qDebug() << "current language index:" << LanguageManager::getInstance()->getLanguage();
    postWarning(PortNotOpened);
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
        handOn(frame);
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
    case QSerialPort::ResourceError:
        // The device has gone: the link is down, not fine.
        return QStringLiteral("ResourceError");
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
    const QString name = errorName(error);
    // The empty name says the link is fine: never while the port is shut (opening a port first
    // reports "no error", also when the open then fails).
    if (name.isEmpty() && !m_serialPort->isOpen())
        return;
    emit signalDisplayError(name);
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
        postWarning(ConfigMissing);
    qDebug().noquote() << QStringLiteral("串口重新打开失败");
}

void CSerialportInterface::flush(int msecs)
{
    if (m_serialPort && m_serialPort->isOpen() && m_serialPort->bytesToWrite() > 0)
        m_serialPort->waitForBytesWritten(msecs);
}
