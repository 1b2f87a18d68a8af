#include "training/promptdialog.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

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
    if (const QWidget *host = parentWidget() ? parentWidget()->window() : nullptr)
        setGeometry(host->geometry());
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    DimmedDialog::showEvent(event);
}

void PromptDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    DimmedDialog::changeEvent(event);
}
