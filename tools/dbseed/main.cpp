#include "app/startup.h"
#include "bledeviceseeder.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "dbseedoptions.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cstdio>
#include <optional>

namespace {

void print(const QString &line)
{
    std::fprintf(stdout, "rotaflex-dbseed: %s\n", line.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    // The database layer is built on a widget, which needs a GUI application; this tool shows
    // nothing, so it never needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rotaflex-dbseed"));
    // The database layer's debug chatter (connection names) is not what this tool reports.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    DbSeedOptions options;
    if (const std::optional<int> exitCode = options.exitBeforeRun(options.parse(QCoreApplication::arguments())))
        return *exitCode;

    const QString path = QString::fromLatin1(Startup::kDatabaseFile);
    // Creating folders here would scatter DependFile trees wherever the tool is started.
    if (!QFileInfo(path).absoluteDir().exists()) {
        std::fprintf(stderr, "rotaflex-dbseed: no folder %s here; run me in the program's folder (build/run)\n",
                     QFileInfo(path).path().toLocal8Bit().constData());
        return 1;
    }

    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!db->openDB(path, QString::fromLatin1(Startup::kDatabaseDriver))) {
        std::fprintf(stderr, "rotaflex-dbseed: cannot open %s: %s\n", path.toLocal8Bit().constData(),
                     db->getLastError().toLocal8Bit().constData());
        return 1;
    }
    // A file without any of the tables is new and gets them all; an older file gets only the box
    // table (below), the program adds the rest at its start.
    bool read = false;
    const bool fresh = DatabaseSchema::missingTables(db, &read) == DatabaseSchema::tableNames();
    QStringList created;
    if (!read || (fresh && !DatabaseSchema::createTables(db, &created))) {
        std::fprintf(stderr, "rotaflex-dbseed: cannot read or create the tables: %s\n",
                     db->getLastError().toLocal8Bit().constData());
        db->closeDB();
        return 1;
    }
    if (fresh)
        print(QStringLiteral("new database %1: created the tables %2").arg(path, created.join(QStringLiteral(", "))));

    BleDeviceSeeder seeder(db);
    const bool ok = seeder.seed(options.boxes);
    for (const QString &line : seeder.lines())
        print(line);
    db->closeDB();
    if (!ok) {
        std::fprintf(stderr, "rotaflex-dbseed: %s\n", seeder.error().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
