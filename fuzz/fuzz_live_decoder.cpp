// The live-data decoder on arbitrary frames and limbs: it reads only the frame's bytes, a cut
// frame decodes like the whole one with its missing bytes 0, and the shown values keep their
// bounds. Input: limb, spasm-prompt flag, then the frame.
#include "comm/deviceprotocol.h"
#include "training/livedatadecoder.h"
#include "training/overspeedwatch.h"
#include "training/stagenotice.h"

#include <QByteArray>
#include <cstdlib>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool sameValues(const LiveRecord &a, const LiveRecord &b)
{
    return a.kind == b.kind && a.version == b.version && a.stage == b.stage && a.upShown == b.upShown
        && a.upSpeed == b.upSpeed && a.upPower == b.upPower && a.downShown == b.downShown
        && a.downSpeed == b.downSpeed && a.downPower == b.downPower && a.currentSpeed == b.currentSpeed
        && a.lengthText == b.lengthText && a.balanceShown == b.balanceShown && a.balanceLeft == b.balanceLeft
        && a.balanceRight == b.balanceRight && a.upLength == b.upLength && a.downLength == b.downLength
        && a.leftHandAngle == b.leftHandAngle && a.leftFootAngle == b.leftFootAngle && a.emergency == b.emergency
        && a.spasm == b.spasm && a.gameSpeedValue == b.gameSpeedValue && a.gameSpeed == b.gameSpeed
        && a.fastest == b.fastest && a.rawFastest == b.rawFastest && a.balanceSampleUp == b.balanceSampleUp
        && a.balanceSampleDown == b.balanceSampleDown && a.motionBlock == b.motionBlock;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t limb = data[0];
    const bool spasmPromptOpen = data[1] & 1;
    const QByteArray frame = QByteArray::fromRawData(reinterpret_cast<const char *>(data + 2), int(size - 2));
    const LiveRecord record = LiveDataDecoder::decode(frame, limb, spasmPromptOpen);

    if (frame.size() <= 2) {
        check(record.kind == LiveRecord::Kind::Ignored);
        return 0;
    }
    const uint8_t command = uint8_t(frame.at(2));
    if (command == DeviceProtocol::kReplyVersion)
        check(record.kind == LiveRecord::Kind::Version && record.version.size() <= 4);
    if (record.kind != LiveRecord::Kind::LiveData)
        return 0;
    check(command <= DeviceProtocol::kReplyLiveData1);

    check(record.emergencyCheckable == (frame.size() >= LiveDataDecoder::kEmergencyCheckMinFrame));
    check(record.motionBlock.size() == LiveDataDecoder::kMotionBlockSize);
    check(record.upSpeed <= LiveDataDecoder::kShownSpeedMax && record.downSpeed <= LiveDataDecoder::kShownSpeedMax);
    check(record.currentSpeed >= 0 && record.currentSpeed <= LiveDataDecoder::kShownSpeedMax);
    check(record.fastest <= record.rawFastest && record.rawFastest <= 255);
    check(record.lengthText.isEmpty() == (limb > 3));
    check(record.lengthText.isEmpty() || record.lengthText.endsWith(QLatin1Char('m')));
    check(record.gameSpeed == 0.0f || (record.gameSpeed >= LiveDataDecoder::kGameSpeedMin && record.gameSpeed <= 30.0f));
    check(!record.balanceShown || record.balanceLeft + record.balanceRight == LiveDataDecoder::kFullBalance);

    // Missing bytes read as 0: the frame padded with zeros to its full length decodes alike.
    QByteArray whole(frame.constData(), frame.size());
    if (whole.size() < DeviceProtocol::kLiveFrameSize)
        whole.append(QByteArray(DeviceProtocol::kLiveFrameSize - whole.size(), '\0'));
    const LiveRecord padded = LiveDataDecoder::decode(whole, limb, spasmPromptOpen);
    check(sameValues(record, padded));

    OverSpeedWatch watch;
    const OverSpeedWatch::Action action = watch.feed(record.fastest, false);
    check((action == OverSpeedWatch::Action::ClosePrompt) == (record.fastest < OverSpeedWatch::kTopSpeed));
    StageNotice notice;
    check(notice.feed(record.stage).show == (record.stage != 1));
    return 0;
}
