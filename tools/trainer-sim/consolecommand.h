#pragma once

#include <QString>

// One line typed on the simulator's standard input.
struct ConsoleCommand
{
    enum class Kind { Empty, Spasm, Estop, Release, Overspeed, Silence, Garbage, Burst, Status, Help, Quit, Invalid };

    Kind kind = Kind::Empty;
    double seconds = 0.0; // Overspeed, Silence
    int count = 0;        // Garbage, Burst
    QString error;        // Invalid

    static constexpr double kDefaultOverspeedSeconds = 5.0;
    static constexpr int kDefaultGarbageBytes = 16;

    static ConsoleCommand parse(const QString &line);
    // The command list, one command per line; shown by --help and the help command.
    static QString usage();
};
