#include "fes/channeldialogbase.h"

#include <QEvent>

ChannelDialogBase::ChannelDialogBase(QWidget *parent) : DimmedDialog(parent) {}

ChannelDialogBase::~ChannelDialogBase() = default;

void ChannelDialogBase::setControls(const ChannelSliderLogic::Controls &controls)
{
    m_logic = std::make_unique<ChannelSliderLogic>(controls);
}

void ChannelDialogBase::setTitle(int id) { m_logic->setTitle(id); }
void ChannelDialogBase::setFrequentRange(int min, int max) { m_logic->setFrequencyRange(min, max); }
void ChannelDialogBase::setFrequentValue(int value) { m_logic->setFrequencyValue(value); }
void ChannelDialogBase::setPlusRange(int min, int max) { m_logic->setPulseWidthRange(min, max); }
void ChannelDialogBase::setPlusValue(int value) { m_logic->setPulseWidthValue(value); }
void ChannelDialogBase::setMinCurrentRange(int min, int max) { m_logic->setMinCurrentRange(min, max); }
void ChannelDialogBase::setMinCurrentValue(int value) { m_logic->setMinCurrentValue(value); }
void ChannelDialogBase::setMaxCurrentRange(int min, int max) { m_logic->setMaxCurrentRange(min, max); }
void ChannelDialogBase::setMaxCurrentValue(int value) { m_logic->setMaxCurrentValue(value); }
void ChannelDialogBase::setSwitch(bool on) { m_logic->setSwitch(on); }

ST_ChannelParam ChannelDialogBase::getData() const
{
    ST_ChannelParam param;
    m_logic->readValues(param);
    completeData(param);
    return param;
}

void ChannelDialogBase::completeData(ST_ChannelParam &) const {}

bool ChannelDialogBase::readyToConfirm()
{
    return true;
}

void ChannelDialogBase::on_confirm_Btn_clicked()
{
    if (readyToConfirm())
        accept();
}

void ChannelDialogBase::done(int result)
{
    // Confirm, Esc, close and reject all come through here.
    m_logic->finish(result == QDialog::Accepted);
    DimmedDialog::done(result);
}

void ChannelDialogBase::on_frequentMinus_Btn_clicked() { m_logic->stepFrequency(-1); }
void ChannelDialogBase::on_frequentPlus_Btn_clicked() { m_logic->stepFrequency(1); }
void ChannelDialogBase::on_frequent_Slider_valueChanged(int value) { m_logic->frequencyChanged(value); }
void ChannelDialogBase::on_plus_Slider_valueChanged(int value) { m_logic->pulseWidthChanged(value); }
void ChannelDialogBase::on_minCurrent_Slider_valueChanged(int value) { m_logic->minCurrentChanged(value); }
void ChannelDialogBase::on_maxCurrent_Slider_valueChanged(int value) { m_logic->maxCurrentChanged(value); }
void ChannelDialogBase::on_PWMMinus_Btn_clicked() { m_logic->stepPulseWidth(-1); }
void ChannelDialogBase::on_PWMPlus_Btn_clicked() { m_logic->stepPulseWidth(1); }
void ChannelDialogBase::on_minCurrentMinus_Btn_clicked() { m_logic->stepMinCurrent(-1); }
void ChannelDialogBase::on_minCurrentPlus_Btn_clicked() { m_logic->stepMinCurrent(1); }
void ChannelDialogBase::on_maxCurrentMinus_Btn_clicked() { m_logic->stepMaxCurrent(-1); }
void ChannelDialogBase::on_maxCurrentPlus_Btn_clicked() { m_logic->stepMaxCurrent(1); }
void ChannelDialogBase::on_switch_Btn_clicked() { m_logic->toggleSwitch(); }
void ChannelDialogBase::on_frequent_Slider_sliderReleased() { m_logic->frequencyReleased(); }
void ChannelDialogBase::on_plus_Slider_sliderReleased() { m_logic->pulseWidthReleased(); }
void ChannelDialogBase::on_minCurrent_Slider_sliderReleased() { m_logic->minCurrentReleased(); }
void ChannelDialogBase::on_maxCurrent_Slider_sliderReleased() { m_logic->maxCurrentReleased(); }

void ChannelDialogBase::showEvent(QShowEvent *event)
{
    DimmedDialog::showEvent(event);
    m_logic->shown();
}

void ChannelDialogBase::hideEvent(QHideEvent *event)
{
    // Hidden without being closed (its page went away): the box must not stay in adjustment.
    m_logic->finish(false);
    DimmedDialog::hideEvent(event);
}

void ChannelDialogBase::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && m_logic) {
        retranslateForm();
        m_logic->retranslate();
    }
    DimmedDialog::changeEvent(event);
}
