#pragma once

#include "fesboxoption.h"
#include "tools/simcommon/tooloptions.h"

#include <QList>
#include <QString>
#include <QStringList>

// The FES simulator's command line.
class FesSimOptions : public ToolOptions
{
public:
    // args includes the program name, as QCoreApplication::arguments() gives it.
    Outcome parse(const QStringList &args);

    QList<FesBoxOption> boxes = FesBoxOption::defaults();
    QString linkPath;
    int battery = 100;
    double drainPerMinute = 1.0;
    int reportIntervalMs = 100;
};
