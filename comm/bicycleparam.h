#pragma once

#include <QMetaType>
#include <cstddef>
#include <cstdint>

// The training parameter record, copied byte for byte into command 0x01; 13 bytes, no padding.
#pragma pack(push, 1)
struct ST_BicycleParam
{
    uint8_t controlState = 0;    // 0 stop, 1 start, 2 pause, 3 resume
    uint8_t trainLimp = 0;       // 0 horizontal upper, 1 lower, 2 upper and lower, 3 vertical upper
    uint8_t trainMode = 0;       // 0 passive, 1 active, 2 assisted, 3 isokinetic, ...
    uint8_t spasmProtect = 1;    // 1 on, 0 off
    uint8_t spasmLevel = 1;      // 1 low, 2 middle, 3 high
    uint8_t torqueLevel = 0;     // 0 low, 1 middle, 2 high
    uint8_t reserved1 = 0;
    uint8_t reserved2 = 0;
    uint8_t trainDirection = 1;  // 1 forward, 0 backward
    uint8_t trainSpeed = 10;     // r/min, 2..55
    uint8_t trainResistance = 5; // level 1..20
    uint8_t spasmDirection = 0;  // direction handed to the spasm prompt
    uint8_t trainTime = 20;      // minutes, 1..120; never sent to the machine
};
#pragma pack(pop)

static_assert(sizeof(ST_BicycleParam) == 13, "ST_BicycleParam must be 13 bytes without padding");
static_assert(offsetof(ST_BicycleParam, trainDirection) == 8, "trainDirection sits at offset 8");
static_assert(offsetof(ST_BicycleParam, trainTime) == 12, "trainTime sits at offset 12");

Q_DECLARE_METATYPE(ST_BicycleParam)
