#pragma once

#include <QJsonObject>
#include <QList>
#include <QUdpSocket>

// The game's end of the game link inside a test: bound where the page sends (127.0.0.1:12000),
// it keeps every message that arrives and answers to the page's port (2100). Tests that use it
// hold the CTest resource lock game_ports.
class GamePeer
{
public:
    static constexpr quint16 kGamePort = 12000;
    static constexpr quint16 kPagePort = 2100;

    GamePeer();
    bool isBound() const { return m_socket.state() == QAbstractSocket::BoundState; }

    // The messages with this MsgID, oldest first.
    QList<QJsonObject> messages(int msgId) const;
    // GameState values of the MsgID 2 messages, oldest first.
    QList<int> gameStates() const;
    void clear() { m_messages.clear(); }

    void send(const QByteArray &datagram);

private:
    QUdpSocket m_socket;
    QList<QJsonObject> m_messages;
};
