#pragma once

#include "app/dimmeddialog.h"

// A training prompt: a white rounded panel from the form, over a layer that dims the whole
// window of the page that opened it (or the whole screen), retranslated on a language change.
class PromptDialog : public DimmedDialog
{
    Q_OBJECT
public:
    explicit PromptDialog(QWidget *parent = nullptr);

protected:
    // A prompt that waits for the machine or for its own button is not dismissed by Escape.
    void setEscapeCloses(bool closes) { m_escapeCloses = closes; }
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Re-applies the form's texts and those the dialog sets itself.
    virtual void retranslate() = 0;

private:
    bool m_escapeCloses = true;
};
