#pragma once

#include <QObject>
#include <functional>

class QTimer;

// Press and hold of a plus and minus button pair: while one is held, its step repeats every
// 200 ms. The step says whether it could go that way; a tick that finds neither button held
// stops the repeat.
class HoldRepeater : public QObject
{
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 200;

    // step(+1) or step(-1) takes one step if the value allows it and returns whether it did.
    HoldRepeater(const QString &timerName, std::function<bool(int)> step, QObject *parent);

    void press(int direction);
    void release(int direction);
    // Both buttons count as released and the repeat stops (a question took the press over).
    void cancel();

private:
    void tick();

    QTimer *m_timer = nullptr;
    std::function<bool(int)> m_step;
    bool m_plusHeld = false;
    bool m_minusHeld = false;
};
