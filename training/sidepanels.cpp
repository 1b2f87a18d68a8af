#include "training/sidepanels.h"

#include <QPropertyAnimation>
#include <QWidget>

SidePanels::SidePanels(QWidget *left, QWidget *right, QObject *parent)
    : QObject(parent), m_left(new QPropertyAnimation(left, "pos", this)), m_right(new QPropertyAnimation(right, "pos", this))
{
    m_left->setDuration(kAnimationMs);
    m_right->setDuration(kAnimationMs);
}

void SidePanels::slide(bool in)
{
    const QPoint leftIn(0, kTop);
    const QPoint leftOut(-kWidth, kTop);
    const QPoint rightIn(kScreenWidth - kWidth, kTop);
    const QPoint rightOut(kScreenWidth, kTop);
    for (QPropertyAnimation *animation : {m_left, m_right})
        animation->stop();
    m_left->setStartValue(in ? leftOut : leftIn);
    m_left->setEndValue(in ? leftIn : leftOut);
    m_right->setStartValue(in ? rightOut : rightIn);
    m_right->setEndValue(in ? rightIn : rightOut);
    m_left->start();
    m_right->start();
}

bool SidePanels::toggleAt(int x)
{
    if (x < kToggleLeft || x > kToggleRight)
        return false;
    slide(!m_shown);
    m_shown = !m_shown;
    return true;
}

void SidePanels::bringBack()
{
    if (m_shown)
        return;
    slide(true);
    m_shown = true;
}
