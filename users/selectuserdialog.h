#pragma once

#include "database/patientmsg.h"
#include "app/confirmdialog.h"

#include <memory>

namespace Ui {
class SelectUserDialog;
}

// Asks before a patient becomes the current patient; shows whom it asks about.
class SelectUserDialog : public ConfirmDialog
{
    Q_OBJECT
public:
    explicit SelectUserDialog(QWidget *parent = nullptr);
    ~SelectUserDialog() override;

    // Name, sex and number, two blanks apart.
    void setUser(const ST_PatientMsg &patient);

protected:
    void retranslate() override;

private:
    std::unique_ptr<Ui::SelectUserDialog> m_ui;
    ST_PatientMsg m_patient;
};
