#pragma once

#include "training/questiondialog.h"

#include <memory>

namespace Ui {
class VerticalToHorizonDialog;
}

// Asks to turn the upper-limb crank from vertical to horizontal before a horizontal training;
// result 0 cancels the start.
class VerticalToHorizonDialog : public QuestionDialog
{
    Q_OBJECT
public:
    explicit VerticalToHorizonDialog(QWidget *parent = nullptr);
    ~VerticalToHorizonDialog() override;

protected:
    void retranslate() override;

private:
    std::unique_ptr<Ui::VerticalToHorizonDialog> m_ui;
};
