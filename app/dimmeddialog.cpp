#include "app/dimmeddialog.h"

#include <QPainter>

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
