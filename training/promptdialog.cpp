#include "training/promptdialog.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

PromptDialog::PromptDialog(QWidget *parent) : DimmedDialog(parent) {}

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
