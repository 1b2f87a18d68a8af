#include "reports/deletereportdialog.h"

#include "ui_deletereportdialog.h"

#include <QEvent>

DeleteReportDialog::DeleteReportDialog(QWidget *parent)
    : DimmedDialog(parent), m_ui(std::make_unique<Ui::DeleteReportDialog>())
{
    m_ui->setupUi(this);
}

DeleteReportDialog::~DeleteReportDialog() = default;

bool DeleteReportDialog::isConfirmed() const
{
    return m_confirmed;
}

void DeleteReportDialog::on_cancel_Btn_clicked()
{
    m_confirmed = false;
    reject();
}

void DeleteReportDialog::on_confirm_Btn_clicked()
{
    m_confirmed = true;
    accept();
}

void DeleteReportDialog::showEvent(QShowEvent *event)
{
    // A dialog closed any other way did not confirm.
    m_confirmed = false;
    coverHostWindow();
    DimmedDialog::showEvent(event);
}

void DeleteReportDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        m_ui->retranslateUi(this);
    DimmedDialog::changeEvent(event);
}
