#include "database/databaseschema.h"

#include "database/cdatabaseinterface.h"

#include <QDebug>
#include <QFileInfo>

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
const char *const kIndexes[] = {
    "create index if not exists TrainRecord_ID_startTime on TrainRecordTable(ID, startTime)",
    "create index if not exists TrainRecord_startTimeStr on TrainRecordTable(startTimeStr)",
    "create index if not exists TrainReport_startTimeStr on TrainReportTable(startTimeStr)",
    "create index if not exists TrainParam_ID on TrainParamTable(ID)",
};

} // namespace

bool DatabaseSchema::isNewDatabaseFile(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || info.size() == 0;
}

QStringList DatabaseSchema::tableNames()
{
    return schema().keys();
}

QMap<QString, QString> DatabaseSchema::columns(const QString &table)
{
    return schema().value(table);
}

bool DatabaseSchema::createTables(CDatabaseInterface *db)
{
    if (!db->execQuery(QStringLiteral("begin transaction")))
        return false;
    bool ok = true;
    for (auto it = schema().constBegin(); ok && it != schema().constEnd(); ++it)
        ok = db->createTable(it.key(), it.value());
    for (const char *sql : kIndexes) {
        if (!ok)
            break;
        ok = db->execQuery(QString::fromLatin1(sql));
    }
    if (!ok) {
        const QString error = db->getLastError();
        db->execQuery(QStringLiteral("rollback"));
        qWarning().noquote() << QStringLiteral("creating the tables failed:") << error;
        return false;
    }
    return db->execQuery(QStringLiteral("commit"));
}
