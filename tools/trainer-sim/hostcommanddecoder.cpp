#include "hostcommanddecoder.h"

#include "comm/deviceprotocol.h"
#include "tools/simcommon/hexdump.h"

#include <cstring>

using namespace DeviceProtocol;

namespace {

QString controlWord(uint8_t code)
{
    switch (code) {
    case kControlStop:
        return QStringLiteral("stop");
    case kControlStart:
        return QStringLiteral("start");
    case kControlPause:
        return QStringLiteral("pause");
    case kControlResume:
        return QStringLiteral("resume");
    default:
        return QStringLiteral("param control=%1").arg(code);
    }
}

QString directionWord(uint8_t value)
{
    if (value == 1)
        return QStringLiteral("forward");
    if (value == 0)
        return QStringLiteral("backward");
    return QString::number(value);
}

QString realTimeText(uint8_t item, uint8_t value)
{
    switch (item) {
    case kItemResistance:
        return QStringLiteral("resistance=%1").arg(value);
    case kItemSpeed:
        return QStringLiteral("speed=%1").arg(value);
    case kItemDirection:
        return QStringLiteral("direction=") + directionWord(value);
    case kItemSpasmDirection:
        return QStringLiteral("spasm-direction=") + directionWord(value);
    case kItemSpeedStep:
        if (value == 1)
            return QStringLiteral("speed-step=up");
        if (value == 2)
            return QStringLiteral("speed-step=down");
        return QStringLiteral("speed-step=%1").arg(value);
    case kItemBoarding:
        switch (value) {
        case 0:
            return QStringLiteral("boarding=end");
        case 1:
            return QStringLiteral("boarding=lower");
        case 2:
            return QStringLiteral("boarding=upper");
        default:
            return QStringLiteral("boarding=%1").arg(value);
        }
    default:
        return QStringLiteral("item=0x%1 value=%2").arg(item, 2, 16, QLatin1Char('0')).arg(value);
    }
}

HostCommand invalid(const QByteArray &frame, const QString &problem)
{
    HostCommand command;
    command.frame = frame;
    command.problem = problem;
    return command;
}

} // namespace

HostCommand HostCommandDecoder::decode(const QByteArray &frame)
{
    if (frame.size() < 4)
        return invalid(frame, QStringLiteral("too short"));
    if (uint8_t(frame.at(0)) != kHostStart)
        return invalid(frame, QStringLiteral("bad start byte"));
    const int length = uint8_t(frame.at(1));
    if (frame.size() < length + 4)
        return invalid(frame, QStringLiteral("shorter than its length byte says"));
    if (uint8_t(frame.at(length + 3)) != kHostEnd)
        return invalid(frame, QStringLiteral("bad end byte"));
    if (length == 0)
        return invalid(frame, QStringLiteral("no command byte"));

    HostCommand command;
    command.frame = frame;
    command.command = uint8_t(frame.at(2));
    const char *payload = frame.constData() + 2;
    switch (command.command) {
    case kCmdBicycleParam:
        if (length < 13)
            return invalid(frame, QStringLiteral("training parameters shorter than 13 bytes"));
        std::memcpy(static_cast<void *>(&command.param), payload + 1, sizeof(ST_BicycleParam) - 1);
        command.kind = HostCommand::Kind::BicycleParam;
        break;
    case kCmdRealTimeParam:
        if (length < 3)
            return invalid(frame, QStringLiteral("real-time parameter without a value"));
        command.item = uint8_t(payload[1]);
        command.value = uint8_t(payload[2]);
        command.kind = HostCommand::Kind::RealTimeParam;
        break;
    case kCmdHeartBeat:
        command.kind = HostCommand::Kind::HeartBeat;
        break;
    case kCmdVersionQuery:
        command.kind = HostCommand::Kind::VersionQuery;
        break;
    default:
        command.kind = HostCommand::Kind::Unknown;
        break;
    }
    return command;
}

QString HostCommandDecoder::describe(const HostCommand &command)
{
    switch (command.kind) {
    case HostCommand::Kind::BicycleParam: {
        const ST_BicycleParam &p = command.param;
        return QStringLiteral("rx %1 limb=%2 mode=%3 speed=%4 resistance=%5 direction=%6 spasm=%7/%8 torque=%9")
            .arg(controlWord(p.controlState))
            .arg(p.trainLimp)
            .arg(p.trainMode)
            .arg(p.trainSpeed)
            .arg(p.trainResistance)
            .arg(directionWord(p.trainDirection))
            .arg(p.spasmProtect == 1 ? QStringLiteral("on")
                 : p.spasmProtect == 0 ? QStringLiteral("off")
                                       : QString::number(p.spasmProtect))
            .arg(p.spasmLevel)
            .arg(p.torqueLevel);
    }
    case HostCommand::Kind::RealTimeParam:
        return QStringLiteral("rx realtime ") + realTimeText(command.item, command.value);
    case HostCommand::Kind::HeartBeat:
        return QStringLiteral("rx heartbeat");
    case HostCommand::Kind::VersionQuery:
        return QStringLiteral("rx version?");
    case HostCommand::Kind::Unknown:
        return QStringLiteral("rx command=0x%1 frame=%2")
            .arg(command.command, 2, 16, QLatin1Char('0'))
            .arg(HexDump::text(command.frame));
    case HostCommand::Kind::Invalid:
        break;
    }
    return QStringLiteral("rx invalid frame (%1): %2").arg(command.problem, HexDump::text(command.frame));
}
