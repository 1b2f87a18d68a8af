#include "app/confirmdialog.h"

#include <QEvent>

ConfirmDialog::ConfirmDialog(QWidget *parent) : DimmedDialog(parent) {}

void ConfirmDialog::on_cancel_Btn_clicked()
{
    m_confirmed = false;
    reject();
}

void ConfirmDialog::on_confirm_Btn_clicked()
{
    m_confirmed = true;
    accept();
}

void ConfirmDialog::showEvent(QShowEvent *event)
{
    // A dialog closed any other way (Escape) did not confirm.
    m_confirmed = false;
    coverHostWindow();
    DimmedDialog::showEvent(event);
}

void ConfirmDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    DimmedDialog::changeEvent(event);
}
