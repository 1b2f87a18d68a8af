#pragma once

#include "fes/channelmap.h"
#include "fes/channelparam.h"
#include "fes/fesframe.h"

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
class QMessageBox;
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

    static constexpr int kChannelCount = ChannelMap::kChannelCount;
    static constexpr int kTrainTimerMs = 60000;
    static constexpr int kBatteryTimerMs = 5000;

    explicit FesSetting(QWidget *parent = nullptr);
    ~FesSetting() override;

    void setFesType(int mode);
    int fesType() const { return m_fesType; }
    // A treatment runs: the page's own pure stimulation, or a cycling training with FES.
    bool isRunning() const { return m_running; }

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
    // The training page reports a cycling treatment with FES starting and ending.
    void slotCyclingStateChanged(bool running);
    // The adapter link opened or closed.
    void slotLinkStateChanged(bool open);

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
    // The cycling frame for a channel, on the recipe window found for its muscle.
    void sendCycleParam(int index, const ST_ChannelParam &record, FesFrame::CycleParam window);
    // The crank-angle window, limb and side of a muscle; false (and logged) when its recipe has
    // no usable window, since what the box does with a made-up one depends on its firmware.
    bool recipeWindow(int muscleId, FesFrame::CycleParam &param) const;
    void sendSwitch(int index, uint8_t on);
    // A reset channel's box current goes to 0 before anything else is sent to it.
    void prepareChannel(int index);
    void resetChannel(int index);
    void editPureChannel(int index);
    void editCyclingChannel(int index);
    void confirmedWhileRunning(int index, const ST_ChannelParam &record);
    void setRecipeMissing(int index, bool missing);
    void startTreatment();
    void stopTreatment();
    void startCycling();
    void showWarning(QMessageBox *&box, const char *objectName, const QString &text);
    void warnLinkLost();
    MuscleButton *channelButton(int index) const;
    QList<FesParamBtn *> parameterButtons() const;

    Ui::FesSetting *ui = nullptr;
    int m_fesType = PureStimulation_E;
    bool m_running = false;
    bool m_cyclingRun = false;  // the running treatment is a cycling training
    int m_remainingMinutes = 0;
    int m_chosenMinutes = 0;    // the treatment time the running treatment was started with
    bool m_offAfterLinkLoss = false;
    std::array<int, kChannelCount> m_switch{};
    std::array<bool, kChannelCount> m_configured{};
    std::array<ST_ChannelParam, kChannelCount> m_savedRecords{};
    std::array<bool, kChannelCount> m_everOn{};       // switched on during this treatment
    std::array<bool, kChannelCount> m_zeroPending{};  // reset; its box current is not 0 yet
    std::array<bool, kChannelCount> m_recipeMissing{};

    FesTotalParamDialog *m_valueDialog = nullptr;
    ChannelDialog *m_channelDialog = nullptr;
    ChannelOnlyDialog *m_channelOnlyDialog = nullptr;
    RecipeXmlControl *m_recipes = nullptr;
    QButtonGroup *m_boxGroup = nullptr;
    QTimer *m_trainTimer = nullptr;
    QTimer *m_batteryTimer = nullptr;
    QMessageBox *m_linkLostBox = nullptr;
    QMessageBox *m_refusalBox = nullptr;
};
