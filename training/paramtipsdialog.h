#pragma once

#include "training/questiondialog.h"

#include <memory>

namespace Ui {
class ParamTipsDialog;
}

// Asks the caller's question about a training value (a speed above 30 r/min); result 1 keeps it.
class ParamTipsDialog : public QuestionDialog
{
    Q_OBJECT
public:
    explicit ParamTipsDialog(QWidget *parent = nullptr);
    ~ParamTipsDialog() override;

    // The text is the caller's, already translated.
    void setMessage(const QString &message);

protected:
    void retranslate() override;

private:
    std::unique_ptr<Ui::ParamTipsDialog> m_ui;
};
