#pragma once

#include <QString>
#include <QtGlobal>

// Copies every Qt message, time-stamped, into a size-capped set of rotating files, and still
// hands it to the previous handler (the platform's debug output).
class LogFile
{
public:
    static constexpr qint64 kDefaultMaxBytes = 1024 * 1024;
    static constexpr int kDefaultMaxFiles = 5;
    static constexpr int kMaxHeldLines = 2000;

    // Installs the handler without a file yet: lines are kept in memory (the first
    // kMaxHeldLines) until install() names the folder, so that a copy of the program that turns
    // out not to be the running one never touches that one's log.
    static void hold();
    // Installs the handler and writes the held lines first; the folder is created when needed,
    // also again when it disappears. Calling it again re-targets it.
    static void install(const QString &folder, qint64 maxBytes = kDefaultMaxBytes,
                        int maxFiles = kDefaultMaxFiles);
    // Restores the previous handler; held lines are dropped.
    static void uninstall();

    // "rotaflex.log", then "rotaflex.1.log" ... the oldest is dropped.
    static QString fileName(const QString &folder, int index);

    // The line written for one message (without the line end).
    static QString formatLine(QtMsgType type, const QString &message);

    static void write(QtMsgType type, const QString &message);
};
