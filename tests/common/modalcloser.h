#pragma once

#include <QObject>
#include <QStringList>

class QTimer;

// Answers modal boxes while it lives: each one that opens is recorded ("title|text") and closed
// on the next timer tick, so code that shows a box can run inside a test.
class ModalCloser : public QObject
{
    Q_OBJECT
public:
    explicit ModalCloser(int intervalMs = 20);
    QStringList seen() const { return m_seen; }

private:
    void tick();

    QTimer *m_timer = nullptr;
    QStringList m_seen;
};
