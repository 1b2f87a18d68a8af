#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the termination requests of the operating system (Ctrl+C, SIGTERM from a service
// manager) into an orderly QCoreApplication::quit(), so that the quit handlers still run.
class QuitOnSignal : public QObject
{
    Q_OBJECT
public:
    static void install(QObject *parent);

private:
    explicit QuitOnSignal(QObject *parent);
    void handleSignal();

    QSocketNotifier *m_notifier = nullptr;
};
