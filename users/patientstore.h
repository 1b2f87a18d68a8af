#pragma once

#include "database/patientmsg.h"

#include <QList>
#include <QString>

// The statements of the patient page on PatientTable. Every value they carry is bound; failures
// are logged with the database error, which the layer's getLastError() still holds afterwards.
class PatientStore
{
public:
    static constexpr int kListRows = 20;
    static constexpr int kSearchRows = 8;
    // 100000 is the default patient's: its trainings must not pass to the first real patient.
    static constexpr uint32_t kFirstNumber = 100001;

    // The patients with the highest numbers first, at most kListRows; false when the statement fails.
    static bool list(QList<ST_PatientMsg> *patients);
    // At most kSearchRows patients whose name or number holds the text, highest number first.
    static bool search(const QString &text, QList<ST_PatientMsg> *patients);
    // The highest stored number plus 1; kFirstNumber for an empty table or a failing statement.
    static uint32_t nextNumber();
    // False when no patient has that number (or the look-up fails).
    static bool find(int ID, ST_PatientMsg *patient);
    static bool insert(const ST_PatientMsg &patient);
    static bool update(const ST_PatientMsg &patient);
    // Only the patient row goes: the patient's trainings, reports and prescription stay.
    static bool remove(int ID);
};
