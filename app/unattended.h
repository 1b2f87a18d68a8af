#pragma once

#include <QObject>

class QTimer;

// Unattended runs (kiosk smoke checks, the start-up tests) set ROTAFLEX_UNATTENDED=1: every
// modal box is then closed shortly after it opens, as a user would answer it, and logged.
class Unattended : public QObject
{
    Q_OBJECT
public:
    static bool enabled();
    // Starts watching for modal boxes when enabled; the object lives as long as its parent.
    static void install(QObject *parent);

private:
    explicit Unattended(QObject *parent);
    void closeModalBox();

    QTimer *m_timer = nullptr;
};
