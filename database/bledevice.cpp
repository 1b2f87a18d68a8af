#include "database/bledevice.h"

#include "database/rowfield.h"

ST_BLEDevice variantMapToBLEDevice(const QVariantMap &row)
{
    ST_BLEDevice d;
    RowField::take(row, "deviceNo", d.deviceNo);
    RowField::take(row, "deviceMac", d.deviceMac);
    return d;
}

QVariantMap BLEDeviceToVariantMap(const ST_BLEDevice &device)
{
    QVariantMap row;
    row.insert(QStringLiteral("deviceNo"), device.deviceNo);
    row.insert(QStringLiteral("deviceMac"), device.deviceMac);
    return row;
}
