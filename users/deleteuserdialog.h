#pragma once

#include "app/confirmdialog.h"

#include <memory>

namespace Ui {
class DeleteUserDialog;
}

// Asks before a patient is deleted.
class DeleteUserDialog : public ConfirmDialog
{
    Q_OBJECT
public:
    explicit DeleteUserDialog(QWidget *parent = nullptr);
    ~DeleteUserDialog() override;

protected:
    void retranslate() override;

private:
    std::unique_ptr<Ui::DeleteUserDialog> m_ui;
};
