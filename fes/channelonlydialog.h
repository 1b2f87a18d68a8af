#pragma once

#include "fes/channeldialogbase.h"

namespace Ui {
class ChannelOnlyDialog;
}

// Sets frequency, pulse width and currents of one channel for pure stimulation, sending each
// change to the box while the therapist adjusts it.
class ChannelOnlyDialog : public ChannelDialogBase
{
    Q_OBJECT
public:
    explicit ChannelOnlyDialog(QWidget *parent = nullptr);
    ~ChannelOnlyDialog() override;

protected:
    void retranslateForm() override;

private:
    Ui::ChannelOnlyDialog *m_ui = nullptr;
};
