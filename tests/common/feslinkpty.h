#pragma once

#include "ptypair.h"

#include <QByteArray>
#include <QList>

// The FES box manager's link opened on a pseudo-terminal: the test plays the Bluetooth adapter
// and reads back every frame the code under test sends.
class FesLinkPty
{
public:
    // Opens the manager's port on a new pty; false when either fails.
    bool open();
    ~FesLinkPty();

    // The frames that arrived, read until the line stays quiet for waitMs.
    QList<QByteArray> sentFrames(int waitMs = 100);
    PtyPair &pty() { return m_pty; }

private:
    PtyPair m_pty;
    bool m_open = false;
};
