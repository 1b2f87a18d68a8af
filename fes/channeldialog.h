#pragma once

#include "fes/channeldialogbase.h"

class QAbstractButton;
class QButtonGroup;

namespace Ui {
class ChannelDialog;
}

// Sets the muscle and the stimulation values of one channel for FES cycling, sending each
// change to the box while the therapist adjusts it.
class ChannelDialog : public ChannelDialogBase
{
    Q_OBJECT
public:
    static constexpr const char *kMuscleImageFolder = "./DependFile/Image/leftMuscle/";

    explicit ChannelDialog(QWidget *parent = nullptr);
    ~ChannelDialog() override;

    // Muscle ids 1..15 left, 16..30 right; any other id leaves the choice as it is.
    void selectMuscle(int id);
    // No muscle chosen: the therapist has to pick one before confirming.
    void clearMuscle();
    // While cycling runs only the maximum current and the switch may change.
    void setRunning(bool running);

    // The picture file of a muscle button: its object name up to the side letter before "_".
    static QString muscleImagePath(const QString &buttonName);

public slots:
    void slotButtonClicked(int id);
    void slotButtonClicked(QAbstractButton *button);

protected:
    void completeData(ST_ChannelParam &param) const override;
    bool readyToConfirm() override;
    void retranslateForm() override;

private:
    void buildMuscleGroup();

    Ui::ChannelDialog *m_ui = nullptr;
    QButtonGroup *m_muscleGroup = nullptr;
    int m_muscleId = 0;
};
