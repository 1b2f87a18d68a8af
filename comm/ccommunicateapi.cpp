#include "comm/ccommunicateapi.h"

#include "app/configmanager.h"
#include "comm/cserialportinterface.h"
#include "comm/ctcpsocketinterface.h"
#include "comm/cudpinterface.h"
#include "comm/deviceframe.h"

CCommunicateAPI *CCommunicateAPI::getInstance()
{
    static CCommunicateAPI *instance = new CCommunicateAPI(ConfigManager::getInstance()->getCommunicateType());
    return instance;
}

CCommunicateAPI::CCommunicateAPI(int communicateType, QObject *parent)
    : QObject(parent), m_communicateType(communicateType)
{
    switch (communicateType) {
    case Serial:
        m_interface = new CSerialportInterface(this);
        break;
    case Udp:
        m_interface = new CUdpInterface(this);
        break;
    case Tcp:
        m_interface = new CTcpSocketInterface(this);
        break;
    default:
        return;
    }
    connect(m_interface, &CCommunicationInterface::signalReadyRead, this, &CCommunicateAPI::signalReadyRead);
    connect(m_interface, &CCommunicationInterface::signalDisplayError, this,
            &CCommunicateAPI::signalCommunicateChanged);
    connect(m_interface, &CCommunicationInterface::signalLinkWarning, this, &CCommunicateAPI::signalLinkWarning);
}

void CCommunicateAPI::sendFrame(const QByteArray &payload)
{
    if (m_interface)
        m_interface->sendData(DeviceFrame::wrap(payload));
}

void CCommunicateAPI::sendBicycleParam(const ST_BicycleParam &param)
{
    sendFrame(DeviceFrame::bicycleParamPayload(param));
}

void CCommunicateAPI::sendRealTimeParam(uint8_t item, uint8_t value)
{
    sendFrame(DeviceFrame::realTimeParamPayload(item, value));
}

void CCommunicateAPI::sendHeartBeat()
{
    sendFrame(DeviceFrame::heartBeatPayload());
}

void CCommunicateAPI::sendVersionQuery()
{
    sendFrame(DeviceFrame::versionQueryPayload());
}

void CCommunicateAPI::flush(int msecs)
{
    if (m_interface)
        m_interface->flush(msecs);
}
