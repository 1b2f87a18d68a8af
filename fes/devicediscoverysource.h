#pragma once

#include <QBluetoothDeviceInfo>
#include <QObject>

// Where Bluetooth Low Energy devices come from: the platform's stack in the program, a
// substitute in tests (this machine has no Bluetooth adapter).
class DeviceDiscoverySource : public QObject
{
    Q_OBJECT
public:
    enum Error { NoError, PoweredOffError, InputOutputError, OtherError };

    using QObject::QObject;

    virtual void startLowEnergyScan(int timeoutMs) = 0;
    virtual bool isActive() const = 0;

signals:
    void deviceDiscovered(const QBluetoothDeviceInfo &info);
    void finished();
    void errorOccurred(int error);
};
