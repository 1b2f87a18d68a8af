#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantMap>

struct ST_TrainReport;

// One line of the training record list; a row of TrainRecordTable.
struct ST_TrainRecord
{
    QString UUID;
    int ID = 0;
    QDateTime startTime;
    QString startTimeStr; // "yyyy-MM-dd hh:mm:ss", links the record to its report
    int trainTime = 0;    // whole minutes, at least 1
    int score = 0;
    QString bodyPart;     // display text
    QString trainMode;    // display text
};

ST_TrainRecord variantMapToTrainRecord(const QVariantMap &row);
// Every conversion makes a new UUID.
QVariantMap TrainRecordToVariantMap(const ST_TrainRecord &record);

// The record list line of a saved training.
ST_TrainRecord trainRecordFromReport(const ST_TrainReport &report);

// Display texts of the mode and limb numbers; empty for unknown numbers.
QString trainModeText(int trainMode);
QString bodyPartText(int bodyIndex);

constexpr const char *kStartTimeFormat = "yyyy-MM-dd hh:mm:ss";
