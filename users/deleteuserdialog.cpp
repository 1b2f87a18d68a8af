#include "users/deleteuserdialog.h"

#include "ui_deleteuserdialog.h"

DeleteUserDialog::DeleteUserDialog(QWidget *parent)
    : ConfirmDialog(parent), m_ui(std::make_unique<Ui::DeleteUserDialog>())
{
    m_ui->setupUi(this);
}

DeleteUserDialog::~DeleteUserDialog() = default;

void DeleteUserDialog::retranslate()
{
    m_ui->retranslateUi(this);
}
