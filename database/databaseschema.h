#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

class CDatabaseInterface;

// The five tables of the database file. A table that is there is never altered.
class DatabaseSchema
{
public:
    // The tables that the open database lacks, as its sqlite_master tells; *ok is false (and the
    // list empty) when that cannot be read.
    static QStringList missingTables(CDatabaseInterface *db, bool *ok);

    // Creates every missing table with its indexes in one transaction, so that a failure leaves
    // none of them behind; false with the layer's last error. *created names what was made.
    static bool createTables(CDatabaseInterface *db, QStringList *created = nullptr);

    static QStringList tableNames();
    static QMap<QString, QString> columns(const QString &table);
};
