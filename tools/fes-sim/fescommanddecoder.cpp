#include "fescommanddecoder.h"

#include "fes/fesprotocol.h"
#include "tools/simcommon/hexdump.h"

using namespace FesProtocol;

namespace {

uint16_t word(const char *payload, int offset)
{
    return uint16_t((uint8_t(payload[offset]) << 8) | uint8_t(payload[offset + 1]));
}

QString onOff(int value)
{
    if (value == 0)
        return QStringLiteral("off");
    if (value == 1)
        return QStringLiteral("on");
    return QString::number(value);
}

QString limbWord(uint8_t limb)
{
    return limb == 1 ? QStringLiteral("upper") : limb == 2 ? QStringLiteral("lower") : QString::number(limb);
}

QString sideWord(uint8_t side)
{
    return side == 1 ? QStringLiteral("left") : side == 2 ? QStringLiteral("right") : QString::number(side);
}

struct Layout
{
    FesHostCommand::Kind kind;
    int minimumPayload;
    const char *name;
};

Layout layoutOf(uint8_t command)
{
    using Kind = FesHostCommand::Kind;
    switch (command) {
    case kCmdSearch:
        return {Kind::Search, 1, "search"};
    case kCmdConnect:
        return {Kind::Connect, 2, "connect"};
    case kCmdDisconnect:
        return {Kind::Disconnect, 4, "disconnect"};
    case kCmdBattery:
        return {Kind::Battery, 2, "battery query"};
    case kCmdChannelAdjust:
        return {Kind::ChannelAdjust, 4, "channel adjust"};
    case kCmdCurrent:
        return {Kind::Current, 4, "current"};
    case kCmdFrequency:
        return {Kind::Frequency, 5, "frequency"};
    case kCmdPulseWidth:
        return {Kind::PulseWidth, 5, "pulse width"};
    case kCmdSwitchOutput:
        return {Kind::SwitchOutput, 4, "output switch"};
    case kCmdRealTimeParam:
        return {Kind::RealTimeParam, 18, "realtime parameters"};
    case kCmdCycleParam:
        return {Kind::CycleParam, 22, "cycle parameters"};
    case kCmdMotionData:
        return {Kind::Motion, 10, "motion data"};
    default:
        return {Kind::Unknown, 1, "unknown"};
    }
}

FesHostCommand invalid(FesHostCommand command, const QString &problem)
{
    command.kind = FesHostCommand::Kind::Invalid;
    command.problem = problem;
    return command;
}

} // namespace

FesHostCommand FesCommandDecoder::decode(const QByteArray &frame)
{
    FesHostCommand command;
    command.frame = frame;
    if (frame.size() < 4)
        return invalid(command, QStringLiteral("too short"));
    if (uint8_t(frame.at(0)) != kStart)
        return invalid(command, QStringLiteral("bad start byte"));
    const int length = uint8_t(frame.at(1));
    if (frame.size() < length + 4)
        return invalid(command, QStringLiteral("shorter than its length byte says"));
    if (uint8_t(frame.at(length + 3)) != kEnd)
        return invalid(command, QStringLiteral("bad end byte"));

    command.checksum = uint8_t(frame.at(length + 2));
    command.expectedChecksum = uint8_t(FesFrame::getSum(frame, 2, length + 1));
    command.checksumOk = command.checksum == command.expectedChecksum;
    if (length == 0)
        return invalid(command, QStringLiteral("no command byte"));

    const char *payload = frame.constData() + 2;
    command.command = uint8_t(payload[0]);
    command.device = length >= 2 ? uint8_t(payload[1]) : 0;
    const Layout layout = layoutOf(command.command);
    if (length < layout.minimumPayload)
        return invalid(command, QStringLiteral("%1 shorter than %2 bytes").arg(QLatin1String(layout.name))
                                    .arg(layout.minimumPayload));
    command.kind = layout.kind;

    switch (command.kind) {
    case FesHostCommand::Kind::Connect:
        command.mac = QByteArray(payload + 3, qBound(0, length - 3, 6));
        break;
    case FesHostCommand::Kind::Disconnect:
        command.value = uint8_t(payload[3]);
        break;
    case FesHostCommand::Kind::ChannelAdjust:
    case FesHostCommand::Kind::Current:
    case FesHostCommand::Kind::SwitchOutput:
        command.channel = uint8_t(payload[2]);
        command.value = uint8_t(payload[3]);
        break;
    case FesHostCommand::Kind::Frequency:
    case FesHostCommand::Kind::PulseWidth:
        command.channel = uint8_t(payload[2]);
        command.value = word(payload, 3);
        break;
    case FesHostCommand::Kind::RealTimeParam: {
        command.channel = uint8_t(payload[2]);
        FesFrame::RealTimeParam &p = command.realTime;
        // Bytes 3..5 are the constant 02 00 01.
        p.frequency = word(payload, 6);
        p.pulseWidth = word(payload, 8);
        p.riseTime = word(payload, 10);
        p.openTime = word(payload, 12);
        p.fallTime = word(payload, 14);
        p.closeTime = word(payload, 16);
        break;
    }
    case FesHostCommand::Kind::CycleParam: {
        command.channel = uint8_t(payload[2]);
        FesFrame::CycleParam &p = command.cycle;
        // Bytes 3..5 are the constant 02 01 01.
        p.frequency = word(payload, 6);
        p.pulseWidth = word(payload, 8);
        p.forwardStart = word(payload, 10);
        p.forwardStop = word(payload, 12);
        p.reverseStart = word(payload, 14);
        p.reverseStop = word(payload, 16);
        p.minCurrent = uint8_t(payload[18]);
        p.maxCurrent = uint8_t(payload[19]);
        p.limb = uint8_t(payload[20]);
        p.side = uint8_t(payload[21]);
        break;
    }
    case FesHostCommand::Kind::Motion:
        command.motionWords[0] = word(payload, 3);
        command.motionWords[1] = word(payload, 5);
        command.motionWords[2] = word(payload, 7);
        command.motionPacing = uint8_t(payload[9]);
        break;
    case FesHostCommand::Kind::Search:
    case FesHostCommand::Kind::Battery:
    case FesHostCommand::Kind::Unknown:
    case FesHostCommand::Kind::Invalid:
        break;
    }
    return command;
}

QString FesCommandDecoder::describe(const FesHostCommand &command)
{
    const QString dev = QStringLiteral("rx dev=%1 ").arg(command.device);
    const QString devCh = QStringLiteral("rx dev=%1 ch=%2 ").arg(command.device).arg(command.channel);
    switch (command.kind) {
    case FesHostCommand::Kind::Search:
        return QStringLiteral("rx search");
    case FesHostCommand::Kind::Connect:
        return dev + QStringLiteral("connect mac=%1").arg(macText(command.mac));
    case FesHostCommand::Kind::Disconnect:
        if (command.value == 1)
            return dev + QStringLiteral("shut down all boxes");
        return dev + QStringLiteral("disconnect") +
               (command.value == 0 ? QString() : QStringLiteral(" all=%1").arg(command.value));
    case FesHostCommand::Kind::Battery:
        return dev + QStringLiteral("battery?");
    case FesHostCommand::Kind::ChannelAdjust:
        return devCh + QStringLiteral("adjust ") + onOff(command.value);
    case FesHostCommand::Kind::Current:
        return devCh + QStringLiteral("current %1 mA").arg(command.value);
    case FesHostCommand::Kind::Frequency:
        return devCh + QStringLiteral("frequency %1 Hz").arg(command.value);
    case FesHostCommand::Kind::PulseWidth:
        return devCh + QStringLiteral("pulse width %1 us").arg(command.value);
    case FesHostCommand::Kind::SwitchOutput:
        return devCh + QStringLiteral("output ") + onOff(command.value);
    case FesHostCommand::Kind::RealTimeParam: {
        const FesFrame::RealTimeParam &p = command.realTime;
        return devCh + QStringLiteral("realtime f=%1Hz pw=%2us rise=%3 open=%4 fall=%5 close=%6")
                           .arg(p.frequency).arg(p.pulseWidth).arg(p.riseTime).arg(p.openTime)
                           .arg(p.fallTime).arg(p.closeTime);
    }
    case FesHostCommand::Kind::CycleParam: {
        const FesFrame::CycleParam &p = command.cycle;
        return devCh + QStringLiteral("cycle f=%1Hz pw=%2us fwd=%3..%4 rev=%5..%6 I=%7..%8mA limb=%9 side=%10")
                           .arg(p.frequency).arg(p.pulseWidth).arg(p.forwardStart).arg(p.forwardStop)
                           .arg(p.reverseStart).arg(p.reverseStop).arg(p.minCurrent).arg(p.maxCurrent)
                           .arg(limbWord(p.limb), sideWord(p.side));
    }
    case FesHostCommand::Kind::Motion: {
        // The words come from the trainer's live record: the two crank speeds (upper in the high
        // byte), the hand angle and the foot angle.
        const uint16_t speeds = command.motionWords[0];
        return dev + QStringLiteral("motion speeds=0x%1 (upper %2, lower %3) hand=%4 foot=%5 pacing=%6")
                         .arg(speeds, 4, 16, QLatin1Char('0'))
                         .arg(speeds >> 8).arg(speeds & 0xFF)
                         .arg(command.motionWords[1]).arg(command.motionWords[2])
                         .arg(command.motionPacing);
    }
    case FesHostCommand::Kind::Unknown:
        return dev + QStringLiteral("command=0x%1 frame=%2")
                         .arg(command.command, 2, 16, QLatin1Char('0'))
                         .arg(HexDump::text(command.frame));
    case FesHostCommand::Kind::Invalid:
        break;
    }
    return QStringLiteral("rx invalid frame (%1): %2").arg(command.problem, HexDump::text(command.frame));
}

QString FesCommandDecoder::checksumNote(const FesHostCommand &command)
{
    if (command.checksumOk)
        return QString();
    return QStringLiteral("rx checksum mismatch (got 0x%1, payload sums to 0x%2), acted on anyway: %3")
        .arg(command.checksum, 2, 16, QLatin1Char('0'))
        .arg(command.expectedChecksum, 2, 16, QLatin1Char('0'))
        .arg(HexDump::text(command.frame));
}

QString FesCommandDecoder::macText(const QByteArray &mac)
{
    return mac.isEmpty() ? QStringLiteral("(none)") : QString::fromLatin1(mac.toHex()).toUpper();
}
