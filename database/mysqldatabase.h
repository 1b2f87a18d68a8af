#pragma once

#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantMap>
#include <QWidget>

// Owns the SQLite connection and the one cursor that every statement of the program runs on.
// Never shown; a widget only so that it can own Qt objects like the rest of the program.
class MySqlDataBase : public QWidget
{
    Q_OBJECT
public:
    explicit MySqlDataBase(QWidget *parent = nullptr);

    bool openDB(const QString &dbName, const QString &dbType);
    void closeDB();
    QString getLastError() const;

    bool execQuery(const QString &sql);
    // The statement's "?" marks take values in order; values are never pasted into the text.
    bool execQuery(const QString &sql, const QVariantList &values);
    bool prepareQuery(const QString &sql);
    bool execPrepared();

    // Statements between begin and commit are stored together or, after a rollback, not at all.
    bool beginTransaction();
    bool commitTransaction();
    bool rollbackTransaction();

    int getValuesSize();
    QList<QVariantMap> getValues(int startRow, int count);

    bool insertRowTable(const QString &table, const QVariantMap &row);
    bool updateRowTable(const QString &table, const QString &keyName, const QVariantMap &row);
    bool updateRowTableByTwoKeys(const QString &table, const QString &key1Name,
                                 const QString &key1Value, const QString &key2Name,
                                 const QVariantMap &row);
    bool deleteRowTable(const QString &table, const QString &keyName, const QString &keyValue);
    bool selectAllTable(const QString &table, const QString &orderColumn);
    bool createTable(const QString &table, const QMap<QString, QString> &columns);

    bool tableExists(const QString &table);
    QMap<QString, QString> getColumnTypes(const QString &table);

private:
    bool checkIdentifiers(const QStringList &names);
    bool runQueryError(bool ok);

    QSqlDatabase m_db;
    QSqlQuery m_query;
    QString m_lastError;
};
