#include "comm/ctcpsocketinterface.h"

#include "app/configmanager.h"
#include "comm/deviceprotocol.h"

#include <QDebug>
#include <QHostAddress>
#include <QMetaEnum>
#include <QTcpSocket>
#include <QTimer>

CTcpSocketInterface::CTcpSocketInterface(QObject *parent)
    : CCommunicationInterface(parent),
      m_tcpSocket(new QTcpSocket(this)),
      m_reconnectTimer(new QTimer(this)),
      m_connectTimer(new QTimer(this)),
      m_cutter(DeviceProtocol::kStreamStart, DeviceProtocol::kStreamEnd, DeviceProtocol::kMachineMaxLength)
{
    m_tcpSocket->setObjectName(QStringLiteral("tcpSocket"));
    m_reconnectTimer->setObjectName(QStringLiteral("reconnectTimer"));
    m_connectTimer->setObjectName(QStringLiteral("connectTimer"));
    connect(m_tcpSocket, &QTcpSocket::readyRead, this, &CTcpSocketInterface::slotReadyRead);
    connect(m_tcpSocket, &QTcpSocket::connected, this, &CTcpSocketInterface::slotConnected);
    connect(m_tcpSocket, &QTcpSocket::disconnected, this, &CTcpSocketInterface::slotDisconnected);
    connect(m_tcpSocket, &QTcpSocket::errorOccurred, this, &CTcpSocketInterface::slotError);
    m_reconnectTimer->setInterval(kReconnectIntervalMs);
    connect(m_reconnectTimer, &QTimer::timeout, this, &CTcpSocketInterface::slotReconnect);
    m_connectTimer->setSingleShot(true);
    m_connectTimer->setInterval(kConnectTimeoutMs);
    connect(m_connectTimer, &QTimer::timeout, this, &CTcpSocketInterface::slotConnectTimeout);
    initCommunication();
}

bool CTcpSocketInterface::initCommunication()
{
    quint16 port = 0;
    QString ip;
    if (!ConfigManager::getInstance()->getTcpAddress(port, ip))
        return false;
    m_reconnectTimer->start();
    slotReconnect();
    return true;
}

void CTcpSocketInterface::slotReconnect()
{
    if (m_tcpSocket->state() != QAbstractSocket::UnconnectedState)
        return;
    quint16 port = 0;
    QString ip;
    if (!ConfigManager::getInstance()->getTcpAddress(port, ip))
        return;
    m_cutter.clear();
    m_connectTimer->start();
    m_tcpSocket->connectToHost(ip, port);
}

void CTcpSocketInterface::slotConnectTimeout()
{
    const QAbstractSocket::SocketState state = m_tcpSocket->state();
    if (state != QAbstractSocket::HostLookupState && state != QAbstractSocket::ConnectingState)
        return;
    // A peer that never answers would hold the socket in its connecting state for minutes.
    m_tcpSocket->abort();
    slotError(QAbstractSocket::SocketTimeoutError);
}

void CTcpSocketInterface::sendData(const QByteArray &data)
{
    if (m_tcpSocket && m_tcpSocket->state() == QAbstractSocket::ConnectedState)
        m_tcpSocket->write(data);
}

void CTcpSocketInterface::slotReadyRead()
{
    const QList<QByteArray> frames = m_cutter.feed(m_tcpSocket->readAll());
    for (const QByteArray &frame : frames)
        handOn(frame);
}

void CTcpSocketInterface::slotConnected()
{
    m_reconnectTimer->stop();
    m_connectTimer->stop();
    // A peer that vanishes without closing (cable pulled) is noticed by the keep-alive probes.
    m_tcpSocket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    qDebug() << "tcp connected" << m_tcpSocket->peerAddress().toString() << m_tcpSocket->peerPort();
    if (!m_lastError.isEmpty()) {
        m_lastError.clear();
        emit signalDisplayError(QString());
    }
}

void CTcpSocketInterface::slotDisconnected()
{
    m_reconnectTimer->start();
}

QString CTcpSocketInterface::errorName(QAbstractSocket::SocketError error)
{
    return QString::fromLatin1(QMetaEnum::fromType<QAbstractSocket::SocketError>().valueToKey(error));
}

void CTcpSocketInterface::slotError(QAbstractSocket::SocketError error)
{
    const QString name = errorName(error);
    if (!m_reconnectTimer->isActive() && m_tcpSocket->state() != QAbstractSocket::ConnectedState)
        m_reconnectTimer->start();
    // A refused connect repeats every second; report a name once, not every retry.
    if (name == m_lastError)
        return;
    m_lastError = name;
    emit signalDisplayError(name);
}

void CTcpSocketInterface::flush(int msecs)
{
    if (m_tcpSocket && m_tcpSocket->isOpen() && m_tcpSocket->bytesToWrite() > 0)
        m_tcpSocket->waitForBytesWritten(msecs);
}
