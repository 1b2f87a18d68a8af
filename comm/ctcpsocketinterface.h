#pragma once

#include "comm/ccommunicationinterface.h"
#include "comm/streamframecutter.h"

#include <QAbstractSocket>

class QTcpSocket;
class QTimer;

// The lower machine over TCP as a client of tcpAddress (an IP address or a host name): frames
// cut from the stream by the serial rules, reconnected every second while the link is down, a
// connection attempt given up after kConnectTimeoutMs. Its socket and timers are the children
// "tcpSocket", "reconnectTimer" and "connectTimer".
class CTcpSocketInterface : public CCommunicationInterface
{
    Q_OBJECT
public:
    static constexpr int kReconnectIntervalMs = 1000;
    static constexpr int kConnectTimeoutMs = 3000;

    explicit CTcpSocketInterface(QObject *parent = nullptr);

    bool initCommunication() override;
    void sendData(const QByteArray &data) override;
    void flush(int msecs) override;

    static QString errorName(QAbstractSocket::SocketError error);

public slots:
    void slotReadyRead();
    void slotConnected();
    void slotDisconnected();
    void slotError(QAbstractSocket::SocketError error);
    void slotReconnect();
    void slotConnectTimeout();

private:
    QTcpSocket *m_tcpSocket = nullptr;
    QTimer *m_reconnectTimer = nullptr;
    QTimer *m_connectTimer = nullptr;
    StreamFrameCutter m_cutter;
    QString m_lastError;
};
