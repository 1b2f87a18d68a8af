#pragma once

#include "training/promptdialog.h"

#include <memory>

namespace Ui {
class ShutdeonDialog;
}

// Asks whether the computer is to be switched off. Its owner opens it without blocking and reads
// value() when it has finished: 1 confirmed, 0 cancelled (also by Escape or closing).
class ShutdeonDialog : public PromptDialog
{
    Q_OBJECT
public:
    explicit ShutdeonDialog(QWidget *parent = nullptr);
    ~ShutdeonDialog() override;

    int value() const { return m_value; }
    // Opens the question with the answer reset to cancel.
    void ask();

public slots:
    void on_cancel_Btn_clicked();
    void on_confirm_Btn_clicked();

protected:
    void retranslate() override;

private:
    std::unique_ptr<Ui::ShutdeonDialog> m_ui;
    int m_value = 0;
};
