#include "training/modeselection.h"

#include <QDebug>

#include <cstring>

namespace ModeSelection {

namespace {

constexpr int kTimeMin = 1;
constexpr int kTimeMax = 120;
constexpr int kResistanceMin = 1;
constexpr int kResistanceMax = 20;
constexpr int kSpeedMin = 2;
constexpr int kSpeedMax = 55;

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

// Keeps value when ok, else logs and takes fallback.
void check(const char *field, int &value, bool ok, int fallback)
{
    if (ok)
        return;
    qWarning().noquote() << QStringLiteral("导入处方：%1 = %2 超出范围，改用 %3")
                                .arg(QLatin1String(field)).arg(value).arg(fallback);
    value = fallback;
}

} // namespace

ST_BicycleParam defaultParam()
{
    ST_BicycleParam param;
    param.spasmProtect = 1;
    param.spasmLevel = 2;
    param.trainDirection = 1;
    param.trainSpeed = 10;
    param.trainResistance = 5;
    param.trainTime = 20;
    return param;
}

int trainModeCode(Limb limb, Mode mode)
{
    if (limb == Limb::UpperAndLower)
        return mode == Mode::Passive ? 4 : 7;
    switch (mode) {
    case Mode::Passive:
        return 0;
    case Mode::Active:
        return 1;
    case Mode::Assisted:
        return 2;
    case Mode::Isokinetic:
        return 3;
    case Mode::ActivePassive:
        break;
    }
    return 10;
}

bool modeForCode(int trainMode, Mode &mode)
{
    switch (trainMode) {
    case 0:
    case 4:
        mode = Mode::Passive;
        return true;
    case 1:
        mode = Mode::Active;
        return true;
    case 2:
        mode = Mode::Assisted;
        return true;
    case 3:
        mode = Mode::Isokinetic;
        return true;
    case 7:
    case 10:
        mode = Mode::ActivePassive;
        return true;
    default:
        return false;
    }
}

ST_BicycleParam startRecord(Limb limb, Mode mode, const ST_BicycleParam &kept)
{
    ST_BicycleParam record;
    std::memset(static_cast<void *>(&record), 0, sizeof record);
    record.trainLimp = uint8_t(limb);
    record.trainMode = uint8_t(trainModeCode(limb, mode));
    record.spasmProtect = kept.spasmProtect;
    record.spasmLevel = kept.spasmLevel;
    record.trainDirection = kept.trainDirection;
    record.trainSpeed = kept.trainSpeed;
    record.trainResistance = kept.trainResistance;
    record.trainTime = kept.trainTime;
    return record;
}

ST_TrainParam prescription(int patientId, Limb limb, Mode mode, const ST_BicycleParam &kept, int gameNumber)
{
    ST_TrainParam p;
    p.ID = patientId;
    p.trainLimp = int(limb);
    p.trainMode = trainModeCode(limb, mode);
    p.trainTime = kept.trainTime;
    p.trainResistance = kept.trainResistance;
    p.trainSpeed = kept.trainSpeed;
    p.trainDirection = kept.trainDirection;
    p.spasmProtect = kept.spasmProtect;
    p.spasmLevel = kept.spasmLevel;
    p.gameID = gameNumber;
    return p;
}

ST_TrainParam checkedPrescription(const ST_TrainParam &stored)
{
    const ST_BicycleParam defaults = defaultParam();
    ST_TrainParam p = stored;
    Mode mode;
    check("trainLimp", p.trainLimp, inRange(p.trainLimp, 0, 3), int(Limb::Horizontal));
    check("trainMode", p.trainMode, modeForCode(p.trainMode, mode), trainModeCode(Limb::Horizontal, Mode::ActivePassive));
    check("trainTime", p.trainTime, inRange(p.trainTime, kTimeMin, kTimeMax), defaults.trainTime);
    check("trainResistance", p.trainResistance, inRange(p.trainResistance, kResistanceMin, kResistanceMax),
          defaults.trainResistance);
    check("trainSpeed", p.trainSpeed, inRange(p.trainSpeed, kSpeedMin, kSpeedMax), defaults.trainSpeed);
    check("trainDirection", p.trainDirection, inRange(p.trainDirection, 0, 1), defaults.trainDirection);
    check("spasmProtect", p.spasmProtect, inRange(p.spasmProtect, 0, 1), defaults.spasmProtect);
    check("spasmLevel", p.spasmLevel, inRange(p.spasmLevel, 1, 3), defaults.spasmLevel);
    check("gameID", p.gameID, inRange(p.gameID, 1, kGameCount), 1);
    return p;
}

} // namespace ModeSelection
