#pragma once

#include "tools/fes-sim/fesboxoption.h"
#include "tools/simcommon/tooloptions.h"

#include <QList>
#include <QString>
#include <QStringList>

// The seeding tool's command line.
class DbSeedOptions : public ToolOptions
{
public:
    // args includes the program name, as QCoreApplication::arguments() gives it.
    Outcome parse(const QStringList &args);

    QList<FesBoxOption> boxes = FesBoxOption::defaults();
};
