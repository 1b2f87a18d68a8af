#pragma once

#include "users/userconfirmdialog.h"

#include <memory>

namespace Ui {
class DeleteUserDialog;
}

// Asks before a patient is deleted.
class DeleteUserDialog : public UserConfirmDialog
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
