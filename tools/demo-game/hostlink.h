#pragma once

#include "hostmessage.h"

#include <QObject>

class QUdpSocket;

// The game's end of the game link: listens on a loopback port for the host's messages and
// reports to the host's port.
class HostLink : public QObject
{
    Q_OBJECT

public:
    // Datagrams read per turn of the event loop, so that a flood cannot stop the scene; the
    // socket announces the rest again at the next turn.
    static constexpr int kMaxDatagramsPerTurn = 64;

    HostLink(quint16 portIn, quint16 portOut, QObject *parent = nullptr);

    // Binds 127.0.0.1:portIn. When that fails the game still reports to the host; it only hears
    // nothing.
    bool listen();
    QString bindError() const { return m_bindError; }

    void sendRunning();
    void sendEnded();

signals:
    void liveDataReceived(const HostMessage::LiveData &data);
    void gameStateReceived(int state);
    void datagramIgnored(const QString &reason);

private:
    void readDatagrams();

    QUdpSocket *m_socket = nullptr;
    quint16 m_portIn = 0;
    quint16 m_portOut = 0;
    QString m_bindError;
};
