#include "database/mysqldatabase.h"

#include "database/sqlstatement.h"

#include <QDebug>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

namespace {
// The SQLite driver ignores both; kept so that a server driver would get the same account.
constexpr char kAccount[] = "root";
} // namespace

MySqlDataBase::MySqlDataBase(QWidget *parent) : QWidget(parent) {}

bool MySqlDataBase::openDB(const QString &dbName, const QString &dbType)
{
    if (QSqlDatabase::contains(dbName)) {
        m_db = QSqlDatabase::database(dbName, true);
    } else {
        m_db = QSqlDatabase::addDatabase(dbType, dbName);
        m_db.setDatabaseName(dbName);
    }
    m_db.setUserName(QLatin1String(kAccount));
    m_db.setPassword(QLatin1String(kAccount));

    if (!m_db.open()) {
        m_lastError = m_db.lastError().text();
        return false;
    }
    m_query = QSqlQuery(m_db);

    // SQLite opens any file lazily; read the schema now so that a file that is no database fails
    // here instead of at the first save. FULL keeps the last committed report after a power cut.
    if (m_db.driverName() == QLatin1String("QSQLITE")) {
        if (!m_query.exec(QStringLiteral("PRAGMA schema_version"))
            || !m_query.exec(QStringLiteral("PRAGMA synchronous = FULL"))) {
            m_lastError = m_query.lastError().text();
            m_query = QSqlQuery();
            m_db.close();
            return false;
        }
        m_query.finish();
    }
    qDebug() << QSqlDatabase::connectionNames();
    return true;
}

void MySqlDataBase::closeDB()
{
    if (m_db.isOpen())
        m_db.close();
}

QString MySqlDataBase::getLastError() const
{
    return m_lastError;
}

bool MySqlDataBase::runQueryError(bool ok)
{
    if (!ok)
        m_lastError = m_query.lastError().text();
    return ok;
}

bool MySqlDataBase::execQuery(const QString &sql)
{
    return runQueryError(m_query.exec(sql));
}

bool MySqlDataBase::execQuery(const QString &sql, const QVariantList &values)
{
    if (!prepareQuery(sql))
        return false;
    for (const QVariant &value : values)
        m_query.addBindValue(value);
    return execPrepared();
}

bool MySqlDataBase::prepareQuery(const QString &sql)
{
    return runQueryError(m_query.prepare(sql));
}

bool MySqlDataBase::execPrepared()
{
    return runQueryError(m_query.exec());
}

bool MySqlDataBase::beginTransaction()
{
    return execQuery(QStringLiteral("begin transaction"));
}

bool MySqlDataBase::commitTransaction()
{
    return execQuery(QStringLiteral("commit"));
}

bool MySqlDataBase::rollbackTransaction()
{
    return execQuery(QStringLiteral("rollback"));
}

int MySqlDataBase::getValuesSize()
{
    int size = -1;
    while (m_query.isSelect() && m_query.next()) {
        if (m_query.driver() && m_query.driver()->hasFeature(QSqlDriver::QuerySize)) {
            size = m_query.size();
            break;
        }
        m_query.last();
        size = m_query.at() + 1;
    }
    m_query.first();
    return size;
}

QList<QVariantMap> MySqlDataBase::getValues(int startRow, int count)
{
    QList<QVariantMap> rows;
    if (!m_query.isSelect())
        return rows;

    const auto currentRow = [this]() {
        QVariantMap row;
        const QSqlRecord record = m_query.record();
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), record.value(i));
        return row;
    };

    if (startRow < 0 || !m_query.seek(startRow)) {
        m_lastError = QStringLiteral("gevalues error![The number of pages is out of the limit]");
        // Off the rows, the record holds every column name with a null value; callers
        // recognise an empty result by this one row.
        rows.append(currentRow());
        return rows;
    }
    do {
        rows.append(currentRow());
        if (--count == 0)
            break;
    } while (m_query.next());
    return rows;
}

bool MySqlDataBase::checkIdentifiers(const QStringList &names)
{
    for (const QString &name : names) {
        if (!SqlStatement::isIdentifier(name)) {
            m_lastError = QStringLiteral("Invalid name <%1>").arg(name);
            return false;
        }
    }
    return true;
}

bool MySqlDataBase::insertRowTable(const QString &table, const QVariantMap &row)
{
    if (!tableExists(table)) {
        m_lastError = QStringLiteral("Not find %1 table").arg(table);
        return false;
    }
    const QMap<QString, QString> columns = getColumnTypes(table);
    if (columns.isEmpty())
        return false;
    if (!checkIdentifiers(columns.keys()))
        return false;
    if (!prepareQuery(SqlStatement::insert(table, columns.keys())))
        return false;
    for (auto it = columns.constBegin(); it != columns.constEnd(); ++it)
        m_query.addBindValue(row.value(it.key()));
    return execPrepared();
}

bool MySqlDataBase::updateRowTable(const QString &table, const QString &keyName, const QVariantMap &row)
{
    if (!checkIdentifiers(QStringList{table, keyName} + row.keys()))
        return false;
    const SqlStatement::Bound bound = SqlStatement::update(table, keyName, row);
    return execQuery(bound.sql, bound.values);
}

bool MySqlDataBase::updateRowTableByTwoKeys(const QString &table, const QString &key1Name,
                                            const QString &key1Value, const QString &key2Name,
                                            const QVariantMap &row)
{
    if (!checkIdentifiers(QStringList{table, key1Name, key2Name} + row.keys()))
        return false;
    const SqlStatement::Bound bound =
        SqlStatement::updateByTwoKeys(table, key1Name, key1Value, key2Name, row);
    return execQuery(bound.sql, bound.values);
}

bool MySqlDataBase::deleteRowTable(const QString &table, const QString &keyName, const QString &keyValue)
{
    if (!checkIdentifiers({table, keyName}))
        return false;
    const SqlStatement::Bound bound = SqlStatement::remove(table, keyName, keyValue);
    return execQuery(bound.sql, bound.values);
}

bool MySqlDataBase::selectAllTable(const QString &table, const QString &orderColumn)
{
    if (!checkIdentifiers({table}))
        return false;
    const SqlStatement::Bound bound = SqlStatement::selectAll(table, orderColumn);
    return execQuery(bound.sql, bound.values);
}

bool MySqlDataBase::createTable(const QString &table, const QMap<QString, QString> &columns)
{
    if (tableExists(table)) {
        m_lastError = QStringLiteral("Exist table<%1>").arg(table);
        return false;
    }
    if (!checkIdentifiers(QStringList{table} + columns.keys()))
        return false;
    return execQuery(SqlStatement::create(table, columns));
}

bool MySqlDataBase::tableExists(const QString &table)
{
    return m_db.tables(QSql::Tables).contains(table, Qt::CaseSensitive);
}

QMap<QString, QString> MySqlDataBase::getColumnTypes(const QString &table)
{
    QMap<QString, QString> columns;
    if (!checkIdentifiers({table}))
        return columns;
    if (!prepareQuery(SqlStatement::tableInfo(table)) || !execPrepared())
        return columns;
    while (m_query.next())
        columns.insert(m_query.value(1).toString(), m_query.value(2).toString());
    return columns;
}
