#pragma once

#include "fes/serialportsource.h"
#include "ptypair.h"

#include <QByteArray>
#include <QList>

#include <functional>

class FesSetting;
class QSerialPort;
class QWidget;

// Runs a modal dialog's answer from inside its event loop, once the dialog is up.
void whenModal(std::function<void(QWidget *)> answer);
// Confirms the page's dialog of channel id with the given maximum current (a muscle too when
// cycling), the switch as the dialog has it.
void setUpChannel(FesSetting &page, int id, int maxCurrent, int muscle = 0);

// Port names the box manager lists instead of the machine's own serial ports, which tests never
// probe; a test may change the list at any time.
class ListedPorts : public SerialPortSource
{
public:
    QStringList names;
    QStringList portNames() const override { return names; }
};

// The FES box manager's link opened on a pseudo-terminal: the test plays the Bluetooth adapter
// and reads back every frame the code under test sends.
class FesLinkPty
{
public:
    // Makes the manager (listing no system port) unless it exists; a port of its own.
    static void createManager();
    // The manager's link port.
    static QSerialPort *managerPort();

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
