#include "hostlink.h"

#include <QHostAddress>
#include <QUdpSocket>

HostLink::HostLink(quint16 portIn, quint16 portOut, QObject *parent)
    : QObject(parent), m_socket(new QUdpSocket(this)), m_portIn(portIn), m_portOut(portOut)
{
    connect(m_socket, &QUdpSocket::readyRead, this, &HostLink::readDatagrams);
}

bool HostLink::listen()
{
    if (m_socket->bind(QHostAddress(QHostAddress::LocalHost), m_portIn))
        return true;
    // Sending from an unbound socket would bind it to every interface; stay on loopback.
    m_bindError = m_socket->errorString();
    m_socket->bind(QHostAddress(QHostAddress::LocalHost), 0);
    return false;
}

void HostLink::sendRunning()
{
    m_socket->writeDatagram(HostMessage::running(), QHostAddress(QHostAddress::LocalHost), m_portOut);
}

void HostLink::sendEnded()
{
    m_socket->writeDatagram(HostMessage::ended(), QHostAddress(QHostAddress::LocalHost), m_portOut);
}

void HostLink::readDatagrams()
{
    QByteArray buffer;
    for (int turn = 0; turn < kMaxDatagramsPerTurn && m_socket->hasPendingDatagrams(); ++turn) {
        const qint64 size = m_socket->pendingDatagramSize();
        // One byte past the limit is enough to know a datagram is too large.
        buffer.resize(int(qBound<qint64>(0, size, HostMessage::kMaxDatagramSize + 1)));
        QHostAddress sender;
        const qint64 read = m_socket->readDatagram(buffer.data(), buffer.size(), &sender);
        if (read < 0)
            break;
        buffer.resize(int(read));
        if (sender != QHostAddress(QHostAddress::LocalHost)) {
            emit datagramIgnored(QStringLiteral("from %1, not from the host").arg(sender.toString()));
            continue;
        }
        const HostMessage::Message message = HostMessage::read(buffer);
        switch (message.kind) {
        case HostMessage::Message::Kind::LiveData:
            emit liveDataReceived(message.liveData);
            break;
        case HostMessage::Message::Kind::GameState:
            emit gameStateReceived(message.gameState);
            break;
        case HostMessage::Message::Kind::Ignored:
            emit datagramIgnored(message.ignoredBecause);
            break;
        }
    }
}
