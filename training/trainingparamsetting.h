#pragma once

#include "comm/bicycleparam.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

class ParamTipsDialog;
class QButtonGroup;
class QComboBox;
class QPushButton;

namespace Ui {
class TrainingParamSetting;
}

// The training parameter page: time, resistance, speed, direction and spasm protection packed
// into the training record for the mode page, and the machine's height buttons.
class TrainingParamSetting : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kFirstTime = 1;
    static constexpr int kLastTime = 120;
    static constexpr int kFirstResistance = 1;
    static constexpr int kLastResistance = 20;
    static constexpr int kFirstSpeed = 2;
    static constexpr int kLastSpeed = 55;
    static constexpr int kDefaultTimeIndex = 19;       // 20 min
    static constexpr int kDefaultResistanceIndex = 4;  // level 5
    static constexpr int kDefaultSpeedIndex = 8;       // 10 r/min
    // Speeds above this one are asked about; declining falls back to it.
    static constexpr int kSpeedAskAbove = 30;
    static constexpr int kSpeedFallbackIndex = 28;

    explicit TrainingParamSetting(QWidget *parent = nullptr);
    ~TrainingParamSetting() override;

    // Set by the main window when it shows the mode page: saving returns to the FES variant.
    void setFesFlag(bool fes);
    // The record packed by the last save.
    ST_BicycleParam bicycleParam() const { return m_bicycleParam; }
    // The over-30 question while it is open, else null.
    ParamTipsDialog *speedQuestion() const;

signals:
    void signalTrainParamChanged(ST_BicycleParam param);

public slots:
    void slotBicycleParamChanged(ST_BicycleParam param);
    void slotResetParam();
    void on_confirm_Btn_clicked();
    void on_speed1_ComboBox_currentTextChanged(const QString &text);
    void on_CW1_Button_toggled(bool checked);
    void on_ACW1_Button_toggled(bool checked);
    void on_spasmHigh1_Button_toggled(bool checked);
    void on_spasmMidd1_Button_toggled(bool checked);
    void on_spasmLow1_Button_toggled(bool checked);
    void on_spasmClose1_Button_toggled(bool checked);
    void on_upSpeedPlus_Btn_pressed();
    void on_upSpeedMinus_Btn_pressed();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setDefaults();
    // Selects the item of a value in a box whose items run from first upwards, held to its ends.
    static void selectValue(QComboBox *box, int value, int first);
    void askAboutSpeed(const QString &speed);
    void sendHeightStep(uint8_t step);
    static void showChoice(QPushButton *button, bool selected);
    QList<QPushButton *> levelButtons() const;

    Ui::TrainingParamSetting *ui = nullptr;
    QButtonGroup *m_directionGroup = nullptr;
    QButtonGroup *m_levelGroup = nullptr;
    ST_BicycleParam m_bicycleParam;
    bool m_paramSet = false;
    bool m_paramLoaded = false;
    bool m_fesFlag = false;
    // Values the page sets itself (defaults, received records) were chosen before: no question.
    bool m_settingValues = false;
    QPointer<ParamTipsDialog> m_speedQuestion;
};
