#include "users/patientstore.h"

#include "database/cdatabaseinterface.h"
#include "users/patientrules.h"

#include <QDebug>

namespace {

const QString kTable = QStringLiteral("PatientTable");

QList<ST_PatientMsg> patientsOf(const QList<QVariantMap> &rows)
{
    QList<ST_PatientMsg> patients;
    for (const QVariantMap &row : rows)
        patients << variantMapToPatient(row);
    return patients;
}

} // namespace

bool PatientStore::list(QList<ST_PatientMsg> *patients)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    patients->clear();
    if (!db->execQuery(QStringLiteral("select * from PatientTable order by ID DESC"))) {
        qDebug().noquote() << db->getLastError();
        return false;
    }
    const int count = db->getValuesSize();
    if (count < 1) {
        qDebug() << "updateUserTableWidget()未查询到符合条件的数据";
        return true;
    }
    *patients = patientsOf(db->getValues(0, qMin(count, kListRows)));
    return true;
}

bool PatientStore::search(const QString &text, QList<ST_PatientMsg> *patients)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    patients->clear();
    const QString pattern = PatientRules::containsPattern(text);
    if (!db->execQuery(QStringLiteral("select * from PatientTable where name like ? escape '\\' "
                                      "or ID like ? escape '\\' order by ID DESC"),
                       {pattern, pattern})) {
        qDebug().noquote() << db->getLastError();
        return false;
    }
    // Fetched without counting first: an empty result is the one row whose number is null.
    *patients = patientsOf(db->getValues(0, kSearchRows));
    if (!patients->isEmpty() && patients->first().ID == 0)
        patients->clear();
    if (patients->isEmpty())
        qDebug() << "未找到合适数据";
    else
        qDebug() << "查询后的用户数：" << patients->size();
    return true;
}

uint32_t PatientStore::nextNumber()
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!db->execQuery(QStringLiteral("select * from PatientTable  order by ID DESC"))) {
        qDebug().noquote() << QStringLiteral("new patient number:") << db->getLastError();
        return kFirstNumber;
    }
    if (db->getValuesSize() < 1)
        return kFirstNumber;
    return variantMapToPatient(db->getValues(0, 1).value(0)).ID + 1;
}

bool PatientStore::find(int ID, ST_PatientMsg *patient)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!db->execQuery(QStringLiteral("select * from PatientTable where ID = ?"), {ID})) {
        qDebug().noquote() << db->getLastError();
        return false;
    }
    if (db->getValuesSize() < 1)
        return false;
    *patient = variantMapToPatient(db->getValues(0, 1).value(0));
    return true;
}

bool PatientStore::insert(const ST_PatientMsg &patient)
{
    return CDatabaseInterface::getInstance()->insertRowTable(kTable, PatientToVariantMap(patient));
}

bool PatientStore::update(const ST_PatientMsg &patient)
{
    return CDatabaseInterface::getInstance()->updateRowTable(kTable, QStringLiteral("ID"),
                                                             PatientToVariantMap(patient));
}

bool PatientStore::remove(int ID)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (db->deleteRowTable(kTable, QStringLiteral("ID"), QString::number(ID)))
        return true;
    qDebug().noquote() << QStringLiteral("delete user failed") << db->getLastError();
    return false;
}
