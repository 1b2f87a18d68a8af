#pragma once

#include <QObject>

class QCoreApplication;

// Switches every stimulation box off when the program quits, whichever way it quits (window,
// shut-down button, a termination signal, the login's ways out), and whether or not the box
// manager was ever made.
class FesQuitSwitch : public QObject
{
    Q_OBJECT
public:
    // Connects to the application's about-to-quit; the switch lives as long as the application.
    static void install(QCoreApplication *app);

    // Sends the all-devices-off frame and waits until it has left the port.
    static void switchAllOff();
    // The quit's switch-off: sends the frame unless it has gone out already, as the login's own
    // ways out send it before they end the program; the boxes go off once, logged once.
    static void switchAllOffAtQuit();

private:
    using QObject::QObject;
    static bool &hasSent();
};
