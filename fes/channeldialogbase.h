#pragma once

#include "app/dimmeddialog.h"
#include "fes/channelparam.h"
#include "fes/channelsliderlogic.h"

#include <memory>

// What both channel dialogs share: the four sliders with their live sends, the switch, the
// confirm, and the slots their forms connect by name.
class ChannelDialogBase : public DimmedDialog
{
    Q_OBJECT
public:
    ~ChannelDialogBase() override;

    // Channel id 1..8: device (id + 1) / 2, channel 1 for odd ids and 2 for even ones.
    void setTitle(int id);
    void setFrequentRange(int min, int max);
    void setFrequentValue(int value);
    void setPlusRange(int min, int max);
    void setPlusValue(int value);
    void setMinCurrentRange(int min, int max);
    void setMinCurrentValue(int value);
    void setMaxCurrentRange(int min, int max);
    void setMaxCurrentValue(int value);
    void setSwitch(bool on);
    ST_ChannelParam getData() const;
    void done(int result) override;

public slots:
    void on_confirm_Btn_clicked();
    void on_frequentMinus_Btn_clicked();
    void on_frequentPlus_Btn_clicked();
    void on_frequent_Slider_valueChanged(int value);
    void on_plus_Slider_valueChanged(int value);
    void on_minCurrent_Slider_valueChanged(int value);
    void on_maxCurrent_Slider_valueChanged(int value);
    void on_PWMMinus_Btn_clicked();
    void on_PWMPlus_Btn_clicked();
    void on_minCurrentMinus_Btn_clicked();
    void on_minCurrentPlus_Btn_clicked();
    void on_maxCurrentMinus_Btn_clicked();
    void on_maxCurrentPlus_Btn_clicked();
    void on_switch_Btn_clicked();
    void on_frequent_Slider_sliderReleased();
    void on_plus_Slider_sliderReleased();
    void on_minCurrent_Slider_sliderReleased();
    void on_maxCurrent_Slider_sliderReleased();

protected:
    explicit ChannelDialogBase(QWidget *parent);
    // Called by the dialog once its form is set up.
    void setControls(const ChannelSliderLogic::Controls &controls);

    // The dialog's own part of the record (the muscle) and its own check before confirming.
    virtual void completeData(ST_ChannelParam &param) const;
    virtual bool readyToConfirm();
    virtual void retranslateForm() = 0;

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<ChannelSliderLogic> m_logic;
};
