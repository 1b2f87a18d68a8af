#include "users/shutdeondialog.h"

#include "ui_shutdeondialog.h"

ShutdeonDialog::ShutdeonDialog(QWidget *parent)
    : PromptDialog(parent), m_ui(std::make_unique<Ui::ShutdeonDialog>())
{
    m_ui->setupUi(this);
}

ShutdeonDialog::~ShutdeonDialog() = default;

void ShutdeonDialog::ask()
{
    m_value = 0;
    open();
}

void ShutdeonDialog::on_cancel_Btn_clicked()
{
    m_value = 0;
    done(m_value);
}

void ShutdeonDialog::on_confirm_Btn_clicked()
{
    m_value = 1;
    done(m_value);
}

void ShutdeonDialog::retranslate()
{
    m_ui->retranslateUi(this);
}
