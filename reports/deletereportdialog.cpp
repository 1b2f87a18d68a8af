#include "reports/deletereportdialog.h"

#include "ui_deletereportdialog.h"

DeleteReportDialog::DeleteReportDialog(QWidget *parent)
    : ConfirmDialog(parent), m_ui(std::make_unique<Ui::DeleteReportDialog>())
{
    m_ui->setupUi(this);
}

DeleteReportDialog::~DeleteReportDialog() = default;

void DeleteReportDialog::retranslate()
{
    m_ui->retranslateUi(this);
}
