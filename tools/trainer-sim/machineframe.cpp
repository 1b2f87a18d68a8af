#include "machineframe.h"

#include "comm/deviceprotocol.h"

using namespace DeviceProtocol;

namespace MachineFrame {

namespace {
// The host reads the version text from four bytes only.
constexpr int kVersionTextBytes = 4;
constexpr int kDatagramTail = 6;
} // namespace

QByteArray heartBeatReplyPayload()
{
    const char bytes[] = {char(kReplyHeartBeat), 0, 0, 0};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray versionReplyPayload(const QByteArray &text)
{
    QByteArray payload(1, char(kReplyVersion));
    QByteArray field = text.left(kVersionTextBytes);
    field.append(QByteArray(kVersionTextBytes - field.size(), '\0'));
    return payload + field;
}

QByteArray liveDataPayload(const QByteArray &record)
{
    QByteArray payload(1, char(kReplyLiveData1));
    QByteArray body = record.left(kLiveRecordSize);
    body.append(QByteArray(kLiveRecordSize - body.size(), '\0'));
    return payload + body;
}

QByteArray streamFrame(const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 4);
    frame.append(char(kStreamStart));
    frame.append(char(uint8_t(payload.size())));
    frame.append(payload);
    frame.append('\0');
    frame.append(char(kStreamEnd));
    return frame;
}

QByteArray datagram(const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 2 + kDatagramTail);
    frame.append(char(kDatagramStart));
    frame.append(char(uint8_t(payload.size())));
    frame.append(payload);
    frame.append(QByteArray(kDatagramTail, '\0'));
    return frame;
}

} // namespace MachineFrame
