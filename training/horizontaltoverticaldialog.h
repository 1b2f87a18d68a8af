#pragma once

#include "training/questiondialog.h"

#include <memory>

namespace Ui {
class HorizontalToVerticalDialog;
}

// Asks to turn the upper-limb crank from horizontal to vertical before a vertical training;
// result 0 cancels the start.
class HorizontalToVerticalDialog : public QuestionDialog
{
    Q_OBJECT
public:
    explicit HorizontalToVerticalDialog(QWidget *parent = nullptr);
    ~HorizontalToVerticalDialog() override;

protected:
    void retranslate() override;

private:
    std::unique_ptr<Ui::HorizontalToVerticalDialog> m_ui;
};
