#pragma once

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

    // Start-up's database step: open, and give a new file its tables.
    static bool openDatabase();
    // The style sheet as start-up applies it: Latin-1 up to the first zero byte.
    static bool applyStyleSheet();
};
