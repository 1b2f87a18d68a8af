#include "users/selectuserdialog.h"

#include "users/patientrules.h"

#include "ui_selectuserdialog.h"

SelectUserDialog::SelectUserDialog(QWidget *parent)
    : UserConfirmDialog(parent), m_ui(std::make_unique<Ui::SelectUserDialog>())
{
    m_ui->setupUi(this);
}

SelectUserDialog::~SelectUserDialog() = default;

void SelectUserDialog::setUser(const ST_PatientMsg &patient)
{
    m_patient = patient;
    // One pass: a stored name that holds "%1" stays as it is.
    m_ui->user_Label->setText(QStringLiteral("%1  %2  %3").arg(
        patient.name, PatientRules::sexText(patient.sex), QString::number(patient.ID)));
}

void SelectUserDialog::retranslate()
{
    m_ui->retranslateUi(this);
    setUser(m_patient);
}
