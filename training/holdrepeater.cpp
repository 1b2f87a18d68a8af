#include "training/holdrepeater.h"

#include <QTimer>

HoldRepeater::HoldRepeater(const QString &timerName, std::function<bool(int)> step, QObject *parent)
    : QObject(parent), m_timer(new QTimer(this)), m_step(std::move(step))
{
    m_timer->setObjectName(timerName);
    m_timer->setInterval(kIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &HoldRepeater::tick);
}

void HoldRepeater::press(int direction)
{
    (direction > 0 ? m_plusHeld : m_minusHeld) = true;
    m_timer->start();
}

void HoldRepeater::release(int direction)
{
    (direction > 0 ? m_plusHeld : m_minusHeld) = false;
}

void HoldRepeater::cancel()
{
    m_plusHeld = false;
    m_minusHeld = false;
    m_timer->stop();
}

void HoldRepeater::tick()
{
    if (m_plusHeld && m_step(+1))
        return;
    if (m_minusHeld && m_step(-1))
        return;
    if (!m_plusHeld && !m_minusHeld)
        m_timer->stop();
}
