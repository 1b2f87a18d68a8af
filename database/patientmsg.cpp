#include "database/patientmsg.h"

#include "database/rowfield.h"

ST_PatientMsg variantMapToPatient(const QVariantMap &row)
{
    using RowField::take;
    ST_PatientMsg p;
    take(row, "ID", p.ID);
    take(row, "name", p.name);
    take(row, "phone", p.phone);
    RowField::takeUnsigned(row, "sex", p.sex);
    take(row, "birthday", p.birthday);
    take(row, "bodyIndex", p.bodyIndex);
    take(row, "markMsg", p.markMsg);
    RowField::takeUnsigned(row, "age", p.age);
    return p;
}

QVariantMap PatientToVariantMap(const ST_PatientMsg &patient)
{
    QVariantMap row;
    row.insert(QStringLiteral("ID"), QVariant::fromValue<uint>(patient.ID));
    row.insert(QStringLiteral("name"), patient.name);
    row.insert(QStringLiteral("phone"), patient.phone);
    row.insert(QStringLiteral("sex"), patient.sex);
    row.insert(QStringLiteral("birthday"), patient.birthday);
    row.insert(QStringLiteral("bodyIndex"), patient.bodyIndex);
    row.insert(QStringLiteral("markMsg"), patient.markMsg);
    row.insert(QStringLiteral("age"), patient.age);
    return row;
}
