#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// Builds the statement texts of the database layer. Values never appear in the text: every
// value goes in as a bound "?" parameter, in the order the builder lists them.
namespace SqlStatement {

struct Bound
{
    QString sql;
    QVariantList values;
};

// Table and column names are pasted into statements, so only plain identifiers pass.
bool isIdentifier(const QString &name);

// "insert into T(a, b) values(?,?)"; columns in the order given.
QString insert(const QString &table, const QStringList &columns);

// Update and delete bind their keys by one rule, so that both find the same stored rows: an
// integer, or a text that spells one exactly, binds as an integer; other keys bind unchanged.

// "update T set a = ?,b = ? where k = ?"; every entry of row, in key order.
Bound update(const QString &table, const QString &keyName, const QVariantMap &row);

// As update, without the "UUID" entry, on "where k1 = ? and k2 = ?".
Bound updateByTwoKeys(const QString &table, const QString &key1Name, const QString &key1Value,
                      const QString &key2Name, const QVariantMap &row);

// "delete from T where k = ?"
Bound remove(const QString &table, const QString &keyName, const QString &keyValue);

// "select * from T order by ?" (the column is bound as a text, as the stored callers expect)
Bound selectAll(const QString &table, const QString &orderColumn);

// "create table if not exists T (a INT,b TEXT)"; columns in key order.
QString create(const QString &table, const QMap<QString, QString> &columns);

// "PRAGMA table_info(T)"
QString tableInfo(const QString &table);

} // namespace SqlStatement
