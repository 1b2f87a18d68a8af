#include "fessimoptions.h"
#include "fessimulator.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rotaflex-fes-sim"));

    FesSimOptions options;
    switch (options.parse(QCoreApplication::arguments())) {
    case FesSimOptions::Outcome::ShowHelp:
        std::fputs(options.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case FesSimOptions::Outcome::Error:
        std::fprintf(stderr, "%s (see --help)\n", options.error().toLocal8Bit().constData());
        return 2;
    case FesSimOptions::Outcome::Run:
        break;
    }

    FesSimulator simulator(options);
    if (!simulator.start())
        return 1;
    return app.exec();
}
