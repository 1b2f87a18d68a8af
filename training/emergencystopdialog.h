#pragma once

#include "training/promptdialog.h"

#include <memory>

namespace Ui {
class EmergencyStopDialog;
}
class LoopingSound;

// Shows that the machine's emergency stop is pressed, with an endless alarm, until the live data
// says it is released. Opened from live data, so it never blocks (open()). Thirty-one taps on its
// button close it by hand; the taps are counted across every instance.
class EmergencyStopDialog : public PromptDialog
{
    Q_OBJECT
public:
    static constexpr const char *kSoundPath = "./DependFile/Music/emergency.wav";
    // The tap that takes the count above this closes the prompt.
    static constexpr int kClicksToClose = 30;

    explicit EmergencyStopDialog(QWidget *parent = nullptr);
    ~EmergencyStopDialog() override;

    void showPrompt();
    void closePrompt();
    bool isSoundPlaying() const;

public slots:
    void on_emergency_Btn_clicked();

protected:
    void hideEvent(QHideEvent *event) override;
    void retranslate() override;

private:
    std::unique_ptr<Ui::EmergencyStopDialog> m_ui;
    LoopingSound *m_sound = nullptr;
    static int s_clickCount;
};
