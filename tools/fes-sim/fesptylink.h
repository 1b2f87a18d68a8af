#pragma once

#include "fesframereader.h"

#include <QObject>
#include <QString>

class QSocketNotifier;

// The adapter's end of the serial line: a pseudo-terminal whose other end the program opens as
// its port. Hands on the host's frames one by one and frames the adapter's replies.
class FesPtyLink : public QObject
{
    Q_OBJECT

public:
    explicit FesPtyLink(QObject *parent = nullptr);
    ~FesPtyLink() override;

    // Creates the pseudo-terminal and, with a non-empty linkPath, a symbolic link to it.
    bool open(const QString &linkPath);

    QString error() const { return m_error; }
    QString ptyPath() const { return m_ptyPath; }
    QString linkPath() const { return m_linkPath; }

    // Frames a reply payload (0xAA, N, payload, checksum, 0x55) and writes it.
    void sendPayload(const QByteArray &payload);

    qint64 framesReceived() const { return m_framesReceived; }
    qint64 framesSent() const { return m_framesSent; }

signals:
    void frameReceived(const QByteArray &frame);
    // Something about the line worth a line of output (bytes dropped, output lost).
    void notice(const QString &line);

private:
    void readPty();
    void writePty(const QByteArray &bytes);
    void close();

    QString m_error;
    FesFrameReader m_reader;
    qint64 m_framesReceived = 0;
    qint64 m_framesSent = 0;
    int m_master = -1;
    int m_slave = -1;
    QString m_ptyPath;
    QString m_linkPath;
    QSocketNotifier *m_notifier = nullptr;
    bool m_fullReported = false;
};
