#pragma once

#include "training/promptdialog.h"

#include <cstdint>
#include <memory>

namespace Ui {
class SpasmTipsDialog;
}
class LoopingSound;

// Tells of a spasm with an endless chime. Opened from live data, so it never blocks: showCount()
// returns at once with the prompt window-modal over the page, and the page learns the end from
// finished(int): 1 after the confirm (which sent the held direction to the machine), 0 when the
// prompt was closed any other way.
class SpasmTipsDialog : public PromptDialog
{
    Q_OBJECT
public:
    static constexpr const char *kSoundPath = "./DependFile/Music/spasmTips.wav";

    explicit SpasmTipsDialog(QWidget *parent = nullptr);
    ~SpasmTipsDialog() override;

    // The direction the machine takes after the spasm: 1 forward, 0 backward.
    void setDirection(uint8_t direction);
    uint8_t direction() const;

    // The text for the n-th spasm of the series (the third stops the training), the sound, open().
    void showCount(int n);
    void stopSound();
    bool isSoundPlaying() const;

public slots:
    void on_confirm_Btn_clicked();

protected:
    void hideEvent(QHideEvent *event) override;
    void retranslate() override;

private:
    void showTipsText();

    std::unique_ptr<Ui::SpasmTipsDialog> m_ui;
    LoopingSound *m_sound = nullptr;
    uint8_t m_direction = 1;
    int m_count = 1;
};
