#include "reports/recordstore.h"

#include "database/cdatabaseinterface.h"
#include "reports/recordpaging.h"
#include "reports/reportstore.h"

#include <QDebug>

#include <functional>

namespace {

struct Step
{
    const char *failure; // the log line that names the step
    std::function<bool()> run;
};

// Runs the steps in one transaction; the first that fails is logged with the database error
// and undoes the ones before it.
bool inTransaction(const QList<Step> &steps)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    const char *failure = nullptr;
    if (!db->beginTransaction()) {
        qDebug().noquote() << QStringLiteral("TrainRecord delete:") << db->getLastError();
        return false;
    }
    for (const Step &step : steps) {
        if (!step.run()) {
            failure = step.failure;
            break;
        }
    }
    if (!failure && db->commitTransaction())
        return true;
    qDebug().noquote() << QString::fromUtf8(failure ? failure : "TrainRecord delete:") << db->getLastError();
    db->rollbackTransaction();
    return false;
}

// A record saved without a start holds an empty or a null text; both show as an empty date
// and both go with the empty key.
bool deleteRecordRows(const QString &startTimeStr)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (startTimeStr.isEmpty())
        return db->execQuery(QStringLiteral(
            "delete from TrainRecordTable where startTimeStr = '' or startTimeStr is null"));
    return db->execQuery(QStringLiteral("delete from TrainRecordTable where startTimeStr = ?"),
                         {startTimeStr});
}

} // namespace

bool RecordStore::load(int patientId, int *count, QList<QVariantMap> *records)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    *count = 0;
    if (records)
        records->clear();
    if (!db->execQuery(QStringLiteral("select * from TrainRecordTable  where ID = ? order by startTime DESC"),
                       {patientId})) {
        qDebug().noquote() << QStringLiteral("TrainRecord::updateTableByID") << db->getLastError();
        return false;
    }
    *count = qMax(0, db->getValuesSize());
    if (records && *count > 0)
        *records = db->getValues(0, RecordPaging::loadedCount(*count));
    return true;
}

bool RecordStore::deleteRecordWithReport(const QString &startTimeStr)
{
    // A null text would bind as NULL and match no report.
    const QString key = startTimeStr.isNull() ? QStringLiteral("") : startTimeStr;
    return inTransaction({
        {"TrainRecord delete:", [&] { return deleteRecordRows(key); }},
        {"删除报告失败", [&] { return ReportStore::deleteReportByStartTime(key); }},
    });
}

bool RecordStore::deleteRecords(const QStringList &startTimeStrs)
{
    QList<Step> steps;
    for (const QString &startTimeStr : startTimeStrs)
        steps.append({"delete user failed", [startTimeStr] { return deleteRecordRows(startTimeStr); }});
    return inTransaction(steps);
}
