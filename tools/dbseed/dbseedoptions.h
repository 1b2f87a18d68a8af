#pragma once

#include "tools/fes-sim/fesboxoption.h"

#include <QList>
#include <QString>
#include <QStringList>

// The seeding tool's command line.
class DbSeedOptions
{
public:
    enum class Outcome { Run, ShowHelp, Error };

    // args includes the program name, as QCoreApplication::arguments() gives it.
    Outcome parse(const QStringList &args);

    QString helpText() const { return m_helpText; }
    QString error() const { return m_error; }

    QList<FesBoxOption> boxes = FesBoxOption::defaults();

private:
    QString m_helpText;
    QString m_error;
};
