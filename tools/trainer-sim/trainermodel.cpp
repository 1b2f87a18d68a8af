#include "trainermodel.h"

#include "comm/deviceprotocol.h"

#include <algorithm>
#include <cmath>

using namespace DeviceProtocol;

namespace {

// Mode codes in which the machine alternates between a passive and an active stage by itself.
constexpr uint8_t kModeActivePassiveBoth = 7;
constexpr uint8_t kModeActivePassiveSingle = 10;

// Power in watts per (r/min x resistance level): 10 r/min at level 5 gives 10 W.
constexpr double kWattsPerRpmLevel = 0.2;

void putUint16(QByteArray &record, int offset, uint16_t value)
{
    record[offset] = char(value & 0xFF);
    record[offset + 1] = char(value >> 8);
}

} // namespace

TrainerModel::TrainerModel(double stagePeriodSeconds, uint32_t seed, double watchdogSeconds)
    : m_stagePeriod(stagePeriodSeconds > 0.0 ? stagePeriodSeconds : 30.0),
      m_watchdog(watchdogSeconds > 0.0 ? watchdogSeconds : kWatchdogSeconds),
      m_random(seed)
{
}

void TrainerModel::heartBeat()
{
    m_sinceHeartBeat = 0.0;
    m_hostLost = false;
}

void TrainerModel::stopMotor()
{
    m_state = RunState::Stopped;
    m_upperSpeed = 0.0;
    m_lowerSpeed = 0.0;
    m_allClearLeft = 0.0;
}

bool TrainerModel::switchesStages(uint8_t mode)
{
    return mode == kModeActivePassiveBoth || mode == kModeActivePassiveSingle;
}

bool TrainerModel::upperInUse() const
{
    return m_param.trainLimp == 0 || m_param.trainLimp == 2 || m_param.trainLimp == 3;
}

bool TrainerModel::lowerInUse() const
{
    return m_param.trainLimp == 1 || m_param.trainLimp == 2;
}

void TrainerModel::applyParam(const ST_BicycleParam &param)
{
    const RunState before = m_state;
    // Every record carries the current set values, whatever its control code.
    const uint8_t keptTime = m_param.trainTime;
    m_param = param;
    m_param.trainTime = keptTime;

    switch (param.controlState) {
    case kControlStart:
        // A new session: distances, stage and watchdog start over, the cranks stay where they are.
        m_state = RunState::Running;
        m_sinceHeartBeat = 0.0;
        m_upperRevolutions = 0.0;
        m_lowerRevolutions = 0.0;
        m_stageElapsed = 0.0;
        m_switchingStage = 0;
        break;
    case kControlPause:
        if (before == RunState::Running)
            m_state = RunState::Paused;
        break;
    case kControlResume:
        m_state = RunState::Running;
        m_sinceHeartBeat = 0.0;
        break;
    case kControlStop:
        stopMotor();
        break;
    default:
        break;
    }
}

bool TrainerModel::applyRealTime(uint8_t item, uint8_t value)
{
    switch (item) {
    case kItemResistance:
        m_param.trainResistance = value;
        return true;
    case kItemSpeed:
        m_param.trainSpeed = value;
        return true;
    case kItemDirection:
        m_param.trainDirection = value;
        return true;
    case kItemSpeedStep:
        if (value == 1 && m_param.trainSpeed < 255)
            ++m_param.trainSpeed;
        else if (value == 2 && m_param.trainSpeed > 0)
            --m_param.trainSpeed;
        else
            return false;
        return true;
    case kItemSpasmDirection:
        m_param.spasmDirection = value; // remembered for the status only
        return false;
    default:
        return false;
    }
}

void TrainerModel::triggerSpasm()
{
    m_spasmPending = true;
}

void TrainerModel::pressEmergency()
{
    // The motor is cut: the session ends and the cranks run down while the button is held.
    m_emergency = true;
    m_state = RunState::Stopped;
}

void TrainerModel::releaseEmergency()
{
    if (m_emergency)
        m_allClearLeft = kAllClearSeconds;
    m_emergency = false;
}

void TrainerModel::startOverspeed(double seconds)
{
    m_overspeedLeft = std::max(0.0, seconds);
}

double TrainerModel::approach(double current, double target, double step)
{
    if (current < target)
        return std::min(target, current + step);
    return std::max(target, current - step);
}

double TrainerModel::wrapAngle(double degrees)
{
    double wrapped = std::fmod(degrees, 360.0);
    if (wrapped < 0.0)
        wrapped += 360.0;
    return wrapped;
}

double TrainerModel::balanceStep(double balance)
{
    // A small random walk that is pulled back toward an even share.
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    const double next = balance + noise(m_random) + (50.0 - balance) * 0.1;
    return std::clamp(next, 40.0, 60.0);
}

void TrainerModel::advance(double seconds, bool hostTime)
{
    if (seconds <= 0.0)
        return;

    // The host is lost: a motor left running with nobody watching the patient must stop.
    if (hostTime)
        m_sinceHeartBeat += seconds;
    if (m_state != RunState::Stopped && m_sinceHeartBeat >= m_watchdog) {
        stopMotor();
        m_hostLost = true;
        ++m_watchdogStops;
    }

    const bool driving = m_state == RunState::Running && !m_emergency;
    const double target = double(m_param.trainSpeed);
    const double upperTarget = driving && upperInUse() ? target : 0.0;
    const double lowerTarget = driving && lowerInUse() ? target : 0.0;
    m_upperSpeed = approach(m_upperSpeed, upperTarget,
                            (upperTarget > m_upperSpeed ? kAcceleration : kBraking) * seconds);
    m_lowerSpeed = approach(m_lowerSpeed, lowerTarget,
                            (lowerTarget > m_lowerSpeed ? kAcceleration : kBraking) * seconds);

    // Each angle follows its own crank; a crank not in use turns with the one that is.
    const double handRpm = upperInUse() ? m_upperSpeed : m_lowerSpeed;
    const double footRpm = lowerInUse() ? m_lowerSpeed : m_upperSpeed;
    const double sign = m_param.trainDirection == 0 ? -1.0 : 1.0;
    m_handAngle = wrapAngle(m_handAngle + sign * handRpm * 6.0 * seconds);
    m_footAngle = wrapAngle(m_footAngle + sign * footRpm * 6.0 * seconds);
    m_upperRevolutions += m_upperSpeed * seconds / 60.0;
    m_lowerRevolutions += m_lowerSpeed * seconds / 60.0;

    if (m_state == RunState::Running && switchesStages(m_param.trainMode)) {
        m_stageElapsed += seconds;
        while (m_stageElapsed >= m_stagePeriod) {
            m_stageElapsed -= m_stagePeriod;
            m_switchingStage = m_switchingStage == 0 ? 1 : 0;
        }
    }

    if (m_overspeedLeft > 0.0) {
        m_overspeedLeft -= seconds;
        if (m_overspeedLeft <= 0.0) {
            m_overspeedLeft = 0.0;
            m_allClearLeft = kAllClearSeconds;
        }
    } else if (m_allClearLeft > 0.0) {
        m_allClearLeft = std::max(0.0, m_allClearLeft - seconds);
    }
}

bool TrainerModel::isStreaming() const
{
    return m_state != RunState::Stopped || m_emergency || m_overspeedLeft > 0.0
           || m_allClearLeft > 0.0;
}

uint8_t TrainerModel::reportedUpperSpeed() const
{
    if (m_overspeedLeft > 0.0 && upperInUse())
        return kOverspeedRpm;
    return uint8_t(std::clamp(std::lround(m_upperSpeed), 0L, 255L));
}

uint8_t TrainerModel::reportedLowerSpeed() const
{
    if (m_overspeedLeft > 0.0 && lowerInUse())
        return kOverspeedRpm;
    return uint8_t(std::clamp(std::lround(m_lowerSpeed), 0L, 255L));
}

uint16_t TrainerModel::handAngle() const
{
    return uint16_t(int(m_handAngle) % 360);
}

uint16_t TrainerModel::footAngle() const
{
    return uint16_t(int(m_footAngle) % 360);
}

uint16_t TrainerModel::upperDistanceCount() const
{
    // One count (0.6 m) per crank revolution; the counter wraps like the machine's.
    return uint16_t(uint64_t(m_upperRevolutions) & 0xFFFF);
}

uint16_t TrainerModel::lowerDistanceCount() const
{
    return uint16_t(uint64_t(m_lowerRevolutions) & 0xFFFF);
}

uint16_t TrainerModel::upperPower() const
{
    return uint16_t(std::lround(kWattsPerRpmLevel * m_upperSpeed * m_param.trainResistance));
}

uint16_t TrainerModel::lowerPower() const
{
    return uint16_t(std::lround(kWattsPerRpmLevel * m_lowerSpeed * m_param.trainResistance));
}

uint8_t TrainerModel::stage() const
{
    return switchesStages(m_param.trainMode) ? m_switchingStage : m_param.trainMode;
}

QByteArray TrainerModel::takeRecord()
{
    m_upperBalance = upperInUse() ? balanceStep(m_upperBalance) : 50.0;
    m_lowerBalance = lowerInUse() ? balanceStep(m_lowerBalance) : 50.0;

    QByteArray record(kLiveRecordSize, '\0');
    record[Live::kStage] = char(stage());
    record[Live::kDownSpeed] = char(reportedLowerSpeed());
    record[Live::kUpSpeed] = char(reportedUpperSpeed());
    putUint16(record, Live::kLeftHandAngle, handAngle());
    putUint16(record, Live::kLeftFootAngle, footAngle());
    record[Live::kUpBalance] = char(int8_t(std::lround(m_upperBalance)));
    record[Live::kDownBalance] = char(int8_t(std::lround(m_lowerBalance)));
    putUint16(record, Live::kUpDistance, upperDistanceCount());
    putUint16(record, Live::kDownDistance, lowerDistanceCount());
    record[Live::kEmergency] = char(m_emergency ? 1 : 0);
    record[Live::kSpasm] = char(m_spasmPending ? 1 : 0);
    putUint16(record, Live::kUpPower, upperPower());
    putUint16(record, Live::kDownPower, lowerPower());
    m_spasmPending = false;
    return record;
}
