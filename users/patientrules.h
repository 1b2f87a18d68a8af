#pragma once

#include "database/patientmsg.h"

#include <QString>

class QValidator;
class QObject;

// The input rules and display texts of a patient, shared by the patient page and its dialogs.
namespace PatientRules {

constexpr int kPhoneMaxLength = 11;

// Chinese characters, Latin letters and digits: quotes, blanks and emoji stay out of a typed name.
QValidator *nameValidator(QObject *parent);
// Digits only; the length is the field's maximum.
QValidator *phoneValidator(QObject *parent);

// A name that holds nothing but white space is no name.
bool isBlankName(const QString &name);

// "男" for 0, "女" for 1 in the interface language; empty for any other value.
QString sexText(int sex);

// The "like" pattern that finds the text anywhere in a value: "%" and "_" in the text mean
// themselves (the statement names "\" as its escape character).
QString containsPattern(const QString &text);

// The patient to store after an edit: every field that the user left as the form showed it keeps
// its stored value, also where the form could not show that value (no birthday, an unknown sex,
// a phone longer than the field takes, line breaks the remark box rewrites).
ST_PatientMsg keepUnchanged(const ST_PatientMsg &stored, const ST_PatientMsg &shown,
                            const ST_PatientMsg &entered);

} // namespace PatientRules
