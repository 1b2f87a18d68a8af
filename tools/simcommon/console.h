#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// A simulator's console: lines out on stdout and lines in from stdin.
class Console : public QObject
{
    Q_OBJECT

public:
    explicit Console(QObject *parent = nullptr);

    // Writes one line and flushes it at once.
    static void printLine(const QString &line);

    // Starts reading standard input, unless it is closed.
    void watchInput();

signals:
    // One line typed, without its newline; empty lines included.
    void lineEntered(const QString &line);

private:
    void readInput();

    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_buffer;
};
