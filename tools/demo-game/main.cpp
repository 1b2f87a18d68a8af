#include "demogame.h"
#include "demogameoptions.h"

#include <QApplication>
#include <optional>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // On X11 the class part of a window's WM_CLASS is the application name, and the host looks
    // for game windows by that class. It must be set before the first window exists.
    QCoreApplication::setApplicationName(QStringLiteral("UnityWndClass"));

    DemoGameOptions options;
    if (const std::optional<int> exitCode = options.exitBeforeRun(options.parse(QCoreApplication::arguments())))
        return *exitCode;
    if (!options.snapshotFile.isEmpty())
        return DemoGame::writeSnapshot(options) ? 0 : 1;

    DemoGame game(options);
    game.start();
    return app.exec();
}
