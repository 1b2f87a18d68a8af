#include "bledeviceseeder.h"

#include "database/bledevice.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"

namespace {
const QString kTable = QStringLiteral("BLEDeviceMsg");
} // namespace

bool BleDeviceSeeder::fail(const QString &what)
{
    m_error = QStringLiteral("%1: %2").arg(what, m_db->getLastError());
    return false;
}

bool BleDeviceSeeder::ensureTable()
{
    if (m_db->tableExists(kTable))
        return true;
    // A database made before the box table existed: add just that table.
    if (!m_db->createTable(kTable, DatabaseSchema::columns(kTable)))
        return fail(QStringLiteral("cannot create the table %1").arg(kTable));
    m_lines << QStringLiteral("created the table %1").arg(kTable);
    return true;
}

bool BleDeviceSeeder::seedOne(const FesBoxOption &box)
{
    // The program reads the MAC text case-blind, so a registration in lower case counts too.
    if (!m_db->execQuery(QStringLiteral("select deviceNo, deviceMac from BLEDeviceMsg where upper(deviceMac) = ?"),
                         {box.macText}))
        return fail(QStringLiteral("cannot read %1").arg(kTable));
    const int rows = m_db->getValuesSize();
    if (rows > 0) {
        const ST_BLEDevice existing = variantMapToBLEDevice(m_db->getValues(0, 1).first());
        m_lines << QStringLiteral("MAC %1 is registered already as device %2; left as it is")
                       .arg(box.macText).arg(existing.deviceNo);
        return true;
    }
    if (!m_db->execQuery(QStringLiteral("insert into BLEDeviceMsg (deviceNo, deviceMac) values (?, ?)"),
                         {box.number, box.macText}))
        return fail(QStringLiteral("cannot register MAC %1").arg(box.macText));
    m_lines << QStringLiteral("registered MAC %1 as device %2").arg(box.macText).arg(box.number);
    return true;
}

bool BleDeviceSeeder::seed(const QList<FesBoxOption> &boxes)
{
    if (!ensureTable())
        return false;
    for (const FesBoxOption &box : boxes)
        if (!seedOne(box))
            return false;
    return true;
}
