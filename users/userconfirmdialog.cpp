#include "users/userconfirmdialog.h"

#include <QEvent>

UserConfirmDialog::UserConfirmDialog(QWidget *parent) : DimmedDialog(parent) {}

void UserConfirmDialog::on_cancel_Btn_clicked()
{
    m_confirmed = false;
    reject();
}

void UserConfirmDialog::on_confirm_Btn_clicked()
{
    m_confirmed = true;
    accept();
}

void UserConfirmDialog::showEvent(QShowEvent *event)
{
    // A dialog closed any other way (Escape) did not confirm.
    m_confirmed = false;
    coverHostWindow();
    DimmedDialog::showEvent(event);
}

void UserConfirmDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    DimmedDialog::changeEvent(event);
}
