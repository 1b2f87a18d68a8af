#include "fes/channelonlydialog.h"

#include "ui_channelonlydialog.h"

ChannelOnlyDialog::ChannelOnlyDialog(QWidget *parent)
    : ChannelDialogBase(parent), m_ui(new Ui::ChannelOnlyDialog)
{
    m_ui->setupUi(this);
    setControls(ChannelSliderLogic::controlsOf(m_ui));
}

ChannelOnlyDialog::~ChannelOnlyDialog()
{
    delete m_ui;
}

void ChannelOnlyDialog::retranslateForm()
{
    m_ui->retranslateUi(this);
}
