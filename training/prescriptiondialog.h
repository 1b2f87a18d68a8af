#pragma once

#include "training/promptdialog.h"

#include <memory>

namespace Ui {
class PrescriptionDialog;
}

// Tells that the patient has no stored prescription to import.
class PrescriptionDialog : public PromptDialog
{
    Q_OBJECT
public:
    explicit PrescriptionDialog(QWidget *parent = nullptr);
    ~PrescriptionDialog() override;

public slots:
    void on_confirm_Btn_clicked();

protected:
    void retranslate() override;

private:
    std::unique_ptr<Ui::PrescriptionDialog> m_ui;
};
