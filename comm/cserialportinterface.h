#pragma once

#include "comm/ccommunicationinterface.h"
#include "comm/streamframecutter.h"

#include <QSerialPort>

class QTimer;

// The lower machine on a serial port: 0xBA ... 0xDC frames, reopened after a write, read or
// resource error. Its port and reopen timer are the children "serialPort" and "reopenTimer".
class CSerialportInterface : public CCommunicationInterface
{
    Q_OBJECT
public:
    static constexpr int kReopenIntervalMs = 1000;
    static constexpr int kReadBufferSize = 200;

    explicit CSerialportInterface(QObject *parent = nullptr);

    bool initCommunication() override;
    void sendData(const QByteArray &data) override;
    void flush(int msecs) override;

    // The name emitted for a port error code; empty for "no error", "write" and unknown codes.
    static QString errorName(QSerialPort::SerialPortError error);

public slots:
    void slotReadyRead();
    void slotDisplayError(QSerialPort::SerialPortError error);
    void slotReopenTimer();

private:
    // Close, fetch the settings, open; false when the settings are missing or the port stays shut.
    bool openPort(bool *configMissing);

    QSerialPort *m_serialPort = nullptr;
    StreamFrameCutter m_cutter;
    QTimer *m_reopenTimer = nullptr;
};
