#include "fes/qtdevicediscoverysource.h"

#include <QBluetoothDeviceDiscoveryAgent>

QtDeviceDiscoverySource::QtDeviceDiscoverySource(QObject *parent)
    : DeviceDiscoverySource(parent), m_agent(new QBluetoothDeviceDiscoveryAgent(this))
{
    connect(m_agent, &QBluetoothDeviceDiscoveryAgent::deviceDiscovered, this,
            &DeviceDiscoverySource::deviceDiscovered);
    connect(m_agent, &QBluetoothDeviceDiscoveryAgent::finished, this, &DeviceDiscoverySource::finished);
    connect(m_agent, QOverload<QBluetoothDeviceDiscoveryAgent::Error>::of(&QBluetoothDeviceDiscoveryAgent::error),
            this, [this](QBluetoothDeviceDiscoveryAgent::Error error) {
                switch (error) {
                case QBluetoothDeviceDiscoveryAgent::NoError:
                    emit errorOccurred(NoError);
                    break;
                case QBluetoothDeviceDiscoveryAgent::PoweredOffError:
                    emit errorOccurred(PoweredOffError);
                    break;
                case QBluetoothDeviceDiscoveryAgent::InputOutputError:
                    emit errorOccurred(InputOutputError);
                    break;
                default:
                    emit errorOccurred(OtherError);
                    break;
                }
            });
}

void QtDeviceDiscoverySource::startLowEnergyScan(int timeoutMs)
{
    m_agent->setLowEnergyDiscoveryTimeout(timeoutMs);
    m_agent->start(QBluetoothDeviceDiscoveryAgent::LowEnergyMethod);
}

bool QtDeviceDiscoverySource::isActive() const
{
    return m_agent->isActive();
}
