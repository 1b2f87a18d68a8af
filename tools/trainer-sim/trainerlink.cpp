#include "trainerlink.h"

#include "comm/deviceprotocol.h"
#include "machineframe.h"
#include "tools/simcommon/ptyendpoint.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

TrainerLink::TrainerLink(QObject *parent)
    : QObject(parent), m_cutter(DeviceProtocol::kHostStart, DeviceProtocol::kHostEnd, DeviceProtocol::kHostMaxLength)
{
}

bool TrainerLink::openUdp(const QHostAddress &bindAddress, quint16 bindPort, const QHostAddress &peer,
                          quint16 peerPort)
{
    m_udp = new QUdpSocket(this);
    if (!m_udp->bind(bindAddress, bindPort)) {
        m_error = QStringLiteral("cannot bind UDP %1:%2: %3")
                      .arg(bindAddress.toString()).arg(bindPort).arg(m_udp->errorString());
        return false;
    }
    m_peer = peer;
    m_peerPort = peerPort;
    m_kind = Kind::Udp;
    connect(m_udp, &QUdpSocket::readyRead, this, &TrainerLink::readUdp);
    return true;
}

bool TrainerLink::openSerial(const QString &linkPath)
{
    m_pty = new PtyEndpoint(this);
    m_kind = Kind::Serial;
    if (!m_pty->open(linkPath)) {
        m_error = m_pty->error();
        return false;
    }
    connect(m_pty, &PtyEndpoint::received, this, &TrainerLink::feedStream);
    connect(m_pty, &PtyEndpoint::outputDropped, this,
            [this] { emit notice(QStringLiteral("pty full, output dropped until the host reads")); });
    return true;
}

bool TrainerLink::openTcp(const QHostAddress &address, quint16 port)
{
    m_tcpServer = new QTcpServer(this);
    if (!m_tcpServer->listen(address, port)) {
        m_error = QStringLiteral("cannot listen on TCP %1:%2: %3")
                      .arg(address.toString()).arg(port).arg(m_tcpServer->errorString());
        return false;
    }
    m_kind = Kind::Tcp;
    connect(m_tcpServer, &QTcpServer::newConnection, this, &TrainerLink::acceptTcpClient);
    return true;
}

QString TrainerLink::ptyPath() const
{
    return m_pty ? m_pty->ptyPath() : QString();
}

QString TrainerLink::linkPath() const
{
    return m_pty ? m_pty->linkPath() : QString();
}

QString TrainerLink::description() const
{
    switch (m_kind) {
    case Kind::Udp:
        return QStringLiteral("udp: bound %1:%2, sending to %3:%4")
            .arg(m_udp->localAddress().toString()).arg(m_udp->localPort())
            .arg(m_peer.toString()).arg(m_peerPort);
    case Kind::Serial:
        return QStringLiteral("pty: %1").arg(ptyPath());
    case Kind::Tcp:
        return QStringLiteral("tcp: listening on %1:%2%3")
            .arg(m_tcpServer->serverAddress().toString()).arg(m_tcpServer->serverPort())
            .arg(m_tcpClient ? QStringLiteral(", client %1:%2").arg(m_tcpClient->peerAddress().toString())
                                   .arg(m_tcpClient->peerPort())
                             : QStringLiteral(", no client"));
    case Kind::None:
        break;
    }
    return QStringLiteral("no link");
}

quint16 TrainerLink::localPort() const
{
    if (m_kind == Kind::Udp)
        return m_udp->localPort();
    if (m_kind == Kind::Tcp)
        return m_tcpServer->serverPort();
    return 0;
}

void TrainerLink::sendPayload(const QByteArray &payload)
{
    switch (m_kind) {
    case Kind::Udp:
        m_udp->writeDatagram(MachineFrame::datagram(payload), m_peer, m_peerPort);
        break;
    case Kind::Serial:
        m_pty->write(MachineFrame::streamFrame(payload));
        break;
    case Kind::Tcp:
        if (!m_tcpClient)
            return;
        m_tcpClient->write(MachineFrame::streamFrame(payload));
        break;
    case Kind::None:
        return;
    }
    ++m_framesSent;
}

void TrainerLink::sendRaw(const QByteArray &bytes)
{
    switch (m_kind) {
    case Kind::Udp:
        m_udp->writeDatagram(bytes, m_peer, m_peerPort);
        break;
    case Kind::Serial:
        m_pty->write(bytes);
        break;
    case Kind::Tcp:
        if (m_tcpClient)
            m_tcpClient->write(bytes);
        break;
    case Kind::None:
        break;
    }
}

void TrainerLink::readUdp()
{
    // Over UDP every datagram is one host frame.
    while (m_udp->hasPendingDatagrams()) {
        const QByteArray datagram = m_udp->receiveDatagram().data();
        ++m_framesReceived;
        emit frameReceived(datagram);
    }
}

void TrainerLink::feedStream(const QByteArray &bytes)
{
    const QList<QByteArray> frames = m_cutter.feed(bytes);
    if (m_cutter.droppedBytes() != m_reportedDrops) {
        emit notice(QStringLiteral("rx skipped %1 bytes outside frames").arg(m_cutter.droppedBytes() - m_reportedDrops));
        m_reportedDrops = m_cutter.droppedBytes();
    }
    for (const QByteArray &frame : frames) {
        ++m_framesReceived;
        emit frameReceived(frame);
    }
}

void TrainerLink::acceptTcpClient()
{
    while (QTcpSocket *socket = m_tcpServer->nextPendingConnection()) {
        if (m_tcpClient) {
            emit notice(QStringLiteral("tcp: refused %1:%2, a client is connected")
                            .arg(socket->peerAddress().toString()).arg(socket->peerPort()));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_tcpClient = socket;
        m_cutter.clear();
        connect(socket, &QTcpSocket::readyRead, this, &TrainerLink::readTcp);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            emit notice(QStringLiteral("tcp: client disconnected"));
            if (m_tcpClient == socket)
                m_tcpClient = nullptr;
            socket->deleteLater();
        });
        emit notice(QStringLiteral("tcp: client %1:%2 connected")
                        .arg(socket->peerAddress().toString()).arg(socket->peerPort()));
    }
}

void TrainerLink::readTcp()
{
    if (m_tcpClient)
        feedStream(m_tcpClient->readAll());
}
