#pragma once

#include "tools/simcommon/tooloptions.h"

#include <QSize>
#include <QString>
#include <QStringList>

// The demo game's command line. The host starts a game without arguments, so every default is
// what a real session needs; the ports and --host-silent are for tests.
class DemoGameOptions : public ToolOptions
{
public:
    enum class SnapshotState { Waiting, Running, Paused };

    // The window titles the host looks for, by game number 1 to 4.
    static const QStringList &catalogueTitles();
    // The title for the name the program was started under: one of the catalogue titles
    // (without a file suffix such as ".exe"), else the first of them.
    static QString titleForProgram(const QString &programPath);

    // args includes the program name, as QCoreApplication::arguments() gives it.
    Outcome parse(const QStringList &args);

    QSize size{1920, 980};
    QString title;
    quint16 portIn = 12000;
    quint16 portOut = 2100;
    bool hostSilent = false;
    bool verbose = false;
    // The host starts a game without arguments: a file named by this variable gets the same
    // state lines as --verbose, so that a whole training can be followed from outside.
    static constexpr const char *kLogVariable = "ROTAFLEX_DEMO_GAME_LOG";
    QString logFile;
    QString snapshotFile;
    SnapshotState snapshotState = SnapshotState::Running;
};
