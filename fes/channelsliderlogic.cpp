#include "fes/channelsliderlogic.h"

#include "fes/fescontroldialog.h"
#include "fes/fesprotocol.h"
#include "training/icemodule.h"

#include <QDebug>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSlider>
#include <QtGlobal>

namespace {

// Keeps a page-given range inside the box's safe range, never inverted.
void setSafeRange(QSlider *slider, int min, int max, int safeMin, int safeMax)
{
    const int low = qBound(safeMin, min, safeMax);
    const int high = qBound(low, max, safeMax);
    slider->setRange(low, high);
}

} // namespace

ChannelSliderLogic::ChannelSliderLogic(const Controls &controls) : m_c(controls)
{
    using namespace FesProtocol;
    setSafeRange(m_c.frequencySlider, m_c.frequencySlider->minimum(), m_c.frequencySlider->maximum(),
                 kFrequencyMin, kFrequencyMax);
    setSafeRange(m_c.pulseWidthSlider, m_c.pulseWidthSlider->minimum(), m_c.pulseWidthSlider->maximum(),
                 kPulseWidthMin, kPulseWidthMax);
    setSafeRange(m_c.minCurrentSlider, m_c.minCurrentSlider->minimum(), m_c.minCurrentSlider->maximum(),
                 kCurrentMin, kCurrentMax);
    m_c.maxCurrentSlider->setRange(kCurrentMin, kCurrentMax);
    m_c.frequencyLabel->setNum(m_c.frequencySlider->value());
    m_c.pulseWidthLabel->setNum(m_c.pulseWidthSlider->value());
    m_c.minCurrentLabel->setNum(m_c.minCurrentSlider->value());
    m_c.maxCurrentLabel->setNum(m_c.maxCurrentSlider->value());
    setSwitch(true);
}

QString ChannelSliderLogic::titleText(int id)
{
    const int index = id - 1;
    if (!ChannelMap::isIndex(index))
        return QString();
    const int channel = ChannelMap::channelOf(index);
    switch (ChannelMap::deviceOf(index)) {
    case 1:
        return tr("通道A%1").arg(channel);
    case 2:
        return tr("通道B%1").arg(channel);
    case 3:
        return tr("通道C%1").arg(channel);
    default:
        return tr("通道D%1").arg(channel);
    }
}

void ChannelSliderLogic::setTitle(int id)
{
    m_id = id;
    m_c.title->setText(titleText(id));
}

void ChannelSliderLogic::retranslate()
{
    m_c.title->setText(titleText(m_id));
}

bool ChannelSliderLogic::hasBox() const
{
    return ChannelMap::isIndex(channelIndex());
}

int ChannelSliderLogic::labelValue(const QLabel *label)
{
    return label->text().trimmed().toInt();
}

int ChannelSliderLogic::safeCurrent(const QSlider *slider, int value) const
{
    const int low = qMax(FesProtocol::kCurrentMin, slider->minimum());
    const int high = qMin(FesProtocol::kCurrentMax, slider->maximum());
    return qBound(low, value, qMax(low, high));
}

int ChannelSliderLogic::safeFrequency(int value) const
{
    const int low = qMax(FesProtocol::kFrequencyMin, m_c.frequencySlider->minimum());
    const int high = qMin(FesProtocol::kFrequencyMax, m_c.frequencySlider->maximum());
    return qBound(low, value, qMax(low, high));
}

int ChannelSliderLogic::safePulseWidth(int value) const
{
    const int low = qMax(FesProtocol::kPulseWidthMin, m_c.pulseWidthSlider->minimum());
    const int high = qMin(FesProtocol::kPulseWidthMax, m_c.pulseWidthSlider->maximum());
    return qBound(low, value, qMax(low, high));
}

void ChannelSliderLogic::sendCurrent(const QSlider *slider, int value)
{
    if (hasBox())
        FesControlDialog::getInstance()->setCurrent(uint8_t(device()), uint8_t(channel()),
                                                    safeCurrent(slider, value));
}

void ChannelSliderLogic::sendFrequency(int value)
{
    if (!hasBox())
        return;
    FesControlDialog::getInstance()->setFrequency(uint8_t(device()), uint8_t(channel()), safeFrequency(value));
    m_sentFrequency = true;
}

void ChannelSliderLogic::sendPulseWidth(int value)
{
    if (!hasBox())
        return;
    FesControlDialog::getInstance()->setPulseWidth(uint8_t(device()), uint8_t(channel()), safePulseWidth(value));
    m_sentPulseWidth = true;
}

void ChannelSliderLogic::setFrequencyRange(int min, int max)
{
    setSafeRange(m_c.frequencySlider, min, max, FesProtocol::kFrequencyMin, FesProtocol::kFrequencyMax);
}

void ChannelSliderLogic::setFrequencyValue(int value)
{
    const QScopedValueRollback<bool> quiet(m_quiet, true);
    m_c.frequencySlider->setValue(value);
}

void ChannelSliderLogic::setPulseWidthRange(int min, int max)
{
    setSafeRange(m_c.pulseWidthSlider, min, max, FesProtocol::kPulseWidthMin, FesProtocol::kPulseWidthMax);
}

void ChannelSliderLogic::setPulseWidthValue(int value)
{
    const QScopedValueRollback<bool> quiet(m_quiet, true);
    m_c.pulseWidthSlider->setValue(value);
}

void ChannelSliderLogic::setMinCurrentRange(int min, int max)
{
    setSafeRange(m_c.minCurrentSlider, min, max, FesProtocol::kCurrentMin, FesProtocol::kCurrentMax);
}

void ChannelSliderLogic::setMinCurrentValue(int value)
{
    const QScopedValueRollback<bool> quiet(m_quiet, true);
    m_c.minCurrentSlider->setValue(value);
}

void ChannelSliderLogic::setMaxCurrentRange(int min, int max)
{
    setSafeRange(m_c.maxCurrentSlider, min, max, FesProtocol::kCurrentMin, FesProtocol::kCurrentMax);
}

void ChannelSliderLogic::setMaxCurrentValue(int value)
{
    const QScopedValueRollback<bool> quiet(m_quiet, true);
    m_c.maxCurrentSlider->setValue(value);
}

void ChannelSliderLogic::setSwitch(bool on)
{
    m_switch = on;
    m_c.switchButton->setStyleSheet(QString::fromLatin1(on ? kSwitchOnStyle : kSwitchOffStyle));
}

void ChannelSliderLogic::shown()
{
    // The minimum may not start above the maximum; the labels show what the box has.
    m_c.minCurrentSlider->setRange(FesProtocol::kCurrentMin, m_c.maxCurrentSlider->value());
    m_c.maxCurrentLabel->setNum(m_c.maxCurrentSlider->value());
    m_open = true;
    m_openedCurrent = m_c.maxCurrentSlider->value();
    m_openedFrequency = m_c.frequencySlider->value();
    m_openedPulseWidth = m_c.pulseWidthSlider->value();
    m_sentFrequency = false;
    m_sentPulseWidth = false;
    m_adjusting = m_switch && hasBox();
    if (m_adjusting)
        FesControlDialog::getInstance()->setChannelAdjust(uint8_t(device()), uint8_t(channel()), 1);
}

void ChannelSliderLogic::frequencyChanged(int value)
{
    m_c.frequencyLabel->setNum(value);
}

void ChannelSliderLogic::pulseWidthChanged(int value)
{
    m_c.pulseWidthLabel->setNum(value);
}

void ChannelSliderLogic::currentMoved(const QSlider *slider, int &counter)
{
    if (!m_switch || m_quiet)
        return;
    // A settled change (a tap on the groove, a key) goes out at once. A drag produces a change
    // per pixel; a sample of them keeps the link from flooding, and the release sends the last.
    if (!slider->isSliderDown()) {
        sendCurrent(slider, slider->value());
        return;
    }
    if (++counter >= kCurrentSendInterval) {
        counter = 0;
        sendCurrent(slider, slider->value());
    }
}

void ChannelSliderLogic::minCurrentChanged(int value)
{
    if (value > m_c.maxCurrentSlider->value()) {
        // The re-entrant change this causes updates the label and counts as the move; only when
        // the slider's own range keeps it where it is does this call go on to show the value.
        m_c.minCurrentSlider->setValue(m_c.maxCurrentSlider->value());
        if (m_c.minCurrentSlider->value() != value)
            return;
    }
    m_c.minCurrentLabel->setNum(value);
    currentMoved(m_c.minCurrentSlider, m_minCurrentMoves);
}

void ChannelSliderLogic::maxCurrentChanged(int value)
{
    m_c.maxCurrentLabel->setNum(value);
    m_c.minCurrentSlider->setRange(FesProtocol::kCurrentMin, FesProtocol::kCurrentMax - 1);
    m_c.minCurrentSlider->setPageStep(value);
    currentMoved(m_c.maxCurrentSlider, m_maxCurrentMoves);
    // A maximum lowered below the minimum takes the minimum down with it: the channel is never
    // left set to stimulate above the therapist's maximum. The box keeps the maximum just sent.
    if (m_c.minCurrentSlider->value() > value) {
        const QScopedValueRollback<bool> quiet(m_quiet, true);
        m_c.minCurrentSlider->setValue(value);
    }
}

void ChannelSliderLogic::frequencyReleased()
{
    if (m_switch)
        sendFrequency(labelValue(m_c.frequencyLabel));
}

void ChannelSliderLogic::pulseWidthReleased()
{
    if (m_switch)
        sendPulseWidth(labelValue(m_c.pulseWidthLabel));
}

void ChannelSliderLogic::minCurrentReleased()
{
    const int value = labelValue(m_c.minCurrentLabel);
    sendCurrent(m_c.minCurrentSlider, value);
    qDebug() << "最小电流" << value;
}

void ChannelSliderLogic::maxCurrentReleased()
{
    const int value = labelValue(m_c.maxCurrentLabel);
    sendCurrent(m_c.maxCurrentSlider, value);
    qDebug() << "最大电流" << value;
}

void ChannelSliderLogic::stepFrequency(int direction)
{
    m_c.frequencySlider->setValue(m_c.frequencySlider->value() + direction * kFrequencyStep);
}

void ChannelSliderLogic::stepPulseWidth(int direction)
{
    m_c.pulseWidthSlider->setValue(m_c.pulseWidthSlider->value() + direction * kPulseWidthStep);
}

void ChannelSliderLogic::stepCurrent(QSlider *slider, int direction)
{
    {
        // One frame per press, also at the end of the range where the value does not change.
        const QScopedValueRollback<bool> quiet(m_quiet, true);
        slider->setValue(slider->value() + direction * kCurrentStep);
    }
    if (m_switch)
        sendCurrent(slider, slider->value());
}

void ChannelSliderLogic::stepMinCurrent(int direction)
{
    stepCurrent(m_c.minCurrentSlider, direction);
}

void ChannelSliderLogic::stepMaxCurrent(int direction)
{
    stepCurrent(m_c.maxCurrentSlider, direction);
}

void ChannelSliderLogic::toggleSwitch()
{
    setSwitch(!m_switch);
}

void ChannelSliderLogic::readValues(ST_ChannelParam &param) const
{
    using namespace FesProtocol;
    param.frequency = qBound(kFrequencyMin, labelValue(m_c.frequencyLabel), kFrequencyMax);
    param.pulseWidth = qBound(kPulseWidthMin, labelValue(m_c.pulseWidthLabel), kPulseWidthMax);
    param.maxCurrent = qBound(kCurrentMin, labelValue(m_c.maxCurrentLabel), kCurrentMax);
    param.minCurrent = qBound(kCurrentMin, labelValue(m_c.minCurrentLabel), param.maxCurrent);
    param.switchFlag = m_switch ? 1 : 0;
}

void ChannelSliderLogic::finish(bool accepted)
{
    if (!m_open)
        return;
    m_open = false;
    if (!hasBox())
        return;
    FesControlDialog *manager = FesControlDialog::getInstance();
    const uint8_t dev = uint8_t(device());
    const uint8_t ch = uint8_t(channel());
    if (m_adjusting)
        manager->setChannelAdjust(dev, ch, 0);
    m_adjusting = false;
    if (!accepted) {
        manager->setCurrent(dev, ch, m_openedCurrent);
        if (m_sentFrequency)
            manager->setFrequency(dev, ch, m_openedFrequency);
        if (m_sentPulseWidth)
            manager->setPulseWidth(dev, ch, m_openedPulseWidth);
        return;
    }
    ST_ChannelParam param;
    readValues(param);
    // Whatever was adjusted last, the box ends on the maximum the page records.
    manager->setCurrent(dev, ch, param.maxCurrent);
    if (m_switch) {
        qDebug() << "index:" << channelIndex();
        IceModule::getInstance()->setChannelCurrent(channelIndex(), param.maxCurrent);
    }
    manager->setMuscleState(device(), true);
}
