#include "app/unattended.h"

#include <QApplication>
#include <QDebug>
#include <QDialog>
#include <QTimer>
#include <QWidget>

namespace {
constexpr char kVariable[] = "ROTAFLEX_UNATTENDED";
constexpr int kAnswerDelayMs = 200;
} // namespace

Unattended::Unattended()
{
    if (qEnvironmentVariableIntValue(kVariable) != 1)
        return;
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &Unattended::closeModalBox);
    timer->start(kAnswerDelayMs);
}

void Unattended::closeModalBox()
{
    QWidget *box = QApplication::activeModalWidget();
    if (!box)
        return;
    qDebug().noquote() << QStringLiteral("unattended: closing \"%1\"").arg(box->windowTitle());
    if (auto *dialog = qobject_cast<QDialog *>(box))
        dialog->reject();
    else
        box->close();
}
