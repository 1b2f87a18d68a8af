#pragma once

#include "training/promptdialog.h"

// A question with "确认" and "取消": confirming ends the dialog with result 1, anything else with
// result 0 (QDialog::result() and finished(int) carry it), so callers may open() or exec() it.
class QuestionDialog : public PromptDialog
{
    Q_OBJECT
public:
    explicit QuestionDialog(QWidget *parent = nullptr);

public slots:
    void on_cancel_Btn_clicked();
    void on_confirm_Btn_clicked();
};
