#pragma once

#include "training/advancedparam.h"
#include "training/promptdialog.h"

#include <vector>

class QPushButton;

namespace Ui {
class AdvancedDialog;
}

// The advanced stage settings: passive, warm-up and active stages and fatigue detection. The
// values shown are the kept ones each time it opens; confirm keeps the values chosen, cancel
// keeps the previous ones.
class AdvancedDialog : public PromptDialog
{
    Q_OBJECT
public:
    // A number box of the dialog: its object name, the field it fills and its items.
    struct NumberBox
    {
        const char *name;
        int ST_AdvancedParam::*field;
        int first;
        int last;
    };
    static const std::vector<NumberBox> &numberBoxes();

    explicit AdvancedDialog(QWidget *parent = nullptr);
    ~AdvancedDialog() override;

    // The values of the last confirm (the defaults before any).
    ST_AdvancedParam settings() const { return m_settings; }

public slots:
    void on_confirm_Btn_clicked();
    void on_cancel_Btn_clicked();
    void on_skipPassive_Btn_clicked();
    void on_preheatFesSwitch_Btn_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void retranslate() override;

private:
    void showSettings(const ST_AdvancedParam &settings);
    static void showSwitch(QPushButton *button, int on);
    static void flipSwitch(int &flag, QPushButton *button);

    Ui::AdvancedDialog *ui = nullptr;
    ST_AdvancedParam m_settings;
    // The switches as shown, kept only on confirm.
    int m_skipPassive = 0;
    int m_preheatFes = 0;
};
