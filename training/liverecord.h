#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// What one frame from the lower machine means to the training page, decoded without widgets.
struct LiveRecord
{
    enum class Kind {
        Ignored,        // two bytes or fewer, or a command byte the page does not read
        HeartBeatReply, // the page counts it for its connection icon
        Version,        // the machine's version text, for the state hub
        LiveData        // the fields below
    };
    Kind kind = Kind::Ignored;
    QString version;

    // ---- live data, as the full decode of a running page leaves it ----

    // Long enough to carry the emergency byte for a page that is not running.
    bool emergencyCheckable = false;
    uint8_t stage = 0;

    // Limbs 0, 2 and 3 show the upper pair of labels, limbs 1 and 2 the lower pair.
    bool upShown = false;
    int upSpeed = 0;   // clamped to 100
    int upPower = 0;
    bool downShown = false;
    int downSpeed = 0; // clamped to 100; 0 in limb 2 while the spasm prompt is open
    int downPower = 0; // 0 in limb 2 while the spasm prompt is open
    int currentSpeed = 0;
    QString lengthText; // e.g. "60.0m"

    bool balanceShown = false; // every limb but the vertical upper one
    int balanceLeft = 0;
    int balanceRight = 0;

    double upLength = 0.0;   // metres
    double downLength = 0.0; // metres
    int leftHandAngle = 0;
    int leftFootAngle = 0;

    bool emergency = false;
    bool spasm = false;

    int gameSpeedValue = 0;  // r/min
    float gameSpeed = 0.0f;  // what the game is sent

    // The larger of the two limb speeds after the clamping above (over-speed watch, samples)...
    int fastest = 0;
    // ...and as received, for the watch of a page that is not running.
    int rawFastest = 0;
    int balanceSampleUp = 0;   // signed percent
    int balanceSampleDown = 0; // signed percent

    // Record bytes 1 to 7 as received: the FES link sends its words high byte first.
    QByteArray motionBlock;
};
