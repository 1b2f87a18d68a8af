#include "simoptions.h"
#include "trainersimulator.h"

#include <QCoreApplication>

#include <optional>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rotaflex-trainer-sim"));

    SimOptions options;
    if (const std::optional<int> exitCode = options.exitBeforeRun(options.parse(QCoreApplication::arguments())))
        return *exitCode;

    TrainerSimulator simulator(options);
    if (!simulator.start())
        return 1;
    return app.exec();
}
