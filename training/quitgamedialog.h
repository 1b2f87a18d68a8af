#pragma once

#include "training/questiondialog.h"

#include <memory>

namespace Ui {
class QuitGameDialog;
}

// Asks whether to leave the training while its game runs; result 1 leaves.
class QuitGameDialog : public QuestionDialog
{
    Q_OBJECT
public:
    explicit QuitGameDialog(QWidget *parent = nullptr);
    ~QuitGameDialog() override;

protected:
    void retranslate() override;

private:
    std::unique_ptr<Ui::QuitGameDialog> m_ui;
};
