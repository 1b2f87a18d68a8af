#include "comm/cudpinterface.h"

#include "app/configmanager.h"
#include "comm/deviceframe.h"

#include <QDebug>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

CUdpInterface::CUdpInterface(QObject *parent) : CCommunicationInterface(parent), m_udpSocket(new QUdpSocket(this))
{
    connect(m_udpSocket, &QUdpSocket::readyRead, this, &CUdpInterface::slotReadyRead);
    connect(m_udpSocket, &QUdpSocket::stateChanged, this, &CUdpInterface::slotStateChanged);
    initCommunication();
}

bool CUdpInterface::initCommunication()
{
    quint16 port = 0;
    QString ip;
    if (ConfigManager::getInstance()->getUdpServerAddress(port, ip)) {
        if (m_udpSocket->bind(QHostAddress(ip), port,
                              QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint))
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

void CUdpInterface::slotReadyRead()
{
    // A datagram that fails its check is dropped; the ones queued behind it are still handled
    // now, not held back until some later datagram arrives.
    while (m_udpSocket->hasPendingDatagrams()) {
        const QByteArray datagram = m_udpSocket->receiveDatagram().data();
        if (DeviceFrame::checkDatagram(datagram) == DeviceFrame::DatagramVerdict::Frame)
            emit signalReadyRead(DeviceFrame::datagramFrame(datagram));
    }
}

void CUdpInterface::slotStateChanged(QAbstractSocket::SocketState state)
{
    if (state == QAbstractSocket::BoundState)
        emit signalStateChanged(kStateBound);
    else if (state == QAbstractSocket::ClosingState)
        emit signalStateChanged(kStateClosing);
}
