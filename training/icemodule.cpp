#include "training/icemodule.h"

#include <QDebug>

IceModule *IceModule::getInstance()
{
    static IceModule *instance = new IceModule;
    return instance;
}

IceModule::IceModule()
{
    qRegisterMetaType<ST_BicycleParam>("ST_BicycleParam");
}

void IceModule::setBicycleParam(const ST_BicycleParam &param)
{
    emit signalSetBicycleParam(param);
}

void IceModule::setDeviceState(int state)
{
    m_deviceState = uint8_t(state);
}

int IceModule::getDeviceState() const
{
    return m_deviceState;
}

void IceModule::setEmergencyState(int state)
{
    m_emergencyState = uint8_t(state);
}

int IceModule::getEmergencyState() const
{
    return m_emergencyState;
}

void IceModule::setTorqueLevel(int level)
{
    m_torqueLevel = uint8_t(level);
}

int IceModule::getTorqueLevel() const
{
    return m_torqueLevel;
}

void IceModule::setLowerMachineVersion(const QString &version)
{
    m_lowerMachineVersion = version;
}

QString IceModule::getLowerMachineVersion() const
{
    return m_lowerMachineVersion;
}

void IceModule::setGameType(int type)
{
    m_gameType = uint8_t(type);
    qDebug().noquote() << QStringLiteral("游戏类型：") << type;
}

int IceModule::getGameType() const
{
    return m_gameType;
}

void IceModule::setChannelCurrent(int index, int value)
{
    if (index >= 0 && index < kChannelCount)
        m_channelCurrents[size_t(index)] = value;
}

int IceModule::getChannelCurrent(int index) const
{
    return (index >= 0 && index < kChannelCount) ? m_channelCurrents[size_t(index)] : 0;
}

void IceModule::sendChannelBCurrents()
{
    for (int current : m_channelCurrents)
        qDebug().noquote() << QStringLiteral("电流") << current;
    emit signalSetFesBParam(m_channelCurrents.data(), kChannelCount);
}
