#pragma once

#include "app/confirmdialog.h"

#include <memory>

namespace Ui {
class DeleteReportDialog;
}

// Asks before training records are deleted; the caller runs it modally and reads isConfirmed().
class DeleteReportDialog : public ConfirmDialog
{
    Q_OBJECT
public:
    explicit DeleteReportDialog(QWidget *parent = nullptr);
    ~DeleteReportDialog() override;

protected:
    void retranslate() override;

private:
    std::unique_ptr<Ui::DeleteReportDialog> m_ui;
};
