#include "fessimoptions.h"
#include "fessimulator.h"

#include <QCoreApplication>

#include <optional>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rotaflex-fes-sim"));

    FesSimOptions options;
    if (const std::optional<int> exitCode = options.exitBeforeRun(options.parse(QCoreApplication::arguments())))
        return *exitCode;

    FesSimulator simulator(options);
    if (!simulator.start())
        return 1;
    return app.exec();
}
