#pragma once

#include "app/dimmeddialog.h"

#include <memory>

namespace Ui {
class SoundDialog;
}
namespace platform {
class VolumeBackend;
}
class SoundController;

// Reads and sets the master volume of the default playback device with a slider and step
// buttons. The value shown is the level in percent plus 1; confirming sets the shown value
// minus 1, or mutes for 0.
class SoundDialog : public DimmedDialog
{
    Q_OBJECT
public:
    // Uses the first sound system of this machine that answers.
    explicit SoundDialog(QWidget *parent = nullptr);
    explicit SoundDialog(std::unique_ptr<platform::VolumeBackend> backend, QWidget *parent = nullptr);
    ~SoundDialog() override;

public slots:
    void on_cancel_Btn_clicked();
    void on_slider_sliderMoved(int position);
    void on_confirm_Btn_clicked();
    void on_minus_Btn_clicked();
    void on_plus_Btn_clicked();
    void on_slider_valueChanged(int value);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setUp(SoundController *controller);
    // Shows the system's volume, or the value confirmed last when it is below 1 %.
    void showCurrentVolume();
    void showValue(int value);
    void step(int delta);

    Ui::SoundDialog *m_ui = nullptr;
    SoundController *m_controller = nullptr;
    // Shared by every volume dialog of the process.
    static int s_lastConfirmedValue;
};
