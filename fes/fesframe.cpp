#include "fes/fesframe.h"

#include "fes/fesprotocol.h"

#include <QString>

namespace FesFrame {

using namespace FesProtocol;

namespace {

void appendWord(QByteArray &bytes, uint16_t value)
{
    bytes.append(char(value >> 8));
    bytes.append(char(value & 0xFF));
}

QByteArray bytes(std::initializer_list<uint8_t> values)
{
    QByteArray result;
    result.reserve(int(values.size()));
    for (uint8_t value : values)
        result.append(char(value));
    return result;
}

} // namespace

int getSum(const QByteArray &data, int first, int last)
{
    if (data.isEmpty() || first > last || first < 0 || first >= data.size() || last >= data.size())
        return 0;
    int sum = 0;
    for (int i = first; i <= last; ++i)
        sum += uint8_t(data.at(i));
    return sum;
}

QByteArray createFrame(const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 4);
    frame.append(char(kStart));
    frame.append(char(uint8_t(payload.size())));
    frame.append(payload);
    frame.append(char(uint8_t(getSum(frame, 2, frame.size() - 1))));
    frame.append(char(kEnd));
    return frame;
}

QByteArray searchPayload()
{
    return bytes({kCmdSearch, 0x00, 0x00, 0x01});
}

QByteArray connectPayload(const QByteArray &mac, uint8_t device)
{
    return bytes({kCmdConnect, device, 0x00}) + mac;
}

QByteArray disconnectPayload(uint8_t device, uint8_t all)
{
    return bytes({kCmdDisconnect, device, 0x00, all});
}

QByteArray batteryPayload(uint8_t device)
{
    return bytes({kCmdBattery, device, 0x00, 0x00});
}

QByteArray channelAdjustPayload(uint8_t device, uint8_t channel, uint8_t on)
{
    return bytes({kCmdChannelAdjust, device, channel, on});
}

QByteArray currentPayload(uint8_t device, uint8_t channel, uint8_t milliamps)
{
    return bytes({kCmdCurrent, device, channel, milliamps});
}

QByteArray frequencyPayload(uint8_t device, uint8_t channel, uint16_t hertz)
{
    QByteArray payload = bytes({kCmdFrequency, device, channel});
    appendWord(payload, hertz);
    return payload;
}

QByteArray pulseWidthPayload(uint8_t device, uint8_t channel, uint16_t microseconds)
{
    QByteArray payload = bytes({kCmdPulseWidth, device, channel});
    appendWord(payload, microseconds);
    return payload;
}

QByteArray switchOutputPayload(uint8_t device, uint8_t channel, uint8_t on)
{
    return bytes({kCmdSwitchOutput, device, channel, on});
}

QByteArray realTimeParamPayload(uint8_t device, uint8_t channel, const RealTimeParam &param)
{
    QByteArray payload = bytes({kCmdRealTimeParam, device, channel, 0x02, 0x00, 0x01});
    for (uint16_t value : {param.frequency, param.pulseWidth, param.riseTime, param.openTime,
                           param.fallTime, param.closeTime})
        appendWord(payload, value);
    return payload;
}

QByteArray cycleParamPayload(uint8_t device, uint8_t channel, const CycleParam &param)
{
    QByteArray payload = bytes({kCmdCycleParam, device, channel, 0x02, 0x01, 0x01});
    for (uint16_t value : {param.frequency, param.pulseWidth, param.forwardStart, param.forwardStop,
                           param.reverseStart, param.reverseStop})
        appendWord(payload, value);
    payload += bytes({param.minCurrent, param.maxCurrent, param.limb, param.side});
    return payload;
}

QByteArray motionPayload(uint8_t device, const QByteArray &block)
{
    // block[i] is record byte i + 1: words at record bytes 2, 4, 6 (little-endian), then byte 1.
    const auto at = [&block](int recordByte) {
        const int i = recordByte - 1;
        return i < block.size() ? uint8_t(block.at(i)) : uint8_t(0);
    };
    return bytes({kCmdMotionData, device, 0x00, at(3), at(2), at(5), at(4), at(7), at(6), at(1)});
}

QByteArray macFromText(const QString &text)
{
    const auto digit = [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    };
    QByteArray mac(6, '\0');
    for (int i = 0; i < 6 && i * 2 + 1 < text.size(); ++i) {
        const QString pair = text.mid(i * 2, 2);
        // a pair that is not two hexadecimal digits gives 0, like a missing pair
        if (digit(pair.at(0)) && digit(pair.at(1)))
            mac[i] = char(pair.toUInt(nullptr, 16));
    }
    return mac;
}

bool decodeReply(const QByteArray &frame, Reply *reply)
{
    if (frame.size() <= 2)
        return false;
    *reply = Reply();
    reply->command = uint8_t(frame.at(2));
    reply->device = frame.size() >= 4 ? uint8_t(frame.at(3)) : 0;
    if (reply->command == kReplyBattery)
        reply->battery = frame.size() >= 8 ? uint8_t(frame.at(7)) : 0;
    if (reply->command == kReplyFound)
        reply->mac = frame.mid(5, 6);
    return true;
}

} // namespace FesFrame
