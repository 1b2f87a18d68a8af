#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The device's end of a pseudo-terminal in raw mode, whose other end the program opens as its
// serial port, optionally reached through a symbolic link that is removed again at close.
class PtyEndpoint : public QObject
{
    Q_OBJECT

public:
    explicit PtyEndpoint(QObject *parent = nullptr);
    ~PtyEndpoint() override;

    // Creates the pseudo-terminal and, with a non-empty linkPath, a symbolic link to it.
    bool open(const QString &linkPath);
    void close();

    QString error() const { return m_error; }
    QString ptyPath() const { return m_ptyPath; }
    QString linkPath() const { return m_linkPath; }

    // Writes without blocking; what the other end leaves unread is dropped.
    void write(const QByteArray &bytes);

signals:
    // All bytes that had arrived when the pty became readable.
    void received(const QByteArray &bytes);
    // Output is being dropped because nobody reads; once until a write gets through again.
    void outputDropped();

private:
    void readAvailable();

    QString m_error;
    int m_master = -1;
    int m_slave = -1;
    QString m_ptyPath;
    QString m_linkPath;
    QSocketNotifier *m_notifier = nullptr;
    bool m_dropReported = false;
};
