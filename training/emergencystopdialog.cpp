#include "training/emergencystopdialog.h"

#include "training/loopingsound.h"
#include "ui_emergencystopdialog.h"

int EmergencyStopDialog::s_clickCount = 0;

EmergencyStopDialog::EmergencyStopDialog(QWidget *parent)
    : PromptDialog(parent), m_ui(std::make_unique<Ui::EmergencyStopDialog>()),
      m_sound(new LoopingSound(QString::fromLatin1(kSoundPath), this))
{
    m_ui->setupUi(this);
    setEscapeCloses(false);
}

EmergencyStopDialog::~EmergencyStopDialog() = default;

void EmergencyStopDialog::showPrompt()
{
    m_sound->play();
    open();
}

void EmergencyStopDialog::closePrompt()
{
    m_sound->stop();
    close();
}

bool EmergencyStopDialog::isSoundPlaying() const
{
    return m_sound->isPlaying();
}

void EmergencyStopDialog::on_emergency_Btn_clicked()
{
    if (++s_clickCount > kClicksToClose) {
        s_clickCount = 0;
        closePrompt();
    }
}

void EmergencyStopDialog::hideEvent(QHideEvent *event)
{
    m_sound->stop();
    PromptDialog::hideEvent(event);
}

void EmergencyStopDialog::retranslate()
{
    m_ui->retranslateUi(this);
}
