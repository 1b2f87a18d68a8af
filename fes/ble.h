#pragma once

#include <QBluetoothDeviceInfo>
#include <QList>
#include <QObject>

class DeviceDiscoverySource;

// Scans for Bluetooth Low Energy devices (the pulse oximeter) and keeps the ones found.
class BLE : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDiscoveryTimeoutMs = 5000;

    // Takes ownership of source; without one, the platform's Bluetooth stack is used.
    explicit BLE(QObject *parent = nullptr, DeviceDiscoverySource *source = nullptr);

    void startScan();
    QList<QBluetoothDeviceInfo> getDevices() const;
    bool isScanning() const { return m_scanning; }

signals:
    void signal_scanFinished();
    void signal_findservicesFinished();
    void signal_findcharsFinished();

private:
    void addDevice(const QBluetoothDeviceInfo &info);
    void scanFinished();
    void scanError(int error);

    DeviceDiscoverySource *m_source = nullptr;
    QList<QBluetoothDeviceInfo> m_devices;
    bool m_scanning = false;
};
