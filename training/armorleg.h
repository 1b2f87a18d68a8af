#pragma once

#include "comm/bicycleparam.h"
#include "training/modeselection.h"

#include <QWidget>
#include <memory>

class AdvancedDialog;
class HorizontalToVerticalDialog;
class MachineStartDialog;
class ParamTipsDialog;
class PrescriptionDialog;
class ProtectGameStart;
class QAbstractButton;
class QButtonGroup;
class QPushButton;
class QTimer;
class VerticalToHorizonDialog;

namespace Ui {
class ArmOrLeg;
}

// The mode selection page: limb, mode and game of a cycling training, the patient's last
// prescription, and the start that hands the record to the state hub. Shown for plain
// cycling or, with its FES variant, for cycling with stimulation. Nothing in a start waits:
// the position prompts answer by signal, and the loading dialog closes on a timer.
class ArmOrLeg : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kStartLockMs = 3000;
    static constexpr int kLoadingMs = 5000;
    // Index of "30" in the speed box, which a declined question returns to.
    static constexpr int kSpeedIndex30 = 28;

    explicit ArmOrLeg(QWidget *parent = nullptr);
    ~ArmOrLeg() override;

    // true: cycling with stimulation (only horizontal upper limb, active/passive, next_Btn);
    // false: plain cycling (confirm_Btn).
    void setFesMode(bool fes);
    // The function choice page opened: parameters kept from the parameter page are dropped,
    // as that page drops its own.
    void resetParameters();

    // State for the shell and for review.
    bool fesMode() const { return m_fesMode; }
    int gameIndex() const { return m_gameIndex; }
    const ST_BicycleParam &keptParam() const { return m_bicycleParam; }
    ModeSelection::Limb checkedLimb() const;
    ModeSelection::Mode checkedMode() const;

signals:
    void signalBicycleParamChanged(ST_BicycleParam param);
    void signalGetBicycleParam();
    void saveUpPictureSignal();

public slots:
    void slotStartGame();
    void slotRecvTrainParamChanged(ST_BicycleParam param);
    void on_advanced1_Btn_clicked();
    void on_upAdvanced2_Btn_clicked();
    void on_downAdvanced2_Btn_clicked();
    void on_next_Btn_clicked();
    void on_confirm_Btn_clicked();
    void on_upSpeed2_ComboBox_currentTextChanged(const QString &text);
    void on_importPrescription_Btn_clicked();
    void on_moreConfigure_Btn_clicked();
    void on_upLimp_Button_toggled(bool checked);
    void on_verticalUpLimp_Button_toggled(bool checked);
    void on_downLimp_Button_toggled(bool checked);
    void on_upDownLimp_Button_toggled(bool checked);
    void on_activePassive1_Button_toggled(bool checked);
    void on_passive1_Button_toggled(bool checked);
    void on_active1_Button_toggled(bool checked);
    void on_assistant1_Button_toggled(bool checked);
    void on_speedTrain_Button_toggled(bool checked);
    void on_forward_Btn_clicked();
    void on_backward_Btn_clicked();
    void on_YiJianShangJi_Btn_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    // 0 Chinese, otherwise English: chooses the spoken prompt.
    virtual int interfaceLanguage() const;

private:
    enum class StartKind { Cycling, FesCycling };

    // Start, in the steps that may wait for a position prompt.
    void requestStart(StartKind kind);
    void positionAnswered(int result);
    void continueStart();

    void selectDefaults();
    void selectGame(int index);
    void stepGame(int step);
    void setForbidden(QPushButton *button, bool forbidden);
    void refreshImage(QAbstractButton *button);
    // The lower-limb and two-limb buttons with their captions.
    void showBothLimbButtons(bool shown);
    QPushButton *limbButton(ModeSelection::Limb limb) const;
    QPushButton *modeButton(ModeSelection::Mode mode) const;
    // Whether the page offers the button now: shown and checkable.
    static bool offered(const QPushButton *button);
    void logSelection() const;

    std::unique_ptr<Ui::ArmOrLeg> ui;

    ST_BicycleParam m_bicycleParam;
    int m_gameIndex = 0;
    bool m_isImportParamWidget = false;
    bool m_paramReceived = false;
    bool isMoreConfgClick = false;
    int m_patientID = 0;
    int m_startClicks = 0;
    bool m_startLocked = false;
    bool m_fesMode = false;
    StartKind m_pendingStart = StartKind::Cycling;

    QButtonGroup *m_limbGroup = nullptr;
    QButtonGroup *m_modeGroup = nullptr;
    QTimer *m_startLockTimer = nullptr;
    QTimer *m_loadingTimer = nullptr;
    AdvancedDialog *m_advancedDialog = nullptr;
    PrescriptionDialog *m_prescriptionDialog = nullptr;
    MachineStartDialog *m_machineStartDialog = nullptr;
    VerticalToHorizonDialog *m_toHorizontalDialog = nullptr;
    HorizontalToVerticalDialog *m_toVerticalDialog = nullptr;
    ProtectGameStart *m_loadingDialog = nullptr;
    ParamTipsDialog *m_paramTips = nullptr; // the over-30 question while it is open
};
