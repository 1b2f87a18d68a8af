#include "users/patientrules.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace PatientRules {

QValidator *nameValidator(QObject *parent)
{
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[一-龥A-Za-z0-9]+$")), parent);
}

QValidator *phoneValidator(QObject *parent)
{
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9]*$")), parent);
}

bool isBlankName(const QString &name)
{
    return name.trimmed().isEmpty();
}

QString sexText(int sex)
{
    switch (sex) {
    case 0:
        return QCoreApplication::translate("PatientRules", "男");
    case 1:
        return QCoreApplication::translate("PatientRules", "女");
    default:
        return QString();
    }
}

QString containsPattern(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

namespace {
template<typename T>
void keep(T &field, const T &stored, const T &shown, const T &entered)
{
    field = entered == shown ? stored : entered;
}
} // namespace

ST_PatientMsg keepUnchanged(const ST_PatientMsg &stored, const ST_PatientMsg &shown,
                            const ST_PatientMsg &entered)
{
    ST_PatientMsg patient = entered;
    keep(patient.ID, stored.ID, shown.ID, entered.ID);
    keep(patient.name, stored.name, shown.name, entered.name);
    keep(patient.phone, stored.phone, shown.phone, entered.phone);
    keep(patient.sex, stored.sex, shown.sex, entered.sex);
    keep(patient.birthday, stored.birthday, shown.birthday, entered.birthday);
    keep(patient.bodyIndex, stored.bodyIndex, shown.bodyIndex, entered.bodyIndex);
    keep(patient.markMsg, stored.markMsg, shown.markMsg, entered.markMsg);
    return patient;
}

} // namespace PatientRules
