#include "training/horizontaltoverticaldialog.h"

#include "ui_horizontaltoverticaldialog.h"

HorizontalToVerticalDialog::HorizontalToVerticalDialog(QWidget *parent) : QuestionDialog(parent), m_ui(std::make_unique<Ui::HorizontalToVerticalDialog>())
{
    m_ui->setupUi(this);
}

HorizontalToVerticalDialog::~HorizontalToVerticalDialog() = default;

void HorizontalToVerticalDialog::retranslate()
{
    m_ui->retranslateUi(this);
}
