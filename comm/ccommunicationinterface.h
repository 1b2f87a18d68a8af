#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// One link to the lower machine. Delivers whole frames and names its errors; it never shows
// anything to the user: what the user must be told is reported by signal.
class CCommunicationInterface : public QObject
{
    Q_OBJECT
public:
    // Why a link could not be opened.
    enum LinkWarning {
        ConfigMissing = 1, // the configuration lacks the link's settings
        PortNotOpened = 2  // the port named by the configuration did not open
    };
    Q_ENUM(LinkWarning)

    using QObject::QObject;

public slots:
    // (Re)opens the link from the configuration.
    virtual bool initCommunication() = 0;
    // Sends the bytes as they are, or drops them when the link is down.
    virtual void sendData(const QByteArray &data) = 0;
    // Waits up to msecs until what was sent has left; for the last frames before the program
    // ends, when no event loop will write them. Datagrams leave at once.
    virtual void flush(int msecs) { Q_UNUSED(msecs) }

signals:
    void signalReadyRead(QByteArray frame);
    // The name of a link error; empty when the link is fine (again).
    void signalDisplayError(QString error);
    void signalStateChanged(int state);
    // A LinkWarning, delivered through the event loop: never inside the call that found it, so
    // not inside the construction of the link either.
    void signalLinkWarning(int kind);

protected:
    // Hands a frame on through the event loop. The ready-read slot returns at once, so a
    // receiver that runs a nested event loop (a modal prompt) never holds up reading the link,
    // and the frames keep arriving, in order, while it runs.
    void handOn(const QByteArray &frame);
    void postWarning(LinkWarning kind);
};
