#pragma once

#include <QDate>
#include <QString>
#include <QVariantMap>

// One patient; a row of PatientTable.
struct ST_PatientMsg
{
    uint32_t ID = 0;
    QString name;
    QString phone;
    int sex = 0;       // 0 male, 1 female
    QDate birthday;    // null until set
    int bodyIndex = 0; // 0 upper limb, 1 lower limb, 2 both
    QString markMsg;
    int age = 0;
};

ST_PatientMsg variantMapToPatient(const QVariantMap &row);
QVariantMap PatientToVariantMap(const ST_PatientMsg &patient);
