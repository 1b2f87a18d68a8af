#pragma once

#include "app/dimmeddialog.h"
#include "database/patientmsg.h"

#include <memory>

namespace Ui {
class UserDialog;
}

// The form that creates a patient or edits one. Shown without a loop of its own over the dimmed
// page; a successful save tells the page to refill its list.
class UserDialog : public DimmedDialog
{
    Q_OBJECT
public:
    explicit UserDialog(QWidget *parent = nullptr);
    ~UserDialog() override;

    // 0 prepares a new patient with the next free number, 1 loads patient ID for editing; both
    // then show the dialog.
    void setDialogType(int type, int ID);

signals:
    void signalUpdateUserTable();

public slots:
    void on_cancel_Btn_clicked();
    void on_save_Btn_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showPatient(const ST_PatientMsg &patient);
    // The patient as the controls hold it.
    ST_PatientMsg formPatient() const;
    void setTitle();

    std::unique_ptr<Ui::UserDialog> m_ui;
    int m_type = 0;
    // The stored patient and what the controls made of it: a field the user leaves as shown
    // keeps its stored value, also where a control cannot hold that value.
    ST_PatientMsg m_loaded;
    ST_PatientMsg m_shown;
};
