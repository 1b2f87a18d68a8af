#include "trainerlink.h"

#include "comm/deviceprotocol.h"
#include "machineframe.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkDatagram>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

TrainerLink::TrainerLink(QObject *parent)
    : QObject(parent), m_cutter(DeviceProtocol::kHostStart, DeviceProtocol::kHostEnd)
{
}

TrainerLink::~TrainerLink()
{
    closePty();
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
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        m_error = QStringLiteral("openpty failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B115200);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    // Never block on a full pty when nobody reads the other end.
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_ptyMaster = master;
    // Holding the slave open keeps reads on the master from failing while no host has it open.
    m_ptySlave = slave;
    m_ptyPath = QString::fromLocal8Bit(name);
    m_kind = Kind::Serial;

    if (!linkPath.isEmpty()) {
        const QFileInfo existing(linkPath);
        if (existing.isSymLink())
            ::unlink(QFile::encodeName(linkPath).constData());
        if (::symlink(name, QFile::encodeName(linkPath).constData()) != 0) {
            m_error = QStringLiteral("cannot make the link %1: %2")
                          .arg(linkPath, QString::fromLocal8Bit(std::strerror(errno)));
            closePty();
            return false;
        }
        m_linkPath = linkPath;
    }

    m_ptyNotifier = new QSocketNotifier(m_ptyMaster, QSocketNotifier::Read, this);
    connect(m_ptyNotifier, &QSocketNotifier::activated, this, &TrainerLink::readPty);
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

void TrainerLink::closePty()
{
    if (m_ptyNotifier) {
        m_ptyNotifier->setEnabled(false);
        delete m_ptyNotifier;
        m_ptyNotifier = nullptr;
    }
    if (!m_linkPath.isEmpty()) {
        // Only remove the link if it is still ours.
        if (QFileInfo(m_linkPath).symLinkTarget() == QFileInfo(m_ptyPath).absoluteFilePath())
            ::unlink(QFile::encodeName(m_linkPath).constData());
        m_linkPath.clear();
    }
    if (m_ptyMaster >= 0)
        ::close(m_ptyMaster);
    if (m_ptySlave >= 0)
        ::close(m_ptySlave);
    m_ptyMaster = -1;
    m_ptySlave = -1;
}

QString TrainerLink::description() const
{
    switch (m_kind) {
    case Kind::Udp:
        return QStringLiteral("udp: bound %1:%2, sending to %3:%4")
            .arg(m_udp->localAddress().toString()).arg(m_udp->localPort())
            .arg(m_peer.toString()).arg(m_peerPort);
    case Kind::Serial:
        return QStringLiteral("pty: %1").arg(m_ptyPath);
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
        writePty(MachineFrame::streamFrame(payload));
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
        writePty(bytes);
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

void TrainerLink::readPty()
{
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_ptyMaster, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: drained
    }
    if (!bytes.isEmpty())
        feedStream(bytes);
}

void TrainerLink::writePty(const QByteArray &bytes)
{
    if (m_ptyMaster < 0)
        return;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_ptyMaster, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            m_ptyFullReported = false;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // The host does not read: drop the rest, as a real line would lose it.
        if (!m_ptyFullReported)
            emit notice(QStringLiteral("pty full, output dropped until the host reads"));
        m_ptyFullReported = true;
        return;
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
