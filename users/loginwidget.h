#pragma once

#include "users/operatoraccount.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class LoginWidget;
}
namespace platform {
class SystemPower;
}
class QTimer;
class ShutdeonDialog;

// The login screen run before the main window: its modal run ends with 1 after a correct user
// name and password. Its two ways out of the program, switching the computer off and ten taps on
// the logo, switch the stimulation boxes off first; then the run ends with 0 and the program is
// to end.
class LoginWidget : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTapPeriodMs = 5000;
    static constexpr int kTapsToExit = 10;
    // Lets the boxes' switch-off frame go out before the program quits.
    static constexpr int kBoxesOffWaitMs = 100;
    // Lets the program wind down before the computer goes off.
    static constexpr int kPowerOffWaitMs = 3500;

    // power switches the computer off (the platform's own when null); quit ends the program's
    // event loop (QCoreApplication::exit(0) when empty). Tests pass doubles for both.
    explicit LoginWidget(QWidget *parent = nullptr, std::unique_ptr<platform::SystemPower> power = nullptr,
                         std::function<void()> quit = {});
    // Still holding a power-off whose wait the ended event loop cut short, it switches off now.
    ~LoginWidget() override;

    int tapCount() const { return m_tapCount; }

signals:
    void signalResult(int result);

public slots:
    void slotShowCompleted();
    void slotCleanTimes();
    void on_forgetPassword_Btn_clicked();
    void on_confirm_Btn_clicked();
    void on_userName_LineEdit_textChanged(const QString &text);
    void on_password_LineEdit_textChanged(const QString &text);
    void on_pushButton_clicked();
    void on_company_Label_clicked();

    // Only a correct login or one of the two ways out ends the login: Escape or a request to
    // close the window would otherwise let the program past it.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyLanguage();
    void shutdownAnswered();
    // Switches the boxes off and quits after the wait; the computer follows when powerOff is set.
    void leave(bool powerOff);
    // Quits and closes the login; a pending power-off waits for the program to wind down.
    void quitNow();
    void powerOffNow();

    std::unique_ptr<Ui::LoginWidget> m_ui;
    ShutdeonDialog *m_shutdownDialog = nullptr;
    QTimer *m_tapTimer = nullptr;
    QTimer *m_quitTimer = nullptr;
    QTimer *m_powerOffTimer = nullptr;
    std::unique_ptr<platform::SystemPower> m_power;
    std::function<void()> m_quit;
    OperatorAccount m_account;
    int m_tapCount = 0;
    bool m_leaving = false;
    bool m_powerOffPending = false;
};
