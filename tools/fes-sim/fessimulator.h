#pragma once

#include "fesadaptermodel.h"
#include "fessimoptions.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>

class Console;
class FesPtyLink;
class QTimer;

// Runs the adapter model on a pseudo-terminal: answers the program's frames, spaces consecutive
// replies, drains the batteries with real time and applies the faults typed on standard input.
// Everything it does is reported on stdout.
class FesSimulator : public QObject
{
    Q_OBJECT

public:
    explicit FesSimulator(const FesSimOptions &options, QObject *parent = nullptr);

    // Opens the pty and starts the clock; prints why on stderr and returns false if it cannot.
    bool start();

private:
    void handleFrame(const QByteArray &frame);
    void apply(const FesAdapterModel::Response &response);
    void transmit(const QByteArray &payload);
    void sendNextPending();
    void advanceClock();
    void handleConsoleLine(const QString &line);
    QString statusText() const;

    FesSimOptions m_options;
    FesAdapterModel m_model;
    FesPtyLink *m_link = nullptr;

    QList<QByteArray> m_pending; // replies waiting for their turn
    QTimer *m_paceTimer = nullptr;
    QTimer *m_batteryTimer = nullptr;
    QElapsedTimer m_clock;
    qint64 m_clockMs = 0;

    Console *m_console = nullptr;
};
