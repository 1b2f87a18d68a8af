#pragma once

#include "fesboxoption.h"

#include <QList>
#include <QString>
#include <QStringList>

// The FES simulator's command line.
class FesSimOptions
{
public:
    enum class Outcome { Run, ShowHelp, Error };

    // args includes the program name, as QCoreApplication::arguments() gives it.
    Outcome parse(const QStringList &args);

    QString helpText() const { return m_helpText; }
    QString error() const { return m_error; }

    QList<FesBoxOption> boxes = FesBoxOption::defaults();
    QString linkPath;
    int battery = 100;
    double drainPerMinute = 1.0;
    int reportIntervalMs = 100;

private:
    QString m_helpText;
    QString m_error;
};
