#include "training/livedatadecoder.h"

#include "comm/deviceprotocol.h"

#include <algorithm>

using namespace DeviceProtocol;

namespace {

constexpr int kRecordStart = 3;
constexpr int kVersionTextBytes = 4;

struct RecordReader
{
    const QByteArray &frame;

    int byte(int offset) const
    {
        const int at = kRecordStart + offset;
        return at < frame.size() ? uint8_t(frame.at(at)) : 0;
    }
    int signedByte(int offset) const { return int8_t(uint8_t(byte(offset))); }
    int word(int offset) const { return byte(offset) | (byte(offset + 1) << 8); }
};

// Distance counts are in steps of 0.6 m; count × 6 / 10 keeps the decimal exact.
double metres(int count)
{
    return count * 6 / 10.0;
}

} // namespace

QByteArray LiveDataDecoder::builtInFrame()
{
    return QByteArray::fromHex(kBuiltInFrameHex);
}

QString LiveDataDecoder::lengthText(int count)
{
    return QString::number(metres(count), 'f', 1) + QLatin1Char('m');
}

float LiveDataDecoder::gameSpeed(int speedValue)
{
    const float speed = float(speedValue * 3 / 10.0);
    return (speed > 0.0f && speed < kGameSpeedMin) ? kGameSpeedMin : speed;
}

LiveRecord LiveDataDecoder::decode(const QByteArray &frame, uint8_t limb, bool spasmPromptOpen)
{
    LiveRecord record;
    if (frame.size() <= 2)
        return record;
    const RecordReader in{frame};
    const uint8_t command = uint8_t(frame.at(2));
    if (command == kReplyHeartBeat) {
        record.kind = LiveRecord::Kind::HeartBeatReply;
        return record;
    }
    if (command == kReplyVersion) {
        record.kind = LiveRecord::Kind::Version;
        QByteArray text = frame.mid(kRecordStart, kVersionTextBytes);
        const int zero = text.indexOf('\0');
        if (zero >= 0)
            text.truncate(zero);
        record.version = QString::fromUtf8(text);
        return record;
    }
    if (command != kReplyLiveData0 && command != kReplyLiveData1)
        return record;

    record.kind = LiveRecord::Kind::LiveData;
    record.emergencyCheckable = frame.size() >= kEmergencyCheckMinFrame;
    record.stage = uint8_t(in.byte(Live::kStage));

    int down = in.byte(Live::kDownSpeed);
    int up = in.byte(Live::kUpSpeed);
    record.rawFastest = std::max(down, up);
    const int upBalance = in.signedByte(Live::kUpBalance);
    const int downBalance = in.signedByte(Live::kDownBalance);
    const int upCount = in.word(Live::kUpDistance);
    const int downCount = in.word(Live::kDownDistance);
    const auto upperShare = [&] {
        record.balanceLeft = upBalance;
        record.balanceRight = kFullBalance - upBalance;
    };
    const auto lowerShare = [&] {
        record.balanceLeft = kFullBalance - downBalance;
        record.balanceRight = downBalance;
    };
    // A single limb: its pair of labels, and the speed and distance of the whole record.
    const auto showSingle = [&](int speed, bool &shown, int &shownSpeed, int &shownPower, int power, int count) {
        shown = true;
        shownSpeed = speed;
        shownPower = power;
        record.currentSpeed = speed;
        record.lengthText = lengthText(count);
        record.gameSpeedValue = speed;
    };

    switch (limb) {
    case 0:
    case 3:
        up = std::min(up, kShownSpeedMax);
        showSingle(up, record.upShown, record.upSpeed, record.upPower, in.word(Live::kUpPower), upCount);
        upperShare();
        break;
    case 1:
        down = std::min(down, kShownSpeedMax);
        showSingle(down, record.downShown, record.downSpeed, record.downPower, in.word(Live::kDownPower), downCount);
        lowerShare();
        break;
    case 2:
        up = std::min(up, kShownSpeedMax);
        down = spasmPromptOpen ? 0 : std::min(down, kShownSpeedMax);
        record.upShown = true;
        record.upSpeed = up;
        record.upPower = in.word(Live::kUpPower);
        record.downShown = true;
        record.downSpeed = down;
        record.downPower = spasmPromptOpen ? 0 : in.word(Live::kDownPower);
        record.currentSpeed = kShownSpeedMax;
        record.lengthText = lengthText(upCount);
        if (up < down)
            lowerShare();
        else
            upperShare();
        record.gameSpeedValue = std::max(up, down);
        break;
    default:
        break; // no limb of the trainer: nothing to show
    }
    record.balanceShown = limb <= 2;
    record.gameSpeed = gameSpeed(record.gameSpeedValue);
    record.fastest = std::max(down, up);

    record.upLength = metres(upCount);
    record.downLength = metres(downCount);
    record.leftHandAngle = in.word(Live::kLeftHandAngle);
    record.leftFootAngle = in.word(Live::kLeftFootAngle);
    record.emergency = in.byte(Live::kEmergency) == 1;
    record.spasm = in.byte(Live::kSpasm) == 1;
    record.balanceSampleUp = upBalance;
    record.balanceSampleDown = downBalance;

    record.motionBlock.resize(kMotionBlockSize);
    for (int i = 0; i < kMotionBlockSize; ++i)
        record.motionBlock[i] = char(in.byte(Live::kFesPacing + i));
    return record;
}

ST_GameLiveData LiveDataDecoder::gameLiveData(const LiveRecord &record)
{
    ST_GameLiveData data;
    data.speed = record.gameSpeed;
    data.left = record.balanceLeft;
    data.right = record.balanceRight;
    data.angle = record.leftHandAngle;
    return data;
}
