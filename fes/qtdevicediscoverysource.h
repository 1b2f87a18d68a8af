#pragma once

#include "fes/devicediscoverysource.h"

class QBluetoothDeviceDiscoveryAgent;

// Device discovery through Qt Bluetooth.
class QtDeviceDiscoverySource : public DeviceDiscoverySource
{
    Q_OBJECT
public:
    explicit QtDeviceDiscoverySource(QObject *parent = nullptr);

    void startLowEnergyScan(int timeoutMs) override;
    bool isActive() const override;

private:
    QBluetoothDeviceDiscoveryAgent *m_agent = nullptr;
};
