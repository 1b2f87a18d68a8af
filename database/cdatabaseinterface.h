#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariantMap>

class MySqlDataBase;

// The one road to the database: pages call this facade, never the Qt SQL classes.
class CDatabaseInterface : public QObject
{
    Q_OBJECT
public:
    static CDatabaseInterface *getInstance();

    bool openDB(const QString &dbName, const QString &dbType);
    void closeDB();
    QString getLastError() const;
    bool execQuery(const QString &sql);
    bool execQuery(const QString &sql, const QVariantList &values);
    bool prepareQuery(const QString &sql);
    bool execPrepared();
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

private:
    CDatabaseInterface();

    MySqlDataBase *m_dataBase = nullptr;
};
