#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a line on stdout and an orderly quit, so that what the simulator
// made (a pty link) is removed at exit. Not the core's QuitOnSignal: the simulators announce the
// quit on stdout, ignore SIGPIPE and leave SIGHUP alone.
class QuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

    // False if the signals cannot be watched, or another instance watches them already.
    bool install();

private:
    void handleSignal();

    QSocketNotifier *m_notifier = nullptr;
};
