#include "reports/deletereportdialog.h"

#include "ui_deletereportdialog.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

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
    // Dims the whole window that asks, or the whole screen.
    if (const QWidget *host = parentWidget() ? parentWidget()->window() : nullptr)
        setGeometry(host->geometry());
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    DimmedDialog::showEvent(event);
}

void DeleteReportDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        m_ui->retranslateUi(this);
    DimmedDialog::changeEvent(event);
}
