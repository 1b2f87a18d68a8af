#pragma once

#include <QString>
#include <QVariantMap>

// A known FES box; a row of BLEDeviceMsg.
struct ST_BLEDevice
{
    int deviceNo = 0;  // box number 1..4
    QString deviceMac; // 12 hexadecimal digits, no separators
};

ST_BLEDevice variantMapToBLEDevice(const QVariantMap &row);
QVariantMap BLEDeviceToVariantMap(const ST_BLEDevice &device);
