#include "simoptions.h"
#include "trainersimulator.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rotaflex-trainer-sim"));

    SimOptions options;
    switch (options.parse(QCoreApplication::arguments())) {
    case SimOptions::Outcome::ShowHelp:
        std::fputs(options.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case SimOptions::Outcome::Error:
        std::fprintf(stderr, "%s (see --help)\n", options.error().toLocal8Bit().constData());
        return 2;
    case SimOptions::Outcome::Run:
        break;
    }

    TrainerSimulator simulator(options);
    if (!simulator.start())
        return 1;
    return app.exec();
}
