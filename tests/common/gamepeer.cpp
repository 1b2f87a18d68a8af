#include "gamepeer.h"

#include <QJsonDocument>
#include <QNetworkDatagram>

GamePeer::GamePeer()
{
    m_socket.bind(QHostAddress(QHostAddress::LocalHost), kGamePort);
    QObject::connect(&m_socket, &QUdpSocket::readyRead, &m_socket, [this] {
        while (m_socket.hasPendingDatagrams())
            m_messages << QJsonDocument::fromJson(m_socket.receiveDatagram().data()).object();
    });
}

QList<QJsonObject> GamePeer::messages(int msgId) const
{
    QList<QJsonObject> found;
    for (const QJsonObject &message : m_messages) {
        if (message.value(QStringLiteral("MsgID")).toInt() == msgId)
            found << message;
    }
    return found;
}

QList<int> GamePeer::gameStates() const
{
    QList<int> states;
    for (const QJsonObject &message : messages(2))
        states << message.value(QStringLiteral("GameState")).toInt();
    return states;
}

void GamePeer::send(const QByteArray &datagram)
{
    m_socket.writeDatagram(datagram, QHostAddress(QHostAddress::LocalHost), kPagePort);
}
