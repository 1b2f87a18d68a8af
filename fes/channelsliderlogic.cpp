#include "fes/channelsliderlogic.h"

#include "fes/fescontroldialog.h"
#include "fes/fesprotocol.h"
#include "training/icemodule.h"

#include <QDebug>
#include <QLabel>
#include <QPushButton>
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
    const int channel = id % 2 == 1 ? 1 : 2;
    switch ((id + 1) / 2) {
    case 1:
        return tr("通道A%1").arg(channel);
    case 2:
        return tr("通道B%1").arg(channel);
    case 3:
        return tr("通道C%1").arg(channel);
    case 4:
        return tr("通道D%1").arg(channel);
    default:
        return QString();
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
    return device() >= 1 && device() <= FesProtocol::kDeviceCount;
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

void ChannelSliderLogic::setFrequencyRange(int min, int max)
{
    setSafeRange(m_c.frequencySlider, min, max, FesProtocol::kFrequencyMin, FesProtocol::kFrequencyMax);
}

void ChannelSliderLogic::setFrequencyValue(int value)
{
    m_c.frequencySlider->setValue(value);
}

void ChannelSliderLogic::setPulseWidthRange(int min, int max)
{
    setSafeRange(m_c.pulseWidthSlider, min, max, FesProtocol::kPulseWidthMin, FesProtocol::kPulseWidthMax);
}

void ChannelSliderLogic::setPulseWidthValue(int value)
{
    m_c.pulseWidthSlider->setValue(value);
}

void ChannelSliderLogic::setMinCurrentRange(int min, int max)
{
    setSafeRange(m_c.minCurrentSlider, min, max, FesProtocol::kCurrentMin, FesProtocol::kCurrentMax);
}

void ChannelSliderLogic::setMinCurrentValue(int value)
{
    m_c.minCurrentSlider->setValue(value);
}

void ChannelSliderLogic::setMaxCurrentRange(int min, int max)
{
    setSafeRange(m_c.maxCurrentSlider, min, max, FesProtocol::kCurrentMin, FesProtocol::kCurrentMax);
}

void ChannelSliderLogic::setMaxCurrentValue(int value)
{
    m_c.maxCurrentSlider->setValue(value);
}

void ChannelSliderLogic::setSwitch(bool on)
{
    m_switch = on;
    m_c.switchButton->setStyleSheet(QString::fromLatin1(on ? kSwitchOnStyle : kSwitchOffStyle));
}

void ChannelSliderLogic::shown()
{
    // The minimum may not start above the maximum, and the display starts from no current.
    m_c.minCurrentSlider->setRange(FesProtocol::kCurrentMin, m_c.maxCurrentSlider->value());
    m_c.maxCurrentLabel->setText(QStringLiteral("0"));
    if (m_switch && hasBox())
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
    if (!m_switch)
        return;
    // A drag produces a change per pixel; a sample of them keeps the link from flooding.
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
    // left set to stimulate above the therapist's maximum.
    if (m_c.minCurrentSlider->value() > value)
        m_c.minCurrentSlider->setValue(value);
}

void ChannelSliderLogic::frequencyReleased()
{
    if (m_switch && hasBox())
        FesControlDialog::getInstance()->setFrequency(uint8_t(device()), uint8_t(channel()),
                                                      safeFrequency(labelValue(m_c.frequencyLabel)));
}

void ChannelSliderLogic::pulseWidthReleased()
{
    if (m_switch && hasBox())
        FesControlDialog::getInstance()->setPulseWidth(uint8_t(device()), uint8_t(channel()),
                                                       safePulseWidth(labelValue(m_c.pulseWidthLabel)));
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

void ChannelSliderLogic::stepMinCurrent(int direction)
{
    m_c.minCurrentSlider->setValue(m_c.minCurrentSlider->value() + direction * kCurrentStep);
    if (m_switch)
        sendCurrent(m_c.minCurrentSlider, m_c.minCurrentSlider->value());
}

void ChannelSliderLogic::stepMaxCurrent(int direction)
{
    m_c.maxCurrentSlider->setValue(m_c.maxCurrentSlider->value() + direction * kCurrentStep);
    if (m_switch)
        sendCurrent(m_c.maxCurrentSlider, m_c.maxCurrentSlider->value());
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
    param.minCurrent = qBound(kCurrentMin, labelValue(m_c.minCurrentLabel), kCurrentMax);
    param.maxCurrent = qBound(kCurrentMin, labelValue(m_c.maxCurrentLabel), kCurrentMax);
    param.switchFlag = m_switch ? 1 : 0;
}

void ChannelSliderLogic::confirm()
{
    if (!hasBox())
        return;
    FesControlDialog *manager = FesControlDialog::getInstance();
    if (m_switch) {
        manager->setChannelAdjust(uint8_t(device()), uint8_t(channel()), 0);
        qDebug() << "index:" << channelIndex();
        ST_ChannelParam param;
        readValues(param);
        IceModule::getInstance()->setChannelCurrent(channelIndex(), param.maxCurrent);
    }
    manager->setMuscleState(device(), true);
}
