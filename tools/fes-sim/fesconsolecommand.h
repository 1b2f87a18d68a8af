#pragma once

#include <QString>

// One line typed on the FES simulator's standard input.
struct FesConsoleCommand
{
    enum class Kind { Empty, Drop, Off, On, Battery, Status, Help, Quit, Invalid };

    Kind kind = Kind::Empty;
    int box = 0;   // Drop, Off, On, Battery: box number 1..4
    int level = 0; // Battery: 0..100
    QString error; // Invalid

    static FesConsoleCommand parse(const QString &line);
    // The command list, one command per line; shown by --help and the help command.
    static QString usage();
};
