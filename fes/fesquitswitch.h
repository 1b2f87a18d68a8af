#pragma once

#include <QObject>

class QCoreApplication;

// Switches every stimulation box off when the program quits, whichever way it quits (window,
// shut-down button, a termination signal), and whether or not the box manager was ever made.
class FesQuitSwitch : public QObject
{
    Q_OBJECT
public:
    // Connects to the application's about-to-quit; the switch lives as long as the application.
    static void install(QCoreApplication *app);

    // Sends the all-devices-off frame and waits until it has left the port.
    static void switchAllOff();

private:
    using QObject::QObject;
};
