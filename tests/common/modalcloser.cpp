#include "modalcloser.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

ModalCloser::ModalCloser(int intervalMs) : m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &ModalCloser::tick);
    m_timer->start(intervalMs);
}

void ModalCloser::tick()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    QString text;
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        text = box->text();
    m_seen << modal->windowTitle() + QLatin1Char('|') + text;
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
}
