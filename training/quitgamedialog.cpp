#include "training/quitgamedialog.h"

#include "ui_quitgamedialog.h"

QuitGameDialog::QuitGameDialog(QWidget *parent) : QuestionDialog(parent), m_ui(std::make_unique<Ui::QuitGameDialog>())
{
    m_ui->setupUi(this);
}

QuitGameDialog::~QuitGameDialog() = default;

void QuitGameDialog::retranslate()
{
    m_ui->retranslateUi(this);
}
