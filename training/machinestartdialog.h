#pragma once

#include "training/promptdialog.h"

#include <cstdint>
#include <memory>

namespace Ui {
class MachineStartDialog;
}

// One-click mounting: pressing "上肢开始" (or the hidden "下肢开始") tells the machine to bring
// that limb's cranks into place and leaves the dialog open; only "结束上机" ends the mounting
// and closes it, with result 0.
class MachineStartDialog : public PromptDialog
{
    Q_OBJECT
public:
    // Values of the mounting item.
    static constexpr uint8_t kMountEnd = 0;
    static constexpr uint8_t kMountLowerLimb = 1;
    static constexpr uint8_t kMountUpperLimb = 2;

    explicit MachineStartDialog(QWidget *parent = nullptr);
    ~MachineStartDialog() override;

    // However the dialog is closed, the machine is told that mounting has ended.
    void reject() override;

public slots:
    void on_cancel_Btn_clicked();
    void on_confirm_Btn_pressed();
    void on_UpLimbOnClick_Btn_pressed();

protected:
    void showEvent(QShowEvent *event) override;
    void retranslate() override;

private:
    std::unique_ptr<Ui::MachineStartDialog> m_ui;
};
