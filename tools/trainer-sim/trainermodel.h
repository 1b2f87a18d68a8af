#pragma once

#include "comm/bicycleparam.h"

#include <QByteArray>
#include <cstdint>
#include <random>

// The simulated motor controller: set values, crank motion, stage and faults, and the live-data
// record it reports. Time only moves through advance(), so it runs the same in tests and live.
class TrainerModel
{
public:
    enum class RunState { Stopped, Running, Paused };

    // Crank acceleration and braking in r/min per second (20 r/min/s is 1 r/min per record at 20 Hz).
    static constexpr double kAcceleration = 20.0;
    static constexpr double kBraking = 40.0;
    // Speed reported while an over-speed fault lasts.
    static constexpr uint8_t kOverspeedRpm = 120;
    // Records keep coming this long after a fault ends, so the host sees the all-clear.
    static constexpr double kAllClearSeconds = 1.0;

    // A motor controller whose host falls silent this long stops its motor.
    static constexpr double kWatchdogSeconds = 3.0;

    explicit TrainerModel(double stagePeriodSeconds = 30.0, uint32_t seed = 1,
                          double watchdogSeconds = kWatchdogSeconds);

    // A heartbeat from the host: the watchdog starts over.
    void heartBeat();

    // Command 0x01: the control code in controlState plus the set values.
    void applyParam(const ST_BicycleParam &param);
    // Command 0x02; returns false for items that change nothing here.
    bool applyRealTime(uint8_t item, uint8_t value);

    void triggerSpasm();
    void pressEmergency();
    void releaseEmergency();
    void startOverspeed(double seconds);

    // Moves the model's time on. Time that passes only in the model (records sent in a burst)
    // does not count against the host's heartbeats.
    void advance(double seconds, bool hostTime = true);
    // Whether the machine sends live data now.
    bool isStreaming() const;
    // The 31-byte live-data record for the current moment; a pending spasm is reported once.
    QByteArray takeRecord();

    RunState runState() const { return m_state; }
    const ST_BicycleParam &param() const { return m_param; }
    bool upperInUse() const;
    bool lowerInUse() const;
    double upperSpeed() const { return m_upperSpeed; }
    double lowerSpeed() const { return m_lowerSpeed; }
    uint8_t reportedUpperSpeed() const;
    uint8_t reportedLowerSpeed() const;
    uint16_t handAngle() const;
    uint16_t footAngle() const;
    uint16_t upperDistanceCount() const;
    uint16_t lowerDistanceCount() const;
    uint16_t upperPower() const;
    uint16_t lowerPower() const;
    uint8_t stage() const;
    bool emergency() const { return m_emergency; }
    bool spasmPending() const { return m_spasmPending; }
    double overspeedLeft() const { return m_overspeedLeft; }
    double stagePeriod() const { return m_stagePeriod; }
    // The watchdog stopped the motor and no heartbeat has come since.
    bool hostLost() const { return m_hostLost; }
    // How often the watchdog has stopped the motor.
    int watchdogStops() const { return m_watchdogStops; }
    double watchdogSeconds() const { return m_watchdog; }

private:
    void stopMotor();
    static bool switchesStages(uint8_t mode);
    static double approach(double current, double target, double step);
    static double wrapAngle(double degrees);
    double balanceStep(double balance);

    ST_BicycleParam m_param;
    RunState m_state = RunState::Stopped;
    double m_stagePeriod;
    double m_watchdog;
    double m_sinceHeartBeat = 0.0;
    bool m_hostLost = false;
    int m_watchdogStops = 0;
    double m_stageElapsed = 0.0;
    uint8_t m_switchingStage = 0; // 0 passive, 1 active; used in the modes that switch
    double m_upperSpeed = 0.0;
    double m_lowerSpeed = 0.0;
    double m_handAngle = 0.0;
    double m_footAngle = 0.0;
    double m_upperRevolutions = 0.0;
    double m_lowerRevolutions = 0.0;
    double m_upperBalance = 50.0;
    double m_lowerBalance = 50.0;
    bool m_emergency = false;
    bool m_spasmPending = false;
    double m_overspeedLeft = 0.0;
    double m_allClearLeft = 0.0;
    std::mt19937 m_random;
};
