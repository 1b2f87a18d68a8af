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

bool Unattended::enabled()
{
    return qEnvironmentVariableIntValue(kVariable) == 1;
}

void Unattended::install(QObject *parent)
{
    if (enabled())
        new Unattended(parent);
}

Unattended::Unattended(QObject *parent) : QObject(parent), m_timer(new QTimer(this))
{
    m_timer->setInterval(kAnswerDelayMs);
    connect(m_timer, &QTimer::timeout, this, &Unattended::closeModalBox);
    m_timer->start();
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
