#include "comm/cudpinterface.h"

#include "app/configmanager.h"
#include "comm/deviceframe.h"

#include <QDebug>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

namespace {
// Foreign senders remembered for logging; beyond this many, further ones are dropped unlogged so
// that a flood of forged addresses cannot grow memory.
constexpr int kMaxLoggedSenders = 64;
} // namespace

CUdpInterface::CUdpInterface(QObject *parent) : CCommunicationInterface(parent), m_udpSocket(new QUdpSocket(this))
{
    m_udpSocket->setObjectName(QStringLiteral("udpSocket"));
    connect(m_udpSocket, &QUdpSocket::readyRead, this, &CUdpInterface::slotReadyRead);
    connect(m_udpSocket, &QUdpSocket::stateChanged, this, &CUdpInterface::slotStateChanged);
    initCommunication();
}

bool CUdpInterface::initCommunication()
{
    quint16 port = 0;
    QString ip;
    if (ConfigManager::getInstance()->getUdpServerAddress(port, ip)) {
        // An invalid address would bind every interface: bind nothing instead.
        const QHostAddress address(ip);
        if (address.isNull())
            qWarning().noquote() << QStringLiteral("udp: server address \"%1\" is not an IP address; nothing bound").arg(ip);
        else if (m_udpSocket->bind(address, port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint))
            qDebug() << "bind successed" << port << ip;
    }
    return true;
}

void CUdpInterface::sendData(const QByteArray &data)
{
    // Fetched on every send, so the address is always the configured one.
    quint16 port = 0;
    QString ip;
    if (!ConfigManager::getInstance()->getUdpClientAddress(port, ip) || !m_udpSocket)
        return;
    m_udpSocket->writeDatagram(data, QHostAddress(ip), port);
}

bool CUdpInterface::isFromClient(const QHostAddress &sender)
{
    quint16 port = 0;
    QString ip;
    if (ConfigManager::getInstance()->getUdpClientAddress(port, ip)
        && QHostAddress(ip).isEqual(sender, QHostAddress::ConvertV4MappedToIPv4))
        return true;
    const QString name = sender.toString();
    if (m_foreignSenders.size() < kMaxLoggedSenders && !m_foreignSenders.contains(name)) {
        m_foreignSenders.insert(name);
        qWarning().noquote() << QStringLiteral("udp: datagrams from %1 dropped: the trainer is at \"%2\"").arg(name, ip);
    }
    return false;
}

void CUdpInterface::slotReadyRead()
{
    // A datagram that fails its check is dropped; the ones queued behind it are still handled
    // now, not held back until some later datagram arrives.
    while (m_udpSocket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_udpSocket->receiveDatagram();
        if (!isFromClient(datagram.senderAddress()))
            continue;
        const QByteArray bytes = datagram.data();
        if (DeviceFrame::checkDatagram(bytes) == DeviceFrame::DatagramVerdict::Frame)
            handOn(DeviceFrame::datagramFrame(bytes));
    }
}

void CUdpInterface::slotStateChanged(QAbstractSocket::SocketState state)
{
    if (state == QAbstractSocket::BoundState)
        emit signalStateChanged(kStateBound);
    else if (state == QAbstractSocket::ClosingState)
        emit signalStateChanged(kStateClosing);
}
