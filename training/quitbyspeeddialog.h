#pragma once

#include "training/promptdialog.h"

#include <memory>

namespace Ui {
class QuitBySpeedDialog;
}
class QTimer;

// Warns that a limb turns faster than the machine allows and counts 5 s down; when the count has
// run out it closes and emits signalClosed(), and the page stops the training. Opened from live
// data, so it only shows itself and never blocks. Its buttons are captions only.
class QuitBySpeedDialog : public PromptDialog
{
    Q_OBJECT
public:
    static constexpr int kCountFrom = 5;
    static constexpr int kTickMs = 1000;

    explicit QuitBySpeedDialog(QWidget *parent = nullptr);
    ~QuitBySpeedDialog() override;

    void startCountDown();
    // Stops the count and closes without signalClosed().
    void stopCountDown();

signals:
    void signalClosed();

public slots:
    void slotDownTimer();

protected:
    void hideEvent(QHideEvent *event) override;
    void retranslate() override;

private:
    std::unique_ptr<Ui::QuitBySpeedDialog> m_ui;
    QTimer *m_downTimer = nullptr;
    int m_count = kCountFrom;
};
