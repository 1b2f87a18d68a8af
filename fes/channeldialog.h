#pragma once

#include "fes/channelparam.h"

#include <QDialog>
#include <memory>

class ChannelSliderLogic;
class QAbstractButton;
class QButtonGroup;

namespace Ui {
class ChannelDialog;
}

// Sets the muscle and the stimulation values of one channel for FES cycling, sending each
// change to the box while the therapist adjusts it.
class ChannelDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr const char *kMuscleImageFolder = "./DependFile/Image/leftMuscle/";

    explicit ChannelDialog(QWidget *parent = nullptr);
    ~ChannelDialog() override;

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

    // Muscle ids 1..15 left, 16..30 right; any other id leaves the choice as it is.
    void selectMuscle(int id);
    // No muscle chosen: the therapist has to pick one before confirming.
    void clearMuscle();
    // While cycling runs only the maximum current and the switch may change.
    void setRunning(bool running);

    QButtonGroup *muscleGroup() const { return m_muscleGroup; }
    // The picture file of a muscle button: its object name up to the side letter before "_".
    static QString muscleImagePath(const QString &buttonName);

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
    void slotButtonClicked(int id);
    void slotButtonClicked(QAbstractButton *button);

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildMuscleGroup();

    Ui::ChannelDialog *m_ui = nullptr;
    std::unique_ptr<ChannelSliderLogic> m_logic;
    QButtonGroup *m_muscleGroup = nullptr;
    int m_muscleId = 0;
};
