#include "testdatabase.h"

#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"

#include <QDebug>

bool openFreshDatabase(std::unique_ptr<TestWorkDir> &dir)
{
    dir.reset(); // it restores the working folder it found: leave it before the next one
    dir = std::make_unique<TestWorkDir>();
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (dir->isValid()
        && db->openDB(dir->filePath(QStringLiteral("DependFile/DBFile/Rotaflex.db")), QStringLiteral("QSQLITE"))
        && DatabaseSchema::createTables(db))
        return true;
    qWarning().noquote() << QStringLiteral("no fresh database:") << db->getLastError();
    return false;
}

int storedRowCount(const QString &table)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!db->execQuery(QStringLiteral("select count(*) as n from %1").arg(table)))
        return -1;
    return db->getValuesSize() < 1 ? -1 : db->getValues(0, 1).value(0).value(QStringLiteral("n")).toInt();
}
