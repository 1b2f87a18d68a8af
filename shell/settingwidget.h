#pragma once

#include <QWidget>

#include <cstdint>

class MaiBoXueyangDialog;
class QButtonGroup;
class QTimer;
class TorqueDialog;

namespace Ui {
class SettingWidget;
}

// The settings page: language, torque level behind the operator password, the software versions,
// the operator password, and the product information, on three tabs.
class SettingWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kVersionDelayMs = 1000;
    static constexpr int kCheckIntervalMs = 3000;

    explicit SettingWidget(QWidget *parent = nullptr);
    ~SettingWidget() override;

    // 0 low, 1 middle, 2 high: the level last confirmed with the password.
    int torqueLevel() const { return m_torqueLevel; }
    MaiBoXueyangDialog *oximeterDialog() const { return m_oximeterDialog; }

    // A torque radio was tapped: the level changes only once the password is confirmed. Not a
    // slot: the radios are connected by hand, and no child bears this name.
    void on_torque_Radio_clicked();

public slots:
    void on_resetPassword_Btn_clicked();
    void on_bioelectricity_Btn_clicked();
    void on_systemSetting_Btn_clicked();
    void on_secretManage_Btn_clicked();
    void on_productMsg_Btn_clicked();
    void on_cancelPassword_Btn_clicked();
    void on_savePassword_Btn_clicked();
    void slotCheckTimerSlot();
    // The pulse oximeter's connection; bioelectricity_Btn is usable only while it is connected.
    void slotOximeterStateChanged(bool connected);
    void on_CH_RadioButton_toggled(bool checked);
    void on_EN_RadioButton_toggled(bool checked);
    void on_Up_Btn_clicked();
    void on_down_Btn_clicked();
    void on_FESConfig_Btn_clicked();
    void on_OpenFES_Btn_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showTab(int index);
    void applyLanguageLook(int language);
    void torqueDialogFinished(int result);
    void checkKeptTorqueRadio();
    void sendHeightStep(uint8_t step);
    void showFesEnabled();
    void showOximeterState();
    void showNotice(const QString &text);

    Ui::SettingWidget *ui = nullptr;
    QButtonGroup *m_tabGroup = nullptr;
    QTimer *m_checkTimer = nullptr;
    QTimer *m_versionTimer = nullptr;
    TorqueDialog *m_torqueDialog = nullptr;
    MaiBoXueyangDialog *m_oximeterDialog = nullptr;
    uint8_t m_torqueLevel = 0;
    // The level of the radio tapped last, waiting for the password.
    int m_pendingTorqueLevel = -1;
    // Set once the FES link was started from this page; FESConfig_Btn is usable then.
    bool m_fesEnabled = false;
    bool m_oximeterConnected = false;
};
