#pragma once

#include "comm/bicycleparam.h"
#include "database/trainreport.h"
#include "reports/reportdialogset.h"
#include "training/overspeedwatch.h"
#include "training/spasmseries.h"
#include "training/stagenotice.h"
#include "training/trainingstatistics.h"

#include <QByteArray>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class EmergencyStopDialog;
class GameLink;
class HoldRepeater;
class QButtonGroup;
class QLabel;
class QTimer;
class QuitBySpeedDialog;
class QuitGameDialog;
class SoundDialog;
class SidePanels;
class SpasmTipsDialog;
class ParamTipsDialog;
struct LiveRecord;

namespace Ui {
class GameDisplayPage;
}

// The page on which a cycling training runs, over the embedded game: it drives the machine
// (start, pause, resume, stop, real-time changes, heartbeat), shows and keeps its live data,
// reacts to spasm, emergency stop and over-speed, feeds the game and the stimulation boxes, and
// hands the finished report to its report dialog. Prompts opened from live data never block.
class GameDisplayPage : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHeartIntervalMs = 1000;
    static constexpr int kCountDownIntervalMs = 1000;
    // How long the program waits at its end for the stop frame to leave a serial or TCP link.
    static constexpr int kQuitFlushMs = 500;

    explicit GameDisplayPage(QWidget *parent = nullptr);
    ~GameDisplayPage() override;

    // State for the shell and for review: 0 not started since shown, 1 running, 2 paused; and
    // 1 started or resumed, 2 paused, 3 stopped or not started.
    int trainState() const { return m_trainState; }
    int sessionState() const { return m_sessionState; }
    int spasmCount() const { return m_spasmSeries.count(); }
    int remainSeconds() const { return m_remainSeconds; }
    const ST_BicycleParam &bicycleParam() const { return m_bicycleParam; }
    const ST_TrainReport &trainReport() const { return m_trainReport; }
    const ReportDialogSet &reportDialogs() const { return m_reports; }
    bool panelsShown() const;

signals:
    void signalGameStateChanged(int8_t state);
    // A cycling-with-stimulation session started (true) or ended, whichever way (false).
    void signalFesSessionStateChanged(bool running);

public slots:
    void on_start_Btn_clicked();
    void open_Btn_clicked();
    void close_Btn_clicked();
    void on_upSpeedMinus_Btn_clicked();
    void on_upSpeedPlus_Btn_clicked();
    void on_upForceMinus_Btn_clicked();
    void on_upForcePlus_Btn_clicked();
    void on_forward_Btn_clicked();
    void on_backward_Btn_clicked();
    void on_stop_Btn_clicked();
    void on_pause_Btn_clicked();
    void on_switchAFes_Btn_clicked();
    void slotSetChannelAData(int *data, int size);
    void slotSetChannelBData(int *data, int size);
    void slotSetBicycleParam(ST_BicycleParam st_setBicycleParam);
    void slotReceiveData(QByteArray frame);
    void slotHeartTimer();
    void slotCountDownTimer();
    void slotStopTraining();
    void slotReceiveGameData();
    void slotBackClicked();
    void on_switchFes_Btn_clicked();
    void on_sound_Button_clicked();
    void on_upSpeedPlus_Btn_pressed();
    void on_upSpeedMinus_Btn_pressed();
    void on_upSpeedPlus_Btn_released();
    void on_upSpeedMinus_Btn_released();
    void on_upForcePlus_Btn_pressed();
    void on_upForceMinus_Btn_pressed();
    void on_upForcePlus_Btn_released();
    void on_upForceMinus_Btn_released();
    void slotSpeedDialogClosed();
    void slotSimulateData();
    // The game's process ended without a report: handled as the game's end.
    void slotGameVanished();
    // Tells the game to close, with no training behind it.
    void closeGame();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // 0 Chinese, otherwise English: chooses the pictures and the spoken prompts.
    virtual int interfaceLanguage() const;

private:
    enum class ReportEnd { None, Stop, TimeOut };

    // Live data
    void handleLiveRecord(const LiveRecord &record);
    void showLiveValues(const LiveRecord &record);
    // Returns false when the emergency prompt was open already (the record is absorbed).
    bool handleEmergency();
    void emergencyReleased();
    void handleSpasm();
    void sendMotionBlock(const QByteArray &block);
    void watchOverSpeed(int fastest);
    void showStageNotice(uint8_t stage);

    // Session
    void sendControl(uint8_t code);
    void sendGameData(float speed, int left, int right, int angle);
    void computeStatistics();
    void openReport(ReportDialogBase *dialog, ReportEnd end);
    void reportClosed();
    void endFesSession();
    void haltSession(const QString &why);
    bool sessionUnderway() const { return m_sessionState == 1 || m_sessionState == 2; }
    void stopAtQuit();
    void playPrompt(const char *baseName);
    void spasmPromptFinished();
    void quitGameFinished(int result);

    // Controls
    int shownSpeed() const;
    int shownResistance() const;
    // One step up (+1) or down (-1) within the limits; false when the limit is reached.
    bool stepSpeed(int direction);
    bool stepResistance(int direction);
    void setSpeed(int speed);
    void setResistance(int level);
    void toggleDirection();
    void showDirection(uint8_t direction);
    void checkDirectionButton(uint8_t direction);
    void askOverThirty(int speed);

    // Texts and pictures that follow the language
    void applyLanguage();
    void showLimbAndMode();
    void showChannelLabel(int index);

    std::unique_ptr<Ui::GameDisplayPage> ui;

    ST_BicycleParam m_bicycleParam{};
    ST_TrainReport m_trainReport;
    uint8_t m_trainState = 0;
    bool m_stopUnconfirmed = false;
    int m_sessionState = 3;
    int m_remainSeconds = 0;
    uint8_t m_directionAfterSpasm = 0;
    bool m_stopAfterSpasm = false; // the third spasm stops once its prompt is done
    int m_heartReplies = 0;
    int m_heartTicks = 0;
    uint8_t m_direction = 0;
    uint8_t m_shownDirection = 0; // what direction_Label says; during a spasm prompt the held one
    bool m_gameRunning = false;
    uint8_t m_machineStage = 0;
    int m_currentSpeed = 0;
    int m_simulatedAngle = 0;
    std::array<int, 8> m_channelValues{};
    QString m_stageText; // the notice shown once the switch-over text has been read
    ReportEnd m_reportEnd = ReportEnd::None;

    TrainingStatistics m_statistics;
    OverSpeedWatch m_overSpeedWatch;
    SpasmSeries m_spasmSeries;
    StageNotice m_stageNotice;

    QTimer *m_heartTimer = nullptr;
    QTimer *m_countDownTimer = nullptr;
    HoldRepeater *m_speedRepeat = nullptr;
    HoldRepeater *m_resistanceRepeat = nullptr;
    QTimer *m_stageTextTimer = nullptr;
    QButtonGroup *m_directionGroup = nullptr;
    SidePanels *m_panels = nullptr;
    QList<QLabel *> m_channelALabels; // no channel A labels on this page
    QList<QLabel *> m_channelBLabels;

    GameLink *m_gameLink = nullptr;
    SpasmTipsDialog *m_spasmDialog = nullptr;
    EmergencyStopDialog *m_emergencyDialog = nullptr;
    QuitBySpeedDialog *m_quitBySpeedDialog = nullptr;
    QuitGameDialog *m_quitGameDialog = nullptr;
    SoundDialog *m_soundDialog = nullptr;
    ParamTipsDialog *m_paramTips = nullptr; // the over-30 question while it is open
    ReportDialogSet m_reports;
};
