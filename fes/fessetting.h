#pragma once

#include "fes/channelparam.h"

#include <QList>
#include <QWidget>
#include <array>
#include <cstdint>

class ChannelDialog;
class ChannelOnlyDialog;
class FesParamBtn;
class FesTotalParamDialog;
class MuscleButton;
class QButtonGroup;
class QTimer;
class RecipeXmlControl;

namespace Ui {
class FesSetting;
}

// The FES page: global stimulation parameters and eight channels, either as pure stimulation
// with its own treatment timer, or tied to muscles and crank angles for FES cycling.
class FesSetting : public QWidget
{
    Q_OBJECT
public:
    enum E_fesType { PureStimulation_E = 0, FesCycling_E = 1 };

    static constexpr int kChannelCount = 8;
    static constexpr int kTrainTimerMs = 60000;
    static constexpr int kBatteryTimerMs = 5000;

    explicit FesSetting(QWidget *parent = nullptr);
    ~FesSetting() override;

    void setFesType(int mode);
    int fesType() const { return m_fesType; }
    bool isRunning() const { return m_running; }
    int remainingMinutes() const { return m_remainingMinutes; }

    // The parts a test drives.
    QTimer *trainTimer() const { return m_trainTimer; }
    QTimer *batteryTimer() const { return m_batteryTimer; }
    FesTotalParamDialog *valueDialog() const { return m_valueDialog; }
    ChannelDialog *channelDialog() const { return m_channelDialog; }
    ChannelOnlyDialog *channelOnlyDialog() const { return m_channelOnlyDialog; }
    const RecipeXmlControl *recipes() const { return m_recipes; }

signals:
    void signalStartGame();

public slots:
    void slotDeviceStateChanged(QList<uint8_t> states);
    void slotTrainTimeBtnClicked();
    void slotFrequentBtnClicked();
    void slotUpTimeBtnClicked();
    void slotDownTimeBtnClicked();
    void slotOpenTimeBtnClicked();
    void slotCloseTimeBtnClicked();
    void slotPlusBtnClicked();
    void slotChannelWidgetClicked(int id);
    void on_FESA_Btn_clicked();
    void on_FESB_Btn_clicked();
    void on_OK_Btn_clicked();
    void slotTrainTimer();
    void slotGetBattery();
    void slotBatteryChanged(int deviceNo, int batteryValue);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setTitles();
    void fillRecipeTable();
    void resetParameters();
    // Runs the value dialog for one parameter button and writes its result back.
    void editParameter(FesParamBtn *button, const QString &title, const QString &unit, int min, int max);
    // Pure-stimulation parameters to every enabled channel.
    void sendRealTimeParamsToAll();
    void limitChannelsToGlobals();
    void sendRealTimeParam(int index, const ST_ChannelParam &record);
    void sendCycleParam(int index, const ST_ChannelParam &record);
    void startTreatment();
    void stopTreatment();
    void switchOutputs(uint8_t on);
    MuscleButton *channelButton(int index) const;
    QList<FesParamBtn *> parameterButtons() const;

    Ui::FesSetting *ui = nullptr;
    int m_fesType = PureStimulation_E;
    bool m_running = false;
    int m_remainingMinutes = 0;
    std::array<int, kChannelCount> m_switch{};
    std::array<bool, kChannelCount> m_configured{};
    std::array<ST_ChannelParam, kChannelCount> m_savedRecords{};

    FesTotalParamDialog *m_valueDialog = nullptr;
    ChannelDialog *m_channelDialog = nullptr;
    ChannelOnlyDialog *m_channelOnlyDialog = nullptr;
    RecipeXmlControl *m_recipes = nullptr;
    QButtonGroup *m_boxGroup = nullptr;
    QTimer *m_trainTimer = nullptr;
    QTimer *m_batteryTimer = nullptr;
};
