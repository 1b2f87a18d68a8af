#pragma once

#include "app/dimmeddialog.h"

#include <memory>

namespace Ui {
class DeleteReportDialog;
}

// Asks before training records are deleted; the caller runs it modally and reads isConfirmed().
class DeleteReportDialog : public DimmedDialog
{
    Q_OBJECT
public:
    explicit DeleteReportDialog(QWidget *parent = nullptr);
    ~DeleteReportDialog() override;

    bool isConfirmed() const;

public slots:
    void on_cancel_Btn_clicked();
    void on_confirm_Btn_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::DeleteReportDialog> m_ui;
    bool m_confirmed = false;
};
