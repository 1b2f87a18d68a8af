#pragma once

#include "comm/ccommunicationinterface.h"

#include <QAbstractSocket>
#include <QSet>

class QHostAddress;
class QUdpSocket;

// The lower machine over UDP: one frame per datagram, taken only from the configured client
// address. Its socket is the child "udpSocket".
class CUdpInterface : public CCommunicationInterface
{
    Q_OBJECT
public:
    static constexpr int kStateBound = 4;
    static constexpr int kStateClosing = 5;

    explicit CUdpInterface(QObject *parent = nullptr);

    bool initCommunication() override;
    void sendData(const QByteArray &data) override;

public slots:
    void slotReadyRead();
    void slotStateChanged(QAbstractSocket::SocketState state);

private:
    // Whether a datagram from this sender comes from the trainer; logs each other sender once.
    bool isFromClient(const QHostAddress &sender);

    QUdpSocket *m_udpSocket = nullptr;
    QSet<QString> m_foreignSenders;
};
