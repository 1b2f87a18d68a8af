#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

class CDatabaseInterface;

// The five tables of a new database file. Existing files are never altered.
class DatabaseSchema
{
public:
    // True when the file is missing or empty, i.e. opening it starts a new database.
    static bool isNewDatabaseFile(const QString &path);

    // Creates every table and index; false with the layer's last error on the first failure.
    static bool createTables(CDatabaseInterface *db);

    static QStringList tableNames();
    static QMap<QString, QString> columns(const QString &table);
};
