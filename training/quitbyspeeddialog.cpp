#include "training/quitbyspeeddialog.h"

#include "ui_quitbyspeeddialog.h"

#include <QTimer>

QuitBySpeedDialog::QuitBySpeedDialog(QWidget *parent)
    : PromptDialog(parent), m_ui(std::make_unique<Ui::QuitBySpeedDialog>()), m_downTimer(new QTimer(this))
{
    m_ui->setupUi(this);
    setEscapeCloses(false);
    m_downTimer->setObjectName(QStringLiteral("downTimer"));
    m_downTimer->setInterval(kTickMs);
    connect(m_downTimer, &QTimer::timeout, this, &QuitBySpeedDialog::slotDownTimer);
}

QuitBySpeedDialog::~QuitBySpeedDialog() = default;

void QuitBySpeedDialog::startCountDown()
{
    m_count = kCountFrom;
    m_ui->downTime_Label->setNum(m_count);
    m_downTimer->start();
    show();
}

void QuitBySpeedDialog::stopCountDown()
{
    m_downTimer->stop();
    close();
}

void QuitBySpeedDialog::slotDownTimer()
{
    m_ui->downTime_Label->setNum(m_count);
    if (m_count > 0) {
        --m_count;
        return;
    }
    m_downTimer->stop();
    close();
    emit signalClosed();
}

void QuitBySpeedDialog::hideEvent(QHideEvent *event)
{
    // A prompt that is gone never stops the training later.
    m_downTimer->stop();
    PromptDialog::hideEvent(event);
}

void QuitBySpeedDialog::retranslate()
{
    m_ui->retranslateUi(this);
}
