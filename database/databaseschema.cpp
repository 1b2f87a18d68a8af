#include "database/databaseschema.h"

#include "database/cdatabaseinterface.h"

#include <QDebug>

namespace {

// Dates and times are stored as ISO text, which reads back with toDate/toDateTime and sorts
// chronologically.
const QMap<QString, QMap<QString, QString>> &schema()
{
    static const QMap<QString, QMap<QString, QString>> tables{
        {QStringLiteral("PatientTable"),
         {{QStringLiteral("ID"), QStringLiteral("INTEGER PRIMARY KEY")},
          {QStringLiteral("name"), QStringLiteral("TEXT")},
          {QStringLiteral("phone"), QStringLiteral("TEXT")},
          {QStringLiteral("sex"), QStringLiteral("INTEGER")},
          {QStringLiteral("birthday"), QStringLiteral("TEXT")},
          {QStringLiteral("bodyIndex"), QStringLiteral("INTEGER")},
          {QStringLiteral("markMsg"), QStringLiteral("TEXT")},
          {QStringLiteral("age"), QStringLiteral("INTEGER")}}},
        {QStringLiteral("TrainRecordTable"),
         {{QStringLiteral("UUID"), QStringLiteral("TEXT PRIMARY KEY")},
          {QStringLiteral("ID"), QStringLiteral("INTEGER")},
          {QStringLiteral("startTime"), QStringLiteral("TEXT")},
          {QStringLiteral("startTimeStr"), QStringLiteral("TEXT")},
          {QStringLiteral("trainTime"), QStringLiteral("INTEGER")},
          {QStringLiteral("score"), QStringLiteral("INTEGER")},
          {QStringLiteral("bodyPart"), QStringLiteral("TEXT")},
          {QStringLiteral("trainMode"), QStringLiteral("TEXT")}}},
        {QStringLiteral("TrainReportTable"),
         {{QStringLiteral("UUID"), QStringLiteral("TEXT PRIMARY KEY")},
          {QStringLiteral("ID"), QStringLiteral("INTEGER")},
          {QStringLiteral("name"), QStringLiteral("TEXT")},
          {QStringLiteral("sex"), QStringLiteral("INTEGER")},
          {QStringLiteral("phone"), QStringLiteral("TEXT")},
          {QStringLiteral("age"), QStringLiteral("INTEGER")},
          {QStringLiteral("trainMode"), QStringLiteral("INTEGER")},
          {QStringLiteral("bodyIndex"), QStringLiteral("INTEGER")},
          {QStringLiteral("markMsg"), QStringLiteral("TEXT")},
          {QStringLiteral("trainTime"), QStringLiteral("INTEGER")},
          {QStringLiteral("leftBalance"), QStringLiteral("INTEGER")},
          {QStringLiteral("rightBalance"), QStringLiteral("INTEGER")},
          {QStringLiteral("upLimpLength"), QStringLiteral("REAL")},
          {QStringLiteral("downLimpLength"), QStringLiteral("REAL")},
          {QStringLiteral("activeTime"), QStringLiteral("INTEGER")},
          {QStringLiteral("passiveTime"), QStringLiteral("INTEGER")},
          {QStringLiteral("spasmTimes"), QStringLiteral("INTEGER")},
          {QStringLiteral("maxResistance"), QStringLiteral("REAL")},
          {QStringLiteral("averangeResistance"), QStringLiteral("REAL")},
          {QStringLiteral("minResistance"), QStringLiteral("REAL")},
          {QStringLiteral("startTimeStr"), QStringLiteral("TEXT")},
          {QStringLiteral("averageSpeed"), QStringLiteral("INTEGER")},
          {QStringLiteral("maxSpeed"), QStringLiteral("INTEGER")}}},
        {QStringLiteral("TrainParamTable"),
         {{QStringLiteral("ID"), QStringLiteral("INTEGER")},
          {QStringLiteral("trainLimp"), QStringLiteral("INTEGER")},
          {QStringLiteral("trainMode"), QStringLiteral("INTEGER")},
          {QStringLiteral("trainTime"), QStringLiteral("INTEGER")},
          {QStringLiteral("trainResistance"), QStringLiteral("INTEGER")},
          {QStringLiteral("trainSpeed"), QStringLiteral("INTEGER")},
          {QStringLiteral("trainDirection"), QStringLiteral("INTEGER")},
          {QStringLiteral("spasmProtect"), QStringLiteral("INTEGER")},
          {QStringLiteral("spasmLevel"), QStringLiteral("INTEGER")},
          {QStringLiteral("gameID"), QStringLiteral("INTEGER")}}},
        {QStringLiteral("BLEDeviceMsg"),
         {{QStringLiteral("deviceNo"), QStringLiteral("INTEGER")},
          {QStringLiteral("deviceMac"), QStringLiteral("TEXT")}}},
    };
    return tables;
}

// The record list reads by patient and start time; reports and deletes go by start time.
const QMap<QString, QStringList> &indexes()
{
    static const QMap<QString, QStringList> byTable{
        {QStringLiteral("TrainRecordTable"),
         {QStringLiteral("create index if not exists TrainRecord_ID_startTime on TrainRecordTable(ID, startTime)"),
          QStringLiteral("create index if not exists TrainRecord_startTimeStr on TrainRecordTable(startTimeStr)")}},
        {QStringLiteral("TrainReportTable"),
         {QStringLiteral("create index if not exists TrainReport_startTimeStr on TrainReportTable(startTimeStr)")}},
        {QStringLiteral("TrainParamTable"),
         {QStringLiteral("create index if not exists TrainParam_ID on TrainParamTable(ID)")}},
    };
    return byTable;
}

} // namespace

QStringList DatabaseSchema::missingTables(CDatabaseInterface *db, bool *ok)
{
    *ok = false;
    // A file's size tells nothing: a hot journal rolls a non-empty file back to no tables.
    if (!db->execQuery(QStringLiteral("select name from sqlite_master where type = 'table'")))
        return {};
    QStringList present;
    if (db->getValuesSize() > 0) {
        for (const QVariantMap &row : db->getValues(0, 0))
            present << row.value(QStringLiteral("name")).toString();
    }
    QStringList missing;
    for (const QString &table : tableNames()) {
        if (!present.contains(table))
            missing << table;
    }
    *ok = true;
    return missing;
}

QStringList DatabaseSchema::tableNames()
{
    return schema().keys();
}

QMap<QString, QString> DatabaseSchema::columns(const QString &table)
{
    return schema().value(table);
}

bool DatabaseSchema::createTables(CDatabaseInterface *db, QStringList *created)
{
    bool ok = false;
    const QStringList missing = missingTables(db, &ok);
    if (!ok)
        return false;
    if (created)
        *created = missing;
    if (missing.isEmpty())
        return true;
    if (!db->beginTransaction())
        return false;
    for (const QString &table : missing) {
        ok = ok && db->createTable(table, columns(table));
        for (const QString &sql : indexes().value(table))
            ok = ok && db->execQuery(sql);
    }
    if (ok && db->commitTransaction())
        return true;
    const QString error = db->getLastError();
    db->rollbackTransaction();
    qWarning().noquote() << QStringLiteral("creating the tables failed:") << error;
    if (created)
        created->clear();
    return false;
}
