#include "users/selectuserdialog.h"

#include "users/patientrules.h"

#include "ui_selectuserdialog.h"

namespace {
// A very long stored name is cut short rather than pushed out of the panel.
constexpr int kNameWidth = 420;
} // namespace

SelectUserDialog::SelectUserDialog(QWidget *parent)
    : ConfirmDialog(parent), m_ui(std::make_unique<Ui::SelectUserDialog>())
{
    m_ui->setupUi(this);
}

SelectUserDialog::~SelectUserDialog() = default;

void SelectUserDialog::setUser(const ST_PatientMsg &patient)
{
    m_patient = patient;
    QLabel *label = m_ui->user_Label;
    label->ensurePolished();
    const QString name = label->fontMetrics().elidedText(patient.name, Qt::ElideRight, kNameWidth);
    // One pass: a stored name that holds "%1" stays as it is.
    label->setText(QStringLiteral("%1  %2  %3").arg(name, PatientRules::sexText(patient.sex),
                                                    QString::number(patient.ID)));
}

void SelectUserDialog::retranslate()
{
    m_ui->retranslateUi(this);
    setUser(m_patient);
}
