#include "training/questiondialog.h"

QuestionDialog::QuestionDialog(QWidget *parent) : PromptDialog(parent) {}

void QuestionDialog::on_cancel_Btn_clicked()
{
    done(0);
}

void QuestionDialog::on_confirm_Btn_clicked()
{
    done(1);
}
