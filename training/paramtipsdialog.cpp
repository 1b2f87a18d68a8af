#include "training/paramtipsdialog.h"

#include "ui_paramtipsdialog.h"

ParamTipsDialog::ParamTipsDialog(QWidget *parent)
    : QuestionDialog(parent), m_ui(std::make_unique<Ui::ParamTipsDialog>())
{
    m_ui->setupUi(this);
}

ParamTipsDialog::~ParamTipsDialog() = default;

void ParamTipsDialog::setMessage(const QString &message)
{
    m_ui->tipMsg_Label->setText(message);
}

void ParamTipsDialog::retranslate()
{
    m_ui->retranslateUi(this); // the message is the caller's and stays
}
