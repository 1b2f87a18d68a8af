#include "training/promptdialog.h"

#include <QEvent>
#include <QKeyEvent>

PromptDialog::PromptDialog(QWidget *parent) : DimmedDialog(parent) {}

void PromptDialog::keyPressEvent(QKeyEvent *event)
{
    if (!m_escapeCloses && event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    DimmedDialog::keyPressEvent(event);
}

void PromptDialog::showEvent(QShowEvent *event)
{
    coverHostWindow();
    DimmedDialog::showEvent(event);
}

void PromptDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    DimmedDialog::changeEvent(event);
}
