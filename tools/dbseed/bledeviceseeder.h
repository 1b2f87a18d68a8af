#pragma once

#include "tools/fes-sim/fesboxoption.h"

#include <QList>
#include <QString>
#include <QStringList>

class CDatabaseInterface;

// Adds boxes to BLEDeviceMsg through the database layer, leaving registered MACs alone.
class BleDeviceSeeder
{
public:
    explicit BleDeviceSeeder(CDatabaseInterface *db) : m_db(db) {}

    // False with error() on the first failing statement; lines() says what was done.
    bool seed(const QList<FesBoxOption> &boxes);

    QStringList lines() const { return m_lines; }
    QString error() const { return m_error; }

private:
    bool ensureTable();
    bool seedOne(const FesBoxOption &box);
    bool fail(const QString &what);

    CDatabaseInterface *m_db;
    QStringList m_lines;
    QString m_error;
};
