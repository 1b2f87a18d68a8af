#pragma once

#include "app/dimmeddialog.h"

#include <memory>

namespace Ui {
class TorqueDialog;
}

// Asks for the operator password before the torque level changes. Its result is 1 when the
// password was right, 0 when it was cancelled; a wrong password keeps it open with a tip.
class TorqueDialog : public DimmedDialog
{
    Q_OBJECT
public:
    explicit TorqueDialog(QWidget *parent = nullptr);
    ~TorqueDialog() override;

public slots:
    void on_cancel_Btn_clicked();
    void on_confirm_Btn_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::TorqueDialog> m_ui;
};
