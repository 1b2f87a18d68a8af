#pragma once

#include "database/patientmsg.h"

#include <QObject>

// The patient whom trainings, reports and prescriptions belong to.
class CurrentUserData : public QObject
{
    Q_OBJECT
public:
    static CurrentUserData *getInstance();

    ST_PatientMsg getCurrentPatientMsg() const;
    // Emits signalUserChanged() on every call, also when the patient is the same.
    void setCurrentUserMsg(const ST_PatientMsg &patient);

    // The patient in use until the therapist picks one.
    static ST_PatientMsg defaultPatient();

signals:
    void signalUserChanged();

private:
    CurrentUserData() = default;

    ST_PatientMsg m_patient;
};
