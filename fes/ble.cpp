#include "fes/ble.h"

#include "fes/qtdevicediscoverysource.h"

#include <QBluetoothAddress>

#include <QDebug>

BLE::BLE(QObject *parent, DeviceDiscoverySource *source)
    : QObject(parent), m_source(source ? source : new QtDeviceDiscoverySource)
{
    m_source->setParent(this);
    connect(m_source, &DeviceDiscoverySource::deviceDiscovered, this, &BLE::addDevice);
    connect(m_source, &DeviceDiscoverySource::finished, this, &BLE::scanFinished);
    connect(m_source, &DeviceDiscoverySource::errorOccurred, this, &BLE::scanError);
}

void BLE::startScan()
{
    m_devices.clear();
    m_source->startLowEnergyScan(kDiscoveryTimeoutMs);
    if (m_source->isActive()) {
        qDebug() << "Scanning.\n";
        m_scanning = true;
    }
}

QList<QBluetoothDeviceInfo> BLE::getDevices() const
{
    return m_devices;
}

void BLE::addDevice(const QBluetoothDeviceInfo &info)
{
    if (!(info.coreConfigurations() & QBluetoothDeviceInfo::LowEnergyCoreConfiguration))
        return;
    qDebug() << info.name() << info.address().toString();
    m_devices.append(info);
}

void BLE::scanFinished()
{
    if (m_devices.isEmpty())
        qDebug() << "No Low Energy devices found...";
    else
        qDebug() << "Scan finished!";
    emit signal_scanFinished();
    m_scanning = false;
}

void BLE::scanError(int error)
{
    if (error == DeviceDiscoverySource::PoweredOffError)
        qDebug() << "The Bluetooth is powered off.";
    else if (error == DeviceDiscoverySource::InputOutputError)
        qDebug() << "Writing or reading from the device resulted in an error.";
    // A failed scan has ended: without this the next search would be refused for ever.
    if (error != DeviceDiscoverySource::NoError)
        m_scanning = false;
}
