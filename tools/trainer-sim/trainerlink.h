#pragma once

#include "comm/streamframecutter.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>

class PtyEndpoint;
class QTcpServer;
class QTcpSocket;
class QUdpSocket;

// The machine's end of the link: a UDP socket, a pseudo-terminal or a TCP server. Hands on the
// host's frames one by one and frames what the machine sends in the form the link wants.
class TrainerLink : public QObject
{
    Q_OBJECT

public:
    explicit TrainerLink(QObject *parent = nullptr);

    bool openUdp(const QHostAddress &bindAddress, quint16 bindPort, const QHostAddress &peer, quint16 peerPort);
    bool openSerial(const QString &linkPath);
    bool openTcp(const QHostAddress &address, quint16 port);

    QString error() const { return m_error; }
    // One line naming the link, printed at start and by the status command.
    QString description() const;
    QString ptyPath() const;
    QString linkPath() const;
    quint16 localPort() const;

    // Sends a machine payload framed for this link.
    void sendPayload(const QByteArray &payload);
    // Sends bytes as they are (line noise); over UDP as one datagram.
    void sendRaw(const QByteArray &bytes);

    qint64 framesReceived() const { return m_framesReceived; }
    qint64 framesSent() const { return m_framesSent; }

signals:
    void frameReceived(const QByteArray &frame);
    // Something about the link worth a line of output (client connected, bytes dropped).
    void notice(const QString &line);

private:
    enum class Kind { None, Udp, Serial, Tcp };

    void readUdp();
    void acceptTcpClient();
    void readTcp();
    void feedStream(const QByteArray &bytes);

    Kind m_kind = Kind::None;
    QString m_error;
    StreamFrameCutter m_cutter;
    qint64 m_reportedDrops = 0;
    qint64 m_framesReceived = 0;
    qint64 m_framesSent = 0;

    QUdpSocket *m_udp = nullptr;
    QHostAddress m_peer;
    quint16 m_peerPort = 0;

    PtyEndpoint *m_pty = nullptr;

    QTcpServer *m_tcpServer = nullptr;
    QPointer<QTcpSocket> m_tcpClient;
};
