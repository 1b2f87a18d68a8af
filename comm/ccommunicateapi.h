#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>

class CCommunicationInterface;
struct ST_BicycleParam;

// The device protocol: frames commands for the lower machine and passes its frames on, over the
// one transport that the configuration chose (its child). It shows nothing itself: the link's
// warnings are passed on for the widget side to show.
class CCommunicateAPI : public QObject
{
    Q_OBJECT
public:
    enum CommunicateType { Serial = 0, Udp = 1, Tcp = 2 };

    // Created on first use with the configuration's communication type.
    static CCommunicateAPI *getInstance();

    // A protocol object over the transport of the given type; no transport for other types.
    explicit CCommunicateAPI(int communicateType, QObject *parent = nullptr);

    void sendFrame(const QByteArray &payload);
    void sendBicycleParam(const ST_BicycleParam &param);
    void sendRealTimeParam(uint8_t item, uint8_t value);
    void sendHeartBeat();
    void sendVersionQuery();
    // Waits up to msecs until the frames sent have left the link.
    void flush(int msecs);

    int communicateType() const { return m_communicateType; }

signals:
    void signalReadyRead(QByteArray frame);
    void signalCommunicateChanged(QString error);
    // The link could not be opened (a CCommunicationInterface::LinkWarning). Always delivered
    // after creation has returned, so a receiver may call getInstance().
    void signalLinkWarning(int kind);

private:
    int m_communicateType = -1;
    CCommunicationInterface *m_interface = nullptr;
};
