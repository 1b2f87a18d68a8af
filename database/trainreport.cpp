#include "database/trainreport.h"

#include "database/rowfield.h"

#include <QUuid>

using RowField::take;

QString newRowUuid()
{
    return QString::fromLatin1(QUuid::createUuid().toByteArray(QUuid::Id128));
}

ST_TrainReport variantMapToTrainReport(const QVariantMap &row)
{
    ST_TrainReport r;
    take(row, "UUID", r.UUID);
    take(row, "ID", r.ID);
    take(row, "name", r.name);
    take(row, "sex", r.sex);
    take(row, "phone", r.phone);
    RowField::takeUnsigned(row, "age", r.age);
    take(row, "trainMode", r.trainMode);
    take(row, "bodyIndex", r.bodyIndex);
    take(row, "markMsg", r.markMsg);
    take(row, "trainTime", r.trainTime);
    take(row, "leftBalance", r.leftBalance);
    take(row, "rightBalance", r.rightBalance);
    take(row, "upLimpLength", r.upLimpLength);
    take(row, "downLimpLength", r.downLimpLength);
    take(row, "activeTime", r.activeTime);
    take(row, "passiveTime", r.passiveTime);
    take(row, "spasmTimes", r.spasmTimes);
    take(row, "maxResistance", r.maxResistance);
    take(row, "averangeResistance", r.averangeResistance);
    take(row, "minResistance", r.minResistance);
    take(row, "startTimeStr", r.startTimeStr);
    take(row, "averageSpeed", r.averageSpeed);
    take(row, "maxSpeed", r.maxSpeed);
    return r;
}

QVariantMap TrainReportToVariantMap(const ST_TrainReport &r)
{
    QVariantMap row;
    row.insert(QStringLiteral("UUID"), newRowUuid());
    row.insert(QStringLiteral("ID"), r.ID);
    row.insert(QStringLiteral("name"), r.name);
    row.insert(QStringLiteral("sex"), r.sex);
    row.insert(QStringLiteral("phone"), r.phone);
    row.insert(QStringLiteral("age"), r.age);
    row.insert(QStringLiteral("trainMode"), r.trainMode);
    row.insert(QStringLiteral("bodyIndex"), r.bodyIndex);
    row.insert(QStringLiteral("markMsg"), r.markMsg);
    row.insert(QStringLiteral("trainTime"), r.trainTime);
    row.insert(QStringLiteral("leftBalance"), r.leftBalance);
    row.insert(QStringLiteral("rightBalance"), r.rightBalance);
    row.insert(QStringLiteral("upLimpLength"), r.upLimpLength);
    row.insert(QStringLiteral("downLimpLength"), r.downLimpLength);
    row.insert(QStringLiteral("activeTime"), r.activeTime);
    row.insert(QStringLiteral("passiveTime"), r.passiveTime);
    row.insert(QStringLiteral("spasmTimes"), r.spasmTimes);
    row.insert(QStringLiteral("maxResistance"), r.maxResistance);
    row.insert(QStringLiteral("averangeResistance"), r.averangeResistance);
    row.insert(QStringLiteral("minResistance"), r.minResistance);
    row.insert(QStringLiteral("startTimeStr"), r.startTimeStr);
    row.insert(QStringLiteral("averageSpeed"), r.averageSpeed);
    row.insert(QStringLiteral("maxSpeed"), r.maxSpeed);
    return row;
}
