#pragma once

#include "comm/bicycleparam.h"

#include <QObject>
#include <QString>
#include <array>

// The state hub: relays the training record and FES channel values, and holds the small pieces
// of state that several pages read.
class IceModule : public QObject
{
    Q_OBJECT
public:
    static constexpr int kChannelCount = 8;

    static IceModule *getInstance();

    void setBicycleParam(const ST_BicycleParam &param);

    void setDeviceState(int state);
    int getDeviceState() const;
    void setEmergencyState(int state);
    int getEmergencyState() const;
    void setTorqueLevel(int level);
    int getTorqueLevel() const;
    void setLowerMachineVersion(const QString &version);
    QString getLowerMachineVersion() const;
    void setGameType(int type);
    int getGameType() const;

    // index 0..7 is channel 1..8; other indexes are ignored.
    void setChannelCurrent(int index, int value);
    int getChannelCurrent(int index) const;
    void sendChannelBCurrents();

signals:
    void signalSetFesAParam(int *data, int size);
    void signalSetFesBParam(int *data, int size);
    void signalSetBicycleParam(ST_BicycleParam param);

private:
    IceModule();

    uint8_t m_deviceState = 1;
    uint8_t m_emergencyState = 0;
    uint8_t m_torqueLevel = 0;
    QString m_lowerMachineVersion;
    uint8_t m_gameType = 0;
    std::array<int, kChannelCount> m_channelCurrents{};
};
