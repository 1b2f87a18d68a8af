#include "shell/torquedialog.h"

#include "ui_torquedialog.h"
#include "users/operatoraccount.h"

#include <QEvent>

TorqueDialog::TorqueDialog(QWidget *parent) : DimmedDialog(parent), m_ui(std::make_unique<Ui::TorqueDialog>())
{
    m_ui->setupUi(this);
    m_ui->tips_Label->hide();
    // Enter on the on-screen keyboard confirms.
    m_ui->confirm_Btn->setDefault(true);
}

TorqueDialog::~TorqueDialog() = default;

void TorqueDialog::on_cancel_Btn_clicked()
{
    done(0);
}

void TorqueDialog::on_confirm_Btn_clicked()
{
    if (OperatorAccount().checkPassword(m_ui->password_LineEdit->text())) {
        done(1);
        return;
    }
    m_ui->tips_Label->setText(tr("密码输入错误"));
    m_ui->tips_Label->show();
    m_ui->password_LineEdit->selectAll();
}

void TorqueDialog::showEvent(QShowEvent *event)
{
    // Every opening asks afresh: nothing typed for an earlier change is left in the field.
    m_ui->password_LineEdit->clear();
    m_ui->tips_Label->hide();
    coverHostWindow();
    DimmedDialog::showEvent(event);
    m_ui->password_LineEdit->setFocus();
}

void TorqueDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        m_ui->retranslateUi(this);
    DimmedDialog::changeEvent(event);
}
