#pragma once

#include "app/dimmeddialog.h"

// A yes-or-no question over the dimmed window, answered by its cancel_Btn and confirm_Btn: the
// caller runs it modally (it is opened by a tap, never from live data) and reads isConfirmed().
class ConfirmDialog : public DimmedDialog
{
    Q_OBJECT
public:
    explicit ConfirmDialog(QWidget *parent = nullptr);

    bool isConfirmed() const { return m_confirmed; }

public slots:
    void on_cancel_Btn_clicked();
    void on_confirm_Btn_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Re-applies the form's texts and those the dialog sets itself.
    virtual void retranslate() = 0;

private:
    bool m_confirmed = false;
};
