#include "training/verticaltohorizondialog.h"

#include "ui_verticaltohorizondialog.h"

VerticalToHorizonDialog::VerticalToHorizonDialog(QWidget *parent) : QuestionDialog(parent), m_ui(std::make_unique<Ui::VerticalToHorizonDialog>())
{
    m_ui->setupUi(this);
}

VerticalToHorizonDialog::~VerticalToHorizonDialog() = default;

void VerticalToHorizonDialog::retranslate()
{
    m_ui->retranslateUi(this);
}
