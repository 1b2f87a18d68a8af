#pragma once

#include "fes/channelparam.h"

#include <QDialog>
#include <memory>

class ChannelSliderLogic;

namespace Ui {
class ChannelOnlyDialog;
}

// Sets frequency, pulse width and currents of one channel for pure stimulation, sending each
// change to the box while the therapist adjusts it.
class ChannelOnlyDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ChannelOnlyDialog(QWidget *parent = nullptr);
    ~ChannelOnlyDialog() override;

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
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    Ui::ChannelOnlyDialog *m_ui = nullptr;
    std::unique_ptr<ChannelSliderLogic> m_logic;
};
