#include "training/spasmtipsdialog.h"

#include "comm/ccommunicateapi.h"
#include "comm/deviceprotocol.h"
#include "training/loopingsound.h"
#include "ui_spasmtipsdialog.h"

SpasmTipsDialog::SpasmTipsDialog(QWidget *parent)
    : PromptDialog(parent), m_ui(std::make_unique<Ui::SpasmTipsDialog>()),
      m_sound(new LoopingSound(QString::fromLatin1(kSoundPath), this))
{
    m_ui->setupUi(this);
    setEscapeCloses(false);
}

SpasmTipsDialog::~SpasmTipsDialog() = default;

void SpasmTipsDialog::setDirection(uint8_t direction)
{
    m_direction = direction;
}

uint8_t SpasmTipsDialog::direction() const
{
    return m_direction;
}

void SpasmTipsDialog::showCount(int n)
{
    m_count = n;
    showTipsText();
    m_sound->play();
    open();
}

void SpasmTipsDialog::stopSound()
{
    m_sound->stop();
}

bool SpasmTipsDialog::isSoundPlaying() const
{
    return m_sound->isPlaying();
}

void SpasmTipsDialog::on_confirm_Btn_clicked()
{
    stopSound();
    CCommunicateAPI::getInstance()->sendRealTimeParam(DeviceProtocol::kItemSpasmDirection, m_direction);
    accept();
}

void SpasmTipsDialog::hideEvent(QHideEvent *event)
{
    // However the prompt goes away, its alarm must not ring on behind the page.
    stopSound();
    PromptDialog::hideEvent(event);
}

void SpasmTipsDialog::retranslate()
{
    m_ui->retranslateUi(this);
    showTipsText();
}

void SpasmTipsDialog::showTipsText()
{
    m_ui->tips_Label->setText(m_count >= 3 ? tr("请注意发生3次痉挛,训练将停止!")
                                           : tr("请注意发生%1次痉挛!").arg(m_count));
}
