#pragma once

#include <QString>
#include <QVariantMap>

// The full result of one training; a row of TrainReportTable.
struct ST_TrainReport
{
    QString UUID;
    int ID = 0;
    QString name;
    int sex = 0;
    QString phone;
    int age = 0;
    int trainMode = 0;
    int bodyIndex = 0;
    QString markMsg;
    int trainTime = 0; // seconds
    int leftBalance = 0;
    int rightBalance = 0;
    float upLimpLength = 0;
    float downLimpLength = 0;
    int activeTime = 0;
    int passiveTime = 0;
    int spasmTimes = 0;
    float maxResistance = 0;
    float averangeResistance = 0;
    float minResistance = 0;
    QString startTimeStr;
    int averageSpeed = 0;
    int maxSpeed = 0;
};

ST_TrainReport variantMapToTrainReport(const QVariantMap &row);
// Every conversion makes a new UUID: an insert always stores a new identity.
QVariantMap TrainReportToVariantMap(const ST_TrainReport &report);

// 32 lower-case hexadecimal digits.
QString newRowUuid();
