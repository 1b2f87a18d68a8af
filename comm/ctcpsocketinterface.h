#pragma once

#include "comm/ccommunicationinterface.h"
#include "comm/streamframecutter.h"

#include <QAbstractSocket>

class QTcpSocket;
class QTimer;

// The lower machine over TCP as a client of tcpAddress: frames cut from the stream by the serial
// rules, reconnected every second while the link is down.
class CTcpSocketInterface : public CCommunicationInterface
{
    Q_OBJECT
public:
    static constexpr int kReconnectIntervalMs = 1000;

    explicit CTcpSocketInterface(QObject *parent = nullptr);

    bool initCommunication() override;
    void sendData(const QByteArray &data) override;

    QTcpSocket *socket() const { return m_tcpSocket; }
    QTimer *reconnectTimer() const { return m_reconnectTimer; }

    static QString errorName(QAbstractSocket::SocketError error);

public slots:
    void slotReadyRead();
    void slotConnected();
    void slotDisconnected();
    void slotError(QAbstractSocket::SocketError error);
    void slotReconnect();

private:
    QTcpSocket *m_tcpSocket = nullptr;
    QTimer *m_reconnectTimer = nullptr;
    StreamFrameCutter m_cutter;
    QString m_lastError;
};
