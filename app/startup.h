#pragma once

#include <optional>

class QApplication;

// The program's start-up and shutdown sequence; main() only calls run().
class Startup
{
public:
    static constexpr const char *kDatabaseFile = "./DependFile/DBFile/Rotaflex.db";
    static constexpr const char *kDatabaseDriver = "QSQLITE";
    static constexpr const char *kStyleSheetFile = "./DependFile/QSS/app.txt";
    static constexpr const char *kInstanceKey = "main_Window";
    static constexpr const char *kLogFolder = "./DependFile/log";

    static int run(int argc, char *argv[]);

    // The style sheet as start-up applies it: Latin-1 up to the first zero byte.
    static bool applyStyleSheet();

private:
    // The steps from the database to the windows: the exit code when start-up ends there,
    // nothing when the event loop is to run.
    static std::optional<int> prepare(bool anotherCopyRuns);
    // Start-up's database step: open, and give the file the tables it lacks. A file that does
    // not open is logged and start-up carries on; false (after the error box) when tables are
    // missing and cannot be made, which ends start-up.
    static bool openDatabase(bool makeMissingTables);
    // Builds the login and the main window, runs the login and, once a user has logged in, the
    // main window's event loop; the program's exit code.
    static int runWindows(QApplication &app);
};
