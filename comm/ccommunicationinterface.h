#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// One link to the lower machine. Delivers whole frames and names its errors.
class CCommunicationInterface : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

public slots:
    // (Re)opens the link from the configuration.
    virtual bool initCommunication() = 0;
    // Sends the bytes as they are, or drops them when the link is down.
    virtual void sendData(const QByteArray &data) = 0;

signals:
    void signalReadyRead(QByteArray frame);
    // The name of a link error; empty when the link is fine (again).
    void signalDisplayError(QString error);
    void signalStateChanged(int state);
};
