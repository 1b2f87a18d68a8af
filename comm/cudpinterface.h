#pragma once

#include "comm/ccommunicationinterface.h"

#include <QAbstractSocket>

class QUdpSocket;

// The lower machine over UDP: one frame per datagram.
class CUdpInterface : public CCommunicationInterface
{
    Q_OBJECT
public:
    static constexpr int kStateBound = 4;
    static constexpr int kStateClosing = 5;

    explicit CUdpInterface(QObject *parent = nullptr);

    bool initCommunication() override;
    void sendData(const QByteArray &data) override;

    QUdpSocket *socket() const { return m_udpSocket; }

public slots:
    void slotReadyRead();
    void slotStateChanged(QAbstractSocket::SocketState state);

private:
    QUdpSocket *m_udpSocket = nullptr;
};
