#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The stored training records of the record list: a patient's list, newest first, and the two
// deletes, each all or nothing, so that a failing database never leaves half a deletion.
class RecordStore
{
public:
    // Runs the list statement of the patient. The number of stored records goes into *count
    // (0 for none); with records given, up to 1000 rows are fetched into it. False, logged with
    // the database error, when the statement fails.
    static bool load(int patientId, int *count, QList<QVariantMap> *records = nullptr);

    // The records with that start and their reports: both go, or, logged, neither.
    static bool deleteRecordWithReport(const QString &startTimeStr);
    // The records with these starts: all go, or, logged, none. Their reports stay.
    static bool deleteRecords(const QStringList &startTimeStrs);
};
