#include "database/cdatabaseinterface.h"

#include "database/mysqldatabase.h"

CDatabaseInterface *CDatabaseInterface::getInstance()
{
    static CDatabaseInterface *instance = new CDatabaseInterface;
    return instance;
}

CDatabaseInterface::CDatabaseInterface() : m_dataBase(new MySqlDataBase) {}

bool CDatabaseInterface::openDB(const QString &dbName, const QString &dbType)
{
    return m_dataBase ? m_dataBase->openDB(dbName, dbType) : false;
}

void CDatabaseInterface::closeDB()
{
    if (m_dataBase)
        m_dataBase->closeDB();
}

QString CDatabaseInterface::getLastError() const
{
    return m_dataBase ? m_dataBase->getLastError() : QStringLiteral("数据库未初始化");
}

bool CDatabaseInterface::execQuery(const QString &sql)
{
    return m_dataBase ? m_dataBase->execQuery(sql) : false;
}

bool CDatabaseInterface::execQuery(const QString &sql, const QVariantList &values)
{
    return m_dataBase ? m_dataBase->execQuery(sql, values) : false;
}

bool CDatabaseInterface::prepareQuery(const QString &sql)
{
    return m_dataBase ? m_dataBase->prepareQuery(sql) : false;
}

bool CDatabaseInterface::execPrepared()
{
    return m_dataBase ? m_dataBase->execPrepared() : false;
}

bool CDatabaseInterface::beginTransaction()
{
    return m_dataBase ? m_dataBase->beginTransaction() : false;
}

bool CDatabaseInterface::commitTransaction()
{
    return m_dataBase ? m_dataBase->commitTransaction() : false;
}

bool CDatabaseInterface::rollbackTransaction()
{
    return m_dataBase ? m_dataBase->rollbackTransaction() : false;
}

int CDatabaseInterface::getValuesSize()
{
    return m_dataBase ? m_dataBase->getValuesSize() : 0;
}

QList<QVariantMap> CDatabaseInterface::getValues(int startRow, int count)
{
    return m_dataBase ? m_dataBase->getValues(startRow, count) : QList<QVariantMap>();
}

bool CDatabaseInterface::insertRowTable(const QString &table, const QVariantMap &row)
{
    return m_dataBase ? m_dataBase->insertRowTable(table, row) : false;
}

bool CDatabaseInterface::updateRowTable(const QString &table, const QString &keyName, const QVariantMap &row)
{
    return m_dataBase ? m_dataBase->updateRowTable(table, keyName, row) : false;
}

bool CDatabaseInterface::updateRowTableByTwoKeys(const QString &table, const QString &key1Name,
                                                 const QString &key1Value, const QString &key2Name,
                                                 const QVariantMap &row)
{
    return m_dataBase ? m_dataBase->updateRowTableByTwoKeys(table, key1Name, key1Value, key2Name, row)
                      : false;
}

bool CDatabaseInterface::deleteRowTable(const QString &table, const QString &keyName, const QString &keyValue)
{
    return m_dataBase ? m_dataBase->deleteRowTable(table, keyName, keyValue) : false;
}

bool CDatabaseInterface::selectAllTable(const QString &table, const QString &orderColumn)
{
    return m_dataBase ? m_dataBase->selectAllTable(table, orderColumn) : false;
}

bool CDatabaseInterface::createTable(const QString &table, const QMap<QString, QString> &columns)
{
    return m_dataBase ? m_dataBase->createTable(table, columns) : false;
}

bool CDatabaseInterface::tableExists(const QString &table)
{
    return m_dataBase ? m_dataBase->tableExists(table) : false;
}
