#pragma once

#include "app/dimmeddialog.h"

namespace Ui {
class FesTotalParamDialog;
}

// Edits one global FES parameter with a slider and step buttons; the caller runs it modally
// and reads getValue() afterwards.
class FesTotalParamDialog : public DimmedDialog
{
    Q_OBJECT
public:
    explicit FesTotalParamDialog(QWidget *parent = nullptr);
    ~FesTotalParamDialog() override;

    void setTitleAndUnit(const QString &title, const QString &unit);
    void setRange(int min, int max);
    // Moves the slider and makes the value the result, which cancel keeps.
    void setValue(int value);
    int getValue() const;

public slots:
    void on_cancel_Btn_clicked();
    void on_confirm_Btn_clicked();
    void on_minus_Btn_clicked();
    void on_plus_Btn_clicked();
    void on_slider_valueChanged(int value);

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui::FesTotalParamDialog *m_ui = nullptr;
    int m_value = 0;
};
