#include "shell/sounddialog.h"

#include "platform/volumebackend.h"
#include "shell/soundcontroller.h"
#include "ui_sounddialog.h"

#include <QDebug>
#include <QEvent>

int SoundDialog::s_lastConfirmedValue = 0;

SoundDialog::SoundDialog(QWidget *parent) : DimmedDialog(parent)
{
    setUp(new SoundController(this));
}

SoundDialog::SoundDialog(std::unique_ptr<platform::VolumeBackend> backend, QWidget *parent)
    : DimmedDialog(parent)
{
    setUp(new SoundController(std::move(backend), this));
}

SoundDialog::~SoundDialog()
{
    delete m_ui;
}

void SoundDialog::setUp(SoundController *controller)
{
    m_ui = new Ui::SoundDialog;
    m_ui->setupUi(this);
    m_ui->cancel_Btn->hide();
    // Set last: change events during set-up find no controller and read nothing.
    m_controller = controller;
}

void SoundDialog::on_cancel_Btn_clicked()
{
    reject();
}

void SoundDialog::on_slider_sliderMoved(int position)
{
    m_ui->value_Label->setNum(position);
    m_controller->setVolume(position);
}

void SoundDialog::on_confirm_Btn_clicked()
{
    s_lastConfirmedValue = m_ui->value_Label->text().toInt();
    if (s_lastConfirmedValue != 0) {
        m_controller->setVolume(SoundController::Unmute);
        m_controller->setVolume(s_lastConfirmedValue - 1);
    } else {
        m_controller->setVolume(SoundController::Mute);
    }
    accept();
}

void SoundDialog::on_minus_Btn_clicked()
{
    step(-1);
}

void SoundDialog::on_plus_Btn_clicked()
{
    step(+1);
}

void SoundDialog::on_slider_valueChanged(int value)
{
    Q_UNUSED(value) // the label follows the user's moves only, never the program's
}

void SoundDialog::changeEvent(QEvent *event)
{
    DimmedDialog::changeEvent(event);
    if (!m_controller)
        return;
    if (event->type() == QEvent::LanguageChange)
        m_ui->retranslateUi(this);
    showCurrentVolume();
}

void SoundDialog::showEvent(QShowEvent *event)
{
    DimmedDialog::showEvent(event);
    // Also where the window system never activates the dialog, it opens on the present volume.
    showCurrentVolume();
}

void SoundDialog::showCurrentVolume()
{
    const int shown = m_controller->getVolume();
    qDebug() << "m_value、当前音量" << s_lastConfirmedValue << shown;
    showValue(shown < 2 ? s_lastConfirmedValue : shown);
}

void SoundDialog::showValue(int value)
{
    m_ui->slider->setValue(value);
    m_ui->value_Label->setNum(value);
}

void SoundDialog::step(int delta)
{
    const int value = m_ui->slider->value() + delta;
    if (value < m_ui->slider->minimum() || value > m_ui->slider->maximum())
        return;
    showValue(value);
    m_controller->setVolume(value);
}
