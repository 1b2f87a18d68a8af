#pragma once

#include "simprocess.h"

#include <QString>
#include <QTemporaryDir>

// The simulated FES adapter as a real process with boxes 1 and 2, registered in the database that
// is open and connected through this process's box manager: where a test sees whether a box
// really stimulates.
class FesSimBoxes
{
public:
    explicit FesSimBoxes(const QString &program);

    // The simulator's options for the two boxes on a pty linked at link, their batteries kept full.
    static QStringList arguments(const QString &link);

    // Starts the simulator and connects both boxes; fails the running test when a step fails.
    void connectBoxes();
    QString link() const { return m_link; }
    SimProcess &sim() { return m_sim; }

    // One channel as the simulator's status shows it, e.g. "ch1 30 mA 100 Hz 200 us output on".
    QString channelState(int box, int channel);
    bool allOutputsOff();

private:
    QTemporaryDir m_dir;
    QString m_link;
    SimProcess m_sim;
};
