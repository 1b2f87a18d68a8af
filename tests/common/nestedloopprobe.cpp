#include "nestedloopprobe.h"

#include <QEventLoop>
#include <QTimer>

void NestedLoopProbe::receive(int value)
{
    m_values << value;
    m_duringLoop += m_inLoop ? 1 : 0;
    if (m_values.size() != 1)
        return;
    m_inLoop = true;
    QEventLoop loop;
    QTimer::singleShot(kLoopMs, &loop, &QEventLoop::quit);
    loop.exec();
    m_inLoop = false;
}

QList<int> NestedLoopProbe::sequence(int first, int count)
{
    QList<int> values;
    for (int i = 0; i < count; ++i)
        values << first + i;
    return values;
}
