#include "comm/deviceframe.h"

#include "comm/deviceprotocol.h"
#include "comm/bicycleparam.h"

namespace DeviceFrame {

using namespace DeviceProtocol;

static_assert(sizeof(ST_BicycleParam) == kHostMaxLength, "command 0x01 (command byte and 12 record bytes) is the longest");

QByteArray wrap(const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 4);
    frame.append(char(kHostStart));
    frame.append(char(uint8_t(payload.size())));
    frame.append(payload);
    frame.append(char(kHostPad));
    frame.append(char(kHostEnd));
    return frame;
}

QByteArray bicycleParamPayload(const ST_BicycleParam &param)
{
    // The record's last byte (the training time) stays with the host; the length stays 13.
    QByteArray payload;
    payload.reserve(int(sizeof(ST_BicycleParam)));
    payload.append(char(kCmdBicycleParam));
    payload.append(reinterpret_cast<const char *>(&param), int(sizeof(ST_BicycleParam)) - 1);
    return payload;
}

QByteArray realTimeParamPayload(uint8_t item, uint8_t value)
{
    const char bytes[] = {char(kCmdRealTimeParam), char(item), char(value), 0};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray heartBeatPayload()
{
    const char bytes[] = {char(kCmdHeartBeat), 0, 0, 0};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray versionQueryPayload()
{
    const char bytes[] = {char(kCmdVersionQuery), 0, 0, 0};
    return QByteArray(bytes, sizeof bytes);
}

DatagramVerdict checkDatagram(const QByteArray &datagram)
{
    if (datagram.size() < 2 || uint8_t(datagram.at(0)) != kDatagramStart)
        return DatagramVerdict::BadStart;
    const int length = uint8_t(datagram.at(1));
    if (datagram.size() <= length + 7)
        return DatagramVerdict::TooShort;
    if (datagram.at(length + 6) != 0 || datagram.at(length + 7) != 0)
        return DatagramVerdict::BadTail;
    return DatagramVerdict::Frame;
}

QByteArray datagramFrame(const QByteArray &datagram)
{
    return datagram.left(uint8_t(datagram.at(1)) + 8);
}

} // namespace DeviceFrame
