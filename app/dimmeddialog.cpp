#include "app/dimmeddialog.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

DimmedDialog::DimmedDialog(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
}

void DimmedDialog::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba64(0, 0, 0, 0x6464));
}

void DimmedDialog::coverHostWindow()
{
    if (const QWidget *host = parentWidget() ? parentWidget()->window() : nullptr)
        setGeometry(host->geometry());
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
}
