#pragma once

#include "game/gamemsg.h"
#include "training/liverecord.h"

#include <QByteArray>
#include <cstdint>

// Reads one frame from the lower machine by absolute position; missing bytes count as 0.
class LiveDataDecoder
{
public:
    // A page that is not running still checks the emergency byte of frames this long.
    static constexpr int kEmergencyCheckMinFrame = 30;
    static constexpr int kShownSpeedMax = 100;
    static constexpr int kFullBalance = 100;
    // The game's speed is the limb speed × 0.3, never below this while it moves at all.
    static constexpr float kGameSpeedFactor = 0.3f;
    static constexpr float kGameSpeedMin = 1.1f;
    static constexpr int kMotionBlockSize = 7;

    // Fed through the page's receive slot this many times at each start: it leaves the
    // over-speed watch at rest (speeds 0 and 1).
    static constexpr const char *kBuiltInFrameHex = "AB040107100001CD";
    static constexpr int kBuiltInFrameRepeats = 100;
    static QByteArray builtInFrame();

    // limb is the control record's trainLimp (0 to 3).
    static LiveRecord decode(const QByteArray &frame, uint8_t limb, bool spasmPromptOpen);

    // The game link record of a live-data record: speed, balance shares and hand angle.
    static ST_GameLiveData gameLiveData(const LiveRecord &record);

    // Distance count × 0.6 m with one decimal and "m".
    static QString lengthText(int count);
    static float gameSpeed(int speedValue);
};
