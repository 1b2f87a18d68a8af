#include "training/prescriptiondialog.h"

#include "ui_prescriptiondialog.h"

PrescriptionDialog::PrescriptionDialog(QWidget *parent)
    : PromptDialog(parent), m_ui(std::make_unique<Ui::PrescriptionDialog>())
{
    m_ui->setupUi(this);
}

PrescriptionDialog::~PrescriptionDialog() = default;

void PrescriptionDialog::on_confirm_Btn_clicked()
{
    accept();
}

void PrescriptionDialog::retranslate()
{
    m_ui->retranslateUi(this);
}
