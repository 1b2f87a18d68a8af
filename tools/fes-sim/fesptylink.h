#pragma once

#include "fesframereader.h"

#include <QObject>
#include <QString>

class PtyEndpoint;

// The adapter's end of the serial line: a pseudo-terminal whose other end the program opens as
// its port. Hands on the host's frames one by one and frames the adapter's replies.
class FesPtyLink : public QObject
{
    Q_OBJECT

public:
    explicit FesPtyLink(QObject *parent = nullptr);

    // Creates the pseudo-terminal and, with a non-empty linkPath, a symbolic link to it.
    bool open(const QString &linkPath);

    QString error() const;
    QString ptyPath() const;
    QString linkPath() const;

    // Frames a reply payload (0xAA, N, payload, checksum, 0x55) and writes it.
    void sendPayload(const QByteArray &payload);

    qint64 framesReceived() const { return m_framesReceived; }
    qint64 framesSent() const { return m_framesSent; }

signals:
    void frameReceived(const QByteArray &frame);
    // Something about the line worth a line of output (bytes dropped, output lost).
    void notice(const QString &line);

private:
    void feed(const QByteArray &bytes);

    PtyEndpoint *m_pty = nullptr;
    FesFrameReader m_reader;
    qint64 m_framesReceived = 0;
    qint64 m_framesSent = 0;
};
