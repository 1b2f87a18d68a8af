#pragma once

#include "fes/channelmap.h"
#include "fes/channelparam.h"

#include <QCoreApplication>
#include <QString>

class QLabel;
class QPushButton;
class QSlider;

// The live-sending behaviour both channel dialogs share: keeps the value labels in step with the
// four sliders and sends each adjustment to the channel's box so the patient feels it at once.
// Every value that goes out is held to the slider's range and to the box's safe range.
class ChannelSliderLogic
{
    Q_DECLARE_TR_FUNCTIONS(ChannelSliderLogic)
public:
    static constexpr int kFrequencyStep = 1;
    static constexpr int kPulseWidthStep = 10;
    static constexpr int kCurrentStep = 1;
    // Every this many moves of a current slider one Current command goes out while dragging.
    static constexpr int kCurrentSendInterval = 21;
    static constexpr const char *kSwitchOnStyle = "border-image: url(:/DependFile/Source/gamePage/switchOn.png);";
    static constexpr const char *kSwitchOffStyle = "border-image: url(:/DependFile/Source/gamePage/switchOff.png);";

    struct Controls
    {
        QLabel *title = nullptr;
        QSlider *frequencySlider = nullptr;
        QLabel *frequencyLabel = nullptr;
        QSlider *pulseWidthSlider = nullptr;
        QLabel *pulseWidthLabel = nullptr;
        QSlider *minCurrentSlider = nullptr;
        QLabel *minCurrentLabel = nullptr;
        QSlider *maxCurrentSlider = nullptr;
        QLabel *maxCurrentLabel = nullptr;
        QPushButton *switchButton = nullptr;
    };

    // The controls of a channel dialog's form, which names them alike in both dialogs.
    template<typename Form>
    static Controls controlsOf(Form *ui)
    {
        Controls c;
        c.title = ui->title_Label;
        c.frequencySlider = ui->frequent_Slider;
        c.frequencyLabel = ui->frequent_Label;
        c.pulseWidthSlider = ui->plus_Slider;
        c.pulseWidthLabel = ui->plus_Label;
        c.minCurrentSlider = ui->minCurrent_Slider;
        c.minCurrentLabel = ui->minCurrent_Label;
        c.maxCurrentSlider = ui->maxCurrent_Slider;
        c.maxCurrentLabel = ui->maxCurrent_Label;
        c.switchButton = ui->switch_Btn;
        return c;
    }

    explicit ChannelSliderLogic(const Controls &controls);

    // "通道A1" .. "通道D2" for channel ids 1..8; empty for any other id.
    static QString titleText(int id);

    void setTitle(int id);
    void retranslate();
    // 0..7, as the state hub counts the channels.
    int channelIndex() const { return m_id - 1; }
    int device() const { return ChannelMap::deviceOf(channelIndex()); }
    int channel() const { return ChannelMap::channelOf(channelIndex()); }

    void setFrequencyRange(int min, int max);
    void setFrequencyValue(int value);
    void setPulseWidthRange(int min, int max);
    void setPulseWidthValue(int value);
    void setMinCurrentRange(int min, int max);
    void setMinCurrentValue(int value);
    void setMaxCurrentRange(int min, int max);
    void setMaxCurrentValue(int value);
    void setSwitch(bool on);

    // The dialog opened: remembers what the box has, and opens the live adjustment.
    void shown();
    bool isOpen() const { return m_open; }
    void frequencyChanged(int value);
    void pulseWidthChanged(int value);
    void minCurrentChanged(int value);
    void maxCurrentChanged(int value);
    void frequencyReleased();
    void pulseWidthReleased();
    void minCurrentReleased();
    void maxCurrentReleased();
    void stepFrequency(int direction);
    void stepPulseWidth(int direction);
    void stepMinCurrent(int direction);
    void stepMaxCurrent(int direction);
    void toggleSwitch();

    // Frequency, pulse width and currents as the value labels show them, plus the switch.
    void readValues(ST_ChannelParam &param) const;
    // Every way the dialog closes ends here. Accepted: closes the live adjustment, sends the final
    // maximum current and marks the box's muscles as set. Rejected: closes the adjustment and puts
    // back on the box what it had when the dialog opened.
    void finish(bool accepted);

private:
    bool hasBox() const;
    static int labelValue(const QLabel *label);
    int safeCurrent(const QSlider *slider, int value) const;
    int safeFrequency(int value) const;
    int safePulseWidth(int value) const;
    void sendCurrent(const QSlider *slider, int value);
    void sendFrequency(int value);
    void sendPulseWidth(int value);
    void currentMoved(const QSlider *slider, int &counter);
    void stepCurrent(QSlider *slider, int direction);

    Controls m_c;
    int m_id = 0;
    bool m_switch = true;
    int m_minCurrentMoves = 0;
    int m_maxCurrentMoves = 0;
    // Set while the page presets the sliders or a step button moves one: no live send then.
    bool m_quiet = false;

    bool m_open = false;      // shown and not yet closed
    bool m_adjusting = false; // "adjust on" went out and awaits its "adjust off"
    // What the box had when the dialog opened, and what the dialog changed since.
    int m_openedCurrent = 0;
    int m_openedFrequency = 0;
    int m_openedPulseWidth = 0;
    bool m_sentFrequency = false;
    bool m_sentPulseWidth = false;
};
