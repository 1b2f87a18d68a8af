#pragma once

#include "simoptions.h"
#include "trainermodel.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <random>

class Console;
class QTimer;
class TrainerLink;

// Runs the machine model against a link: answers the host, streams live data at the set rate,
// and applies the faults typed on standard input. Everything it does is reported on stdout.
class TrainerSimulator : public QObject
{
    Q_OBJECT

public:
    explicit TrainerSimulator(const SimOptions &options, QObject *parent = nullptr);

    // Opens the link and starts the clock; prints why on stderr and returns false if it cannot.
    bool start();

private:
    void handleFrame(const QByteArray &frame);
    void tick();
    void sendLiveRecord();
    void handleConsoleLine(const QString &line);
    bool silent() const;
    QString statusText() const;

    SimOptions m_options;
    TrainerModel m_model;
    TrainerLink *m_link = nullptr;
    QTimer *m_timer = nullptr;
    double m_tickSeconds;
    std::mt19937 m_random;

    Console *m_console = nullptr;

    bool m_silenceActive = false;
    QDeadlineTimer m_silenceEnd;
};
