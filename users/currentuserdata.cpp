#include "users/currentuserdata.h"

CurrentUserData *CurrentUserData::getInstance()
{
    static CurrentUserData *instance = new CurrentUserData;
    return instance;
}

ST_PatientMsg CurrentUserData::getCurrentPatientMsg() const
{
    return m_patient;
}

void CurrentUserData::setCurrentUserMsg(const ST_PatientMsg &patient)
{
    m_patient = patient;
    emit signalUserChanged();
}

ST_PatientMsg CurrentUserData::defaultPatient()
{
    ST_PatientMsg patient;
    patient.ID = 100000;
    patient.name = QStringLiteral("zenk");
    return patient;
}
