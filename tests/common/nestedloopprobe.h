#pragma once

#include <QList>

// A receiver that behaves like a modal prompt opened from live data: on the first value it gets
// it runs a nested event loop. It records every value in order and how many arrived while its
// loop ran, so a test can tell whether the link kept reading.
class NestedLoopProbe
{
public:
    static constexpr int kLoopMs = 1500;

    void receive(int value);
    QList<int> values() const { return m_values; }
    int duringLoop() const { return m_duringLoop; }
    // 0, 1, ... count - 1: what a device that numbers its frames should have delivered.
    static QList<int> sequence(int first, int count);

private:
    QList<int> m_values;
    int m_duringLoop = 0;
    bool m_inLoop = false;
};
