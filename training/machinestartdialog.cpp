#include "training/machinestartdialog.h"

#include "comm/ccommunicateapi.h"
#include "comm/deviceprotocol.h"
#include "ui_machinestartdialog.h"

MachineStartDialog::MachineStartDialog(QWidget *parent)
    : PromptDialog(parent), m_ui(std::make_unique<Ui::MachineStartDialog>())
{
    m_ui->setupUi(this);
}

MachineStartDialog::~MachineStartDialog() = default;

void MachineStartDialog::on_cancel_Btn_clicked()
{
    reject();
}

void MachineStartDialog::reject()
{
    CCommunicateAPI::getInstance()->sendRealTimeParam(DeviceProtocol::kItemBoarding, kMountEnd);
    PromptDialog::reject();
}

void MachineStartDialog::on_confirm_Btn_pressed()
{
    CCommunicateAPI::getInstance()->sendRealTimeParam(DeviceProtocol::kItemBoarding, kMountLowerLimb);
}

void MachineStartDialog::on_UpLimbOnClick_Btn_pressed()
{
    CCommunicateAPI::getInstance()->sendRealTimeParam(DeviceProtocol::kItemBoarding, kMountUpperLimb);
}

void MachineStartDialog::showEvent(QShowEvent *event)
{
    // This trainer mounts the upper limb only: the lower-limb start stays hidden.
    m_ui->cancel_Btn->show();
    m_ui->UpLimbOnClick_Btn->show();
    m_ui->confirm_Btn->hide();
    PromptDialog::showEvent(event);
}

void MachineStartDialog::retranslate()
{
    m_ui->retranslateUi(this);
}
