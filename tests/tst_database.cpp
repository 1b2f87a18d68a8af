#include "common/testworkdir.h"

#include "database/bledevice.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "database/mysqldatabase.h"
#include "database/patientmsg.h"
#include "database/trainparam.h"
#include "database/trainrecord.h"
#include "database/trainreport.h"

#include <QtTest>

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QString kDriver = QStringLiteral("QSQLITE");

QString dbPath(const TestWorkDir &dir)
{
    return dir.filePath(QStringLiteral("DependFile/DBFile/Rotaflex.db"));
}

QMap<QString, QString> numberedColumns()
{
    return {{QStringLiteral("n"), QStringLiteral("INTEGER")},
            {QStringLiteral("label"), QStringLiteral("TEXT")}};
}

QVariantMap numbered(int n, const QString &label)
{
    return {{QStringLiteral("n"), n}, {QStringLiteral("label"), label}};
}

// Opens a new file holding the table "Numbered" with one row per number, labelled by it.
bool openNumbered(MySqlDataBase &db, const TestWorkDir &dir, const QList<int> &numbers)
{
    if (!db.openDB(dbPath(dir), kDriver) || !db.createTable(QStringLiteral("Numbered"), numberedColumns()))
        return false;
    for (int n : numbers) {
        if (!db.insertRowTable(QStringLiteral("Numbered"), numbered(n, QString::number(n))))
            return false;
    }
    return true;
}

// Opens a new file holding one table of the real layout.
bool openWithTable(MySqlDataBase &db, const TestWorkDir &dir, const QString &table)
{
    return db.openDB(dbPath(dir), kDriver) && db.createTable(table, DatabaseSchema::columns(table));
}

// Runs a select the way every page does (execute, count, fetch); empty when nothing matched.
template<typename Db>
QList<QVariantMap> readRows(Db &db, const QString &sql, const QVariantList &values = {})
{
    if (!db.execQuery(sql, values))
        return {};
    const int n = db.getValuesSize();
    return n < 1 ? QList<QVariantMap>() : db.getValues(0, n);
}

QList<int> column(const QList<QVariantMap> &rows, const QString &name)
{
    QList<int> values;
    for (const QVariantMap &row : rows)
        values << row.value(name).toInt();
    return values;
}

QStringList textColumn(const QList<QVariantMap> &rows, const QString &name)
{
    QStringList values;
    for (const QVariantMap &row : rows)
        values << row.value(name).toString();
    return values;
}

QVariantMap patientRow(uint id, const QString &name, const QString &remark)
{
    ST_PatientMsg p;
    p.ID = id;
    p.name = name;
    p.markMsg = remark;
    return PatientToVariantMap(p);
}

// Escapes a search text for "like ? escape '\'" so that % and _ match only themselves.
QString likePattern(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('%'), QLatin1String("\\%"));
    text.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + text + QLatin1Char('%');
}

enum Operation { Insert, Update, UpdateTwoKeys, Delete, SelectAll, Create };

} // namespace

class tst_Database : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    // Reading results
    void selectWithNoRowsCountsMinusOne();
    void fetchingAnEmptyResultGivesOneRowOfNullColumns();
    void nonSelectStatementCountsMinusOne();
    void fetchTakesTheRequestedNumberOfRows_data();
    void fetchTakesTheRequestedNumberOfRows();
    void countingLeavesTheCursorOnTheFirstRow();

    // Writing rows
    void insertFindsColumnsInAnyDeclaredOrder_data();
    void insertFindsColumnsInAnyDeclaredOrder();
    void insertStoresNullForMissingColumnsAndIgnoresExtraKeys();
    void insertIntoUnknownTableFails_data();
    void insertIntoUnknownTableFails();
    void updateByOneKeySetsTheKeyColumnToo();
    void updateWithoutKeyColumnChangesNothing();
    void updateByTwoKeysKeepsTheStoredUuid();
    void deleteRemovesEveryRowWithTheKey();
    void updateAndDeleteMatchTheSameRows();
    void selectAllTableReturnsEveryRow();
    void createTableOnExistingTableFails();

    // Connections
    void openingTheSameFileTwiceReusesTheConnection();
    void openAsksForFullSynchronousWrites();

    // Values and names in statements
    void awkwardTextsSurviveEveryStatement_data();
    void awkwardTextsSurviveEveryStatement();
    void likeSearchTreatsPercentAndUnderscoreLiterally();
    void nonIdentifierNamesAreRefused_data();
    void nonIdentifierNamesAreRefused();

    // Bad files
    void openFailsInMissingFolder();
    void openFailsOnFileThatIsNoDatabase();
    void insertIntoReadOnlyDatabaseFailsAndKeepsRows();

    // Fresh install
    void missingTablesAreMadeInOneGo();
    void createdTablesHoldExactlyTheRecordColumns();
    void createdIndexesCoverTheLookups();
    void datesReadBackEqual();
    void startTimesSortChronologically();
    void facadeForwardsToTheDatabase();

private:
    std::unique_ptr<TestWorkDir> m_schemaDir;
    CDatabaseInterface *m_facade = nullptr;
};

void tst_Database::initTestCase()
{
    prepareTestEnvironment();
    // The singleton gets the real tables once; the fresh-install tests share that file.
    m_schemaDir = std::make_unique<TestWorkDir>();
    QVERIFY(m_schemaDir->isValid());
    m_facade = CDatabaseInterface::getInstance();
    QVERIFY2(m_facade->openDB(dbPath(*m_schemaDir), kDriver), qPrintable(m_facade->getLastError()));
    QVERIFY2(DatabaseSchema::createTables(m_facade), qPrintable(m_facade->getLastError()));
}

void tst_Database::cleanupTestCase()
{
    if (m_facade)
        m_facade->closeDB();
    m_schemaDir.reset();
}

// ---- Reading results ----------------------------------------------------------------------

// Catches a count of 0 for an empty result, which callers would then fetch from.
void tst_Database::selectWithNoRowsCountsMinusOne()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(openNumbered(db, dir, {}));
    QVERIFY(db.execQuery(QStringLiteral("select * from Numbered")));
    QCOMPARE(db.getValuesSize(), -1);
}

// Catches an empty list or a row without column names, which the patient pages rely on.
void tst_Database::fetchingAnEmptyResultGivesOneRowOfNullColumns()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(openNumbered(db, dir, {}));
    QVERIFY(db.execQuery(QStringLiteral("select * from Numbered where n = ?"), {42}));

    const QList<QVariantMap> rows = db.getValues(0, 5);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().keys(), QStringList({QStringLiteral("label"), QStringLiteral("n")}));
    for (const QVariant &value : rows.first())
        QVERIFY(value.isNull());
    QCOMPARE(db.getLastError(), QStringLiteral("gevalues error![The number of pages is out of the limit]"));
}

// Catches a count taken from the affected rows of an update.
void tst_Database::nonSelectStatementCountsMinusOne()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(openNumbered(db, dir, {1}));
    QVERIFY(db.execQuery(QStringLiteral("update Numbered set label = 'uno'")));
    QCOMPARE(db.getValuesSize(), -1);
    QVERIFY(db.getValues(0, 1).isEmpty());
}

void tst_Database::fetchTakesTheRequestedNumberOfRows_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("one takes the first") << 1 << QList<int>{1};
    QTest::newRow("three") << 3 << QList<int>{1, 2, 3};
    QTest::newRow("zero takes all") << 0 << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("negative takes all") << -1 << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("more than there are") << 10 << QList<int>{1, 2, 3, 4, 5};
}

// Catches an off-by-one in the page size and a count of 0 that returns nothing.
void tst_Database::fetchTakesTheRequestedNumberOfRows()
{
    QFETCH(int, count);
    QFETCH(QList<int>, expected);
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(openNumbered(db, dir, {4, 2, 5, 1, 3}));

    QVERIFY(db.execQuery(QStringLiteral("select * from Numbered order by n")));
    QCOMPARE(column(db.getValues(0, count), QStringLiteral("n")), expected);
}

// Catches a count that leaves the cursor behind the last row, so the fetch finds nothing.
void tst_Database::countingLeavesTheCursorOnTheFirstRow()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(openNumbered(db, dir, {1, 2, 3, 4, 5}));

    QVERIFY(db.execQuery(QStringLiteral("select * from Numbered order by n")));
    QCOMPARE(db.getValuesSize(), 5);
    QCOMPARE(db.getValuesSize(), 5);
    const QList<QVariantMap> rows = db.getValues(0, 5);
    QCOMPARE(column(rows, QStringLiteral("n")), QList<int>({1, 2, 3, 4, 5}));
    QCOMPARE(textColumn(rows, QStringLiteral("label")), QStringList({"1", "2", "3", "4", "5"}));
}

// ---- Writing rows -------------------------------------------------------------------------

void tst_Database::insertFindsColumnsInAnyDeclaredOrder_data()
{
    QTest::addColumn<QString>("createSql");
    QTest::newRow("reverse") << "create table Mixed (zeta TEXT, alpha INTEGER, Mid REAL)";
    QTest::newRow("shuffled") << "create table Mixed (Mid REAL, zeta TEXT, alpha INTEGER)";
    QTest::newRow("sorted") << "create table Mixed (Mid REAL, alpha INTEGER, zeta TEXT)";
}

// Catches column names and bound values listed in different orders, or fixed column lists.
void tst_Database::insertFindsColumnsInAnyDeclaredOrder()
{
    QFETCH(QString, createSql);
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(db.openDB(dbPath(dir), kDriver));
    QVERIFY(db.execQuery(createSql));
    const QVariantMap row{{QStringLiteral("alpha"), 7},
                          {QStringLiteral("Mid"), 2.5},
                          {QStringLiteral("zeta"), QStringLiteral("z")}};
    QVERIFY2(db.insertRowTable(QStringLiteral("Mixed"), row), qPrintable(db.getLastError()));

    const QList<QVariantMap> rows = readRows(db, QStringLiteral("select * from Mixed"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("alpha")).toInt(), 7);
    QCOMPARE(rows.first().value(QStringLiteral("Mid")).toDouble(), 2.5);
    QCOMPARE(rows.first().value(QStringLiteral("zeta")).toString(), QStringLiteral("z"));
}

// Catches an insert that fails on a partial row or tries to store keys that are no column.
void tst_Database::insertStoresNullForMissingColumnsAndIgnoresExtraKeys()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(openWithTable(db, dir, QStringLiteral("PatientTable")));
    const QVariantMap row{{QStringLiteral("ID"), 5},
                          {QStringLiteral("name"), QStringLiteral("Ann")},
                          {QStringLiteral("notAColumn"), QStringLiteral("x")}};
    QVERIFY2(db.insertRowTable(QStringLiteral("PatientTable"), row), qPrintable(db.getLastError()));

    const QList<QVariantMap> rows = readRows(db, QStringLiteral("select * from PatientTable"));
    QCOMPARE(rows.size(), 1);
    const QVariantMap stored = rows.first();
    QVERIFY(!stored.contains(QStringLiteral("notAColumn")));
    QCOMPARE(stored.value(QStringLiteral("name")).toString(), QStringLiteral("Ann"));
    for (const char *missing : {"phone", "sex", "birthday", "bodyIndex", "markMsg", "age"})
        QVERIFY2(stored.value(QLatin1String(missing)).isNull(), missing);
}

void tst_Database::insertIntoUnknownTableFails_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("absent") << "Nowhere";
    QTest::newRow("other case") << "patienttable";
}

// Catches a silent success, and a table lookup that ignores case.
void tst_Database::insertIntoUnknownTableFails()
{
    QFETCH(QString, table);
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(openWithTable(db, dir, QStringLiteral("PatientTable")));
    QVERIFY(!db.insertRowTable(table, patientRow(1, QStringLiteral("Ann"), QString())));
    QCOMPARE(db.getLastError(), QStringLiteral("Not find %1 table").arg(table));
    QVERIFY(readRows(db, QStringLiteral("select * from PatientTable")).isEmpty());
}

// Catches the key column left out of the set list; a trigger on that column sees the update.
void tst_Database::updateByOneKeySetsTheKeyColumnToo()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(openWithTable(db, dir, QStringLiteral("PatientTable")));
    QVERIFY(db.execQuery(QStringLiteral("create table Touched (ID INTEGER)")));
    QVERIFY(db.execQuery(QStringLiteral("create trigger KeySet after update of ID on PatientTable "
                                        "begin insert into Touched values(new.ID); end")));
    QVERIFY(db.insertRowTable(QStringLiteral("PatientTable"), patientRow(7, QStringLiteral("A0"), QString())));
    QVERIFY(db.insertRowTable(QStringLiteral("PatientTable"), patientRow(8, QStringLiteral("B0"), QString())));

    const QVariantMap row{{QStringLiteral("ID"), 7}, {QStringLiteral("name"), QStringLiteral("A1")}};
    QVERIFY2(db.updateRowTable(QStringLiteral("PatientTable"), QStringLiteral("ID"), row),
             qPrintable(db.getLastError()));

    QCOMPARE(column(readRows(db, QStringLiteral("select * from Touched")), QStringLiteral("ID")), QList<int>{7});
    const QList<QVariantMap> rows = readRows(db, QStringLiteral("select * from PatientTable order by ID"));
    QCOMPARE(textColumn(rows, QStringLiteral("name")), QStringList({"A1", "B0"}));
}

// Catches an update that, lacking its key, falls back to every row or to rows with no key.
void tst_Database::updateWithoutKeyColumnChangesNothing()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(db.openDB(dbPath(dir), kDriver));
    QVERIFY(db.execQuery(QStringLiteral("create table Codes (code TEXT, label TEXT)")));
    QVERIFY(db.execQuery(QStringLiteral("insert into Codes values ('a', 'A'), ('b', 'B'), (NULL, 'N')")));

    QVERIFY(db.updateRowTable(QStringLiteral("Codes"), QStringLiteral("code"),
                              {{QStringLiteral("label"), QStringLiteral("changed")}}));
    const QList<QVariantMap> rows = readRows(db, QStringLiteral("select * from Codes order by label"));
    QCOMPARE(textColumn(rows, QStringLiteral("label")), QStringList({"A", "B", "N"}));
}

// Catches a two-key update that overwrites the row identity with the map's new UUID.
void tst_Database::updateByTwoKeysKeepsTheStoredUuid()
{
    TestWorkDir dir;
    MySqlDataBase db;
    const QString table = QStringLiteral("TrainReportTable");
    QVERIFY(openWithTable(db, dir, table));
    ST_TrainReport report;
    report.ID = 7;
    report.name = QStringLiteral("old");
    report.startTimeStr = QStringLiteral("2024-01-01 09:00:00");
    const QVariantMap target = TrainReportToVariantMap(report);
    report.startTimeStr = QStringLiteral("2024-01-01 10:00:00");
    const QVariantMap sameIdOtherTime = TrainReportToVariantMap(report);
    report.ID = 8;
    report.startTimeStr = QStringLiteral("2024-01-01 09:00:00");
    const QVariantMap otherIdSameTime = TrainReportToVariantMap(report);
    for (const QVariantMap &row : {target, sameIdOtherTime, otherIdSameTime})
        QVERIFY(db.insertRowTable(table, row));

    QVariantMap change = target;
    change.insert(QStringLiteral("UUID"), newRowUuid());
    change.insert(QStringLiteral("name"), QStringLiteral("renamed"));
    QVERIFY2(db.updateRowTableByTwoKeys(table, QStringLiteral("ID"), QStringLiteral("7"),
                                        QStringLiteral("startTimeStr"), change),
             qPrintable(db.getLastError()));

    const QList<QVariantMap> rows = readRows(db, QStringLiteral("select * from TrainReportTable order by UUID"));
    QCOMPARE(rows.size(), 3);
    for (const QVariantMap &row : rows) {
        const QString uuid = row.value(QStringLiteral("UUID")).toString();
        const QString expected = uuid == target.value(QStringLiteral("UUID")).toString()
            ? QStringLiteral("renamed")
            : QStringLiteral("old");
        QVERIFY2(uuid != change.value(QStringLiteral("UUID")).toString(), "UUID was overwritten");
        QCOMPARE(row.value(QStringLiteral("name")).toString(), expected);
    }
}

// Catches a delete that stops after the first match or ignores its condition.
void tst_Database::deleteRemovesEveryRowWithTheKey()
{
    TestWorkDir dir;
    MySqlDataBase db;
    const QString table = QStringLiteral("TrainRecordTable");
    QVERIFY(openWithTable(db, dir, table));
    // Two trainings that start in the same second share the key.
    for (const char *start : {"2024-03-01 09:00:00", "2024-03-01 09:00:00", "2024-03-02 09:00:00"}) {
        ST_TrainRecord record;
        record.ID = 1;
        record.startTimeStr = QLatin1String(start);
        QVERIFY(db.insertRowTable(table, TrainRecordToVariantMap(record)));
    }
    QVERIFY(db.deleteRowTable(table, QStringLiteral("startTimeStr"), QStringLiteral("2024-03-01 09:00:00")));
    QVERIFY(db.deleteRowTable(table, QStringLiteral("startTimeStr"), QStringLiteral("1999-01-01 00:00:00")));
    QCOMPARE(textColumn(readRows(db, QStringLiteral("select * from TrainRecordTable")), QStringLiteral("startTimeStr")),
             QStringList{QStringLiteral("2024-03-02 09:00:00")});
}

// Catches a delete that binds its key as text while update binds it as a number: in a column
// without a declared type the two then act on different rows.
void tst_Database::updateAndDeleteMatchTheSameRows()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(db.openDB(dbPath(dir), kDriver));
    QVERIFY(db.execQuery(QStringLiteral("create table Loose (ID, name)")));
    for (const QVariantMap &row : {QVariantMap{{"ID", 123}, {"name", "number"}},
                                   QVariantMap{{"ID", "0123"}, {"name", "text"}}})
        QVERIFY(db.insertRowTable(QStringLiteral("Loose"), row));

    QVERIFY(db.updateRowTable(QStringLiteral("Loose"), QStringLiteral("ID"), {{"ID", 123}, {"name", "changed"}}));
    QVERIFY(db.updateRowTable(QStringLiteral("Loose"), QStringLiteral("ID"), {{"ID", "0123"}, {"name", "kept"}}));
    QCOMPARE(textColumn(readRows(db, QStringLiteral("select * from Loose order by name")), QStringLiteral("name")),
             QStringList({"changed", "kept"}));
    QVERIFY(db.deleteRowTable(QStringLiteral("Loose"), QStringLiteral("ID"), QStringLiteral("123")));
    QCOMPARE(textColumn(readRows(db, QStringLiteral("select * from Loose")), QStringLiteral("name")),
             QStringList{QStringLiteral("kept")});
}

// Catches an order column that breaks the statement or filters rows.
void tst_Database::selectAllTableReturnsEveryRow()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(openNumbered(db, dir, {3, 1, 2}));

    QVERIFY2(db.selectAllTable(QStringLiteral("Numbered"), QStringLiteral("n")), qPrintable(db.getLastError()));
    const int size = db.getValuesSize();
    QCOMPARE(size, 3);
    QList<int> values = column(db.getValues(0, size), QStringLiteral("n"));
    std::sort(values.begin(), values.end());
    QCOMPARE(values, QList<int>({1, 2, 3}));
}

// Catches a second create that succeeds through "if not exists" without telling the caller.
void tst_Database::createTableOnExistingTableFails()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(openNumbered(db, dir, {1}));

    QVERIFY(!db.createTable(QStringLiteral("Numbered"), {{QStringLiteral("other"), QStringLiteral("TEXT")}}));
    QCOMPARE(db.getLastError(), QStringLiteral("Exist table<Numbered>"));
    QCOMPARE(textColumn(readRows(db, QStringLiteral("select * from Numbered")), QStringLiteral("label")),
             QStringList{QStringLiteral("1")});
}

// ---- Connections --------------------------------------------------------------------------

// Catches a second addDatabase under the same name, which drops the first connection.
void tst_Database::openingTheSameFileTwiceReusesTheConnection()
{
    TestWorkDir dir;
    const QString path = dbPath(dir);
    MySqlDataBase first;
    QVERIFY(openNumbered(first, dir, {1}));
    const int connections = QSqlDatabase::connectionNames().size();

    MySqlDataBase second;
    QVERIFY2(second.openDB(path, kDriver), qPrintable(second.getLastError()));
    QCOMPARE(QSqlDatabase::connectionNames().size(), connections);
    QVERIFY(QSqlDatabase::connectionNames().contains(path));
    QCOMPARE(column(readRows(second, QStringLiteral("select * from Numbered")), QStringLiteral("n")), QList<int>{1});
    QCOMPARE(column(readRows(first, QStringLiteral("select * from Numbered")), QStringLiteral("n")), QList<int>{1});
}

// Catches a lost durability setting: a power cut must not lose the last saved report.
// (This SQLite build defaults to FULL already; builds with a lower default would fail here.)
void tst_Database::openAsksForFullSynchronousWrites()
{
    TestWorkDir dir;
    MySqlDataBase db;
    QVERIFY(db.openDB(dbPath(dir), kDriver));
    const QList<QVariantMap> rows = readRows(db, QStringLiteral("PRAGMA synchronous"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("synchronous")).toInt(), 2);
}

// ---- Values and names in statements -------------------------------------------------------

void tst_Database::awkwardTextsSurviveEveryStatement_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien");
    QTest::newRow("doubled apostrophe") << QStringLiteral("it''s");
    QTest::newRow("double quote") << QStringLiteral("say \"hi\"");
    QTest::newRow("percent") << QStringLiteral("100%");
    QTest::newRow("underscore") << QStringLiteral("a_b");
    QTest::newRow("semicolon") << QStringLiteral("a; b");
    QTest::newRow("injection") << QStringLiteral("'); drop table PatientTable; --");
    QTest::newRow("always true") << QStringLiteral("' or '1'='1");
    QTest::newRow("backslashes") << QStringLiteral("C:\\new\\'x'\\");
    QTest::newRow("chinese") << QStringLiteral("张三（备注）：'左侧偏瘫'");
    QTest::newRow("newlines") << QStringLiteral("line one\nline two\r\nthree");
}

// Catches values pasted into statement text: broken statements, changed meaning, altered text.
void tst_Database::awkwardTextsSurviveEveryStatement()
{
    QFETCH(QString, text);
    TestWorkDir dir;
    MySqlDataBase db;
    const QString table = QStringLiteral("PatientTable");
    QVERIFY(openWithTable(db, dir, table));
    QVERIFY(db.insertRowTable(table, patientRow(1, QStringLiteral("neighbour"), QStringLiteral("keep"))));

    QVERIFY2(db.insertRowTable(table, patientRow(2, text, text)), qPrintable(db.getLastError()));
    QList<QVariantMap> rows = readRows(db, QStringLiteral("select * from PatientTable where markMsg = ?"), {text});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("name")).toString(), text);

    // Update keyed by ID with the text in the set list.
    const QString remark = QStringLiteral("remark:") + text;
    QVERIFY2(db.updateRowTable(table, QStringLiteral("ID"), patientRow(2, text, remark)), qPrintable(db.getLastError()));
    rows = readRows(db, QStringLiteral("select * from PatientTable where markMsg = ?"), {remark});
    QCOMPARE(column(rows, QStringLiteral("ID")), QList<int>{2});

    // Update keyed by the text itself.
    const QVariantMap byName{{QStringLiteral("name"), text}, {QStringLiteral("phone"), QStringLiteral("123")}};
    QVERIFY2(db.updateRowTable(table, QStringLiteral("name"), byName), qPrintable(db.getLastError()));
    rows = readRows(db, QStringLiteral("select * from PatientTable where phone = ?"), {QStringLiteral("123")});
    QCOMPARE(column(rows, QStringLiteral("ID")), QList<int>{2});

    rows = readRows(db, QStringLiteral("select * from PatientTable where name like ? escape '\\'"), {likePattern(text)});
    QCOMPARE(column(rows, QStringLiteral("ID")), QList<int>{2});
    QCOMPARE(textColumn(rows, QStringLiteral("name")), QStringList{text});

    QVERIFY2(db.deleteRowTable(table, QStringLiteral("name"), text), qPrintable(db.getLastError()));
    QVERIFY(db.tableExists(table));
    rows = readRows(db, QStringLiteral("select * from PatientTable"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("name")).toString(), QStringLiteral("neighbour"));
    QCOMPARE(rows.first().value(QStringLiteral("markMsg")).toString(), QStringLiteral("keep"));
    QVERIFY(rows.first().value(QStringLiteral("phone")).isNull());
}

// Catches a patient search in which % and _ act as wildcards and find other patients.
void tst_Database::likeSearchTreatsPercentAndUnderscoreLiterally()
{
    TestWorkDir dir;
    MySqlDataBase db;
    const QString table = QStringLiteral("PatientTable");
    QVERIFY(openWithTable(db, dir, table));
    const QStringList names{"100%", "1000", "a_b", "axb", "a\\b"};
    for (int i = 0; i < names.size(); ++i)
        QVERIFY(db.insertRowTable(table, patientRow(uint(i + 1), names.at(i), QString())));

    const QString sql = QStringLiteral("select * from PatientTable where name like ? escape '\\' order by ID");
    QCOMPARE(textColumn(readRows(db, sql, {likePattern("0%")}), QStringLiteral("name")), QStringList{"100%"});
    QCOMPARE(textColumn(readRows(db, sql, {likePattern("a_")}), QStringLiteral("name")), QStringList{"a_b"});
    QCOMPARE(textColumn(readRows(db, sql, {likePattern("a\\")}), QStringLiteral("name")), QStringList{"a\\b"});
    QCOMPARE(textColumn(readRows(db, sql, {likePattern("10")}), QStringLiteral("name")),
             QStringList({"100%", "1000"}));
}

void tst_Database::nonIdentifierNamesAreRefused_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("rowKey");
    // Each bad name would make one valid statement that reaches other rows or tables.
    const QString patients = QStringLiteral("PatientTable");
    const QString allRows = QStringLiteral("1 = 1 or ID");
    QTest::newRow("insert table") << int(Insert) << QStringLiteral("PatientTable; drop table PatientTable") << QString() << QString();
    QTest::newRow("update table") << int(Update) << QStringLiteral("PatientTable set markMsg = 'changed' --") << "ID" << QString();
    QTest::newRow("update key") << int(Update) << patients << allRows << QString();
    QTest::newRow("update row key") << int(Update) << patients << "name" << QStringLiteral("markMsg = 'changed', name");
    QTest::newRow("two-key update first key") << int(UpdateTwoKeys) << patients << allRows << "ID";
    QTest::newRow("two-key update second key") << int(UpdateTwoKeys) << patients << "ID" << allRows;
    QTest::newRow("delete table") << int(Delete) << QStringLiteral("PatientTable; drop table PatientTable") << "ID" << QString();
    QTest::newRow("delete key") << int(Delete) << patients << allRows << QString();
    QTest::newRow("select table") << int(SelectAll) << QStringLiteral("PatientTable; drop table PatientTable") << "ID" << QString();
    QTest::newRow("create table") << int(Create) << QStringLiteral("Other (a TEXT) --") << "x" << QString();
    QTest::newRow("create column") << int(Create) << QStringLiteral("Other") << QStringLiteral("x TEXT, injected") << QString();
}

// Catches table, column or key names pasted unchecked into statement text.
void tst_Database::nonIdentifierNamesAreRefused()
{
    QFETCH(int, operation);
    QFETCH(QString, table);
    QFETCH(QString, key);
    QFETCH(QString, rowKey);
    TestWorkDir dir;
    MySqlDataBase db;
    const QString patients = QStringLiteral("PatientTable");
    QVERIFY(openWithTable(db, dir, patients));
    QVERIFY(db.insertRowTable(patients, patientRow(1, QStringLiteral("x"), QStringLiteral("keep"))));
    QVERIFY(db.insertRowTable(patients, patientRow(2, QStringLiteral("y"), QStringLiteral("keep"))));

    // A legitimate update with this row changes nothing stored.
    QVariantMap row{{QStringLiteral("name"), QStringLiteral("x")}};
    if (!rowKey.isEmpty() && operation == Update)
        row.insert(rowKey, QStringLiteral("x"));
    bool ok = true;
    switch (operation) {
    case Insert: ok = db.insertRowTable(table, row); break;
    case Update: ok = db.updateRowTable(table, key, row); break;
    case UpdateTwoKeys: ok = db.updateRowTableByTwoKeys(table, key, QStringLiteral("1"), rowKey, row); break;
    case Delete: ok = db.deleteRowTable(table, key, QStringLiteral("1")); break;
    case SelectAll: ok = db.selectAllTable(table, key); break;
    case Create: ok = db.createTable(table, {{key, QStringLiteral("TEXT")}}); break;
    }
    QVERIFY(!ok);
    QVERIFY(!db.getLastError().isEmpty());

    QVERIFY(db.tableExists(patients));
    QVERIFY(!db.tableExists(QStringLiteral("Other")));
    const QList<QVariantMap> rows = readRows(db, QStringLiteral("select * from PatientTable order by ID"));
    QCOMPARE(column(rows, QStringLiteral("ID")), QList<int>({1, 2}));
    QCOMPARE(textColumn(rows, QStringLiteral("name")), QStringList({"x", "y"}));
    QCOMPARE(textColumn(rows, QStringLiteral("markMsg")), QStringList({"keep", "keep"}));
}

// ---- Bad files ----------------------------------------------------------------------------

// Catches a success reported for a file that cannot be created.
void tst_Database::openFailsInMissingFolder()
{
    TestWorkDir dir;
    const QString folder = dir.filePath(QStringLiteral("no/such/folder"));
    MySqlDataBase db;
    QVERIFY(!db.openDB(folder + QStringLiteral("/Rotaflex.db"), kDriver));
    QVERIFY(!db.getLastError().isEmpty());
    QVERIFY(!QFileInfo::exists(folder));
}

// Catches the lazy open of SQLite: a garbage file must fail at open, untouched, without a crash.
void tst_Database::openFailsOnFileThatIsNoDatabase()
{
    TestWorkDir dir;
    QByteArray garbage(8192, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 37 + 11) % 251);
    QVERIFY(dir.write(QStringLiteral("DependFile/DBFile/Rotaflex.db"), garbage));

    MySqlDataBase db;
    QVERIFY(!db.openDB(dbPath(dir), kDriver));
    QVERIFY(db.getLastError().contains(QStringLiteral("not a database"), Qt::CaseInsensitive));
    QVERIFY(!db.execQuery(QStringLiteral("select 1")));
    QCOMPARE(db.getValuesSize(), -1);
    QVERIFY(db.getValues(0, 1).isEmpty());
    QVERIFY(!db.insertRowTable(QStringLiteral("PatientTable"), patientRow(1, QStringLiteral("x"), QString())));

    QFile file(dbPath(dir));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), garbage);
}

// Catches an insert that reports success while the file refuses writes.
void tst_Database::insertIntoReadOnlyDatabaseFailsAndKeepsRows()
{
    TestWorkDir dir;
    const QString path = dbPath(dir);
    MySqlDataBase db;
    QVERIFY(openNumbered(db, dir, {1}));
    QVERIFY(db.getLastError().isEmpty());

    {
        QSqlDatabase connection = QSqlDatabase::database(path);
        connection.close();
        connection.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QVERIFY(connection.open());
    }
    // The shared cursor keeps working on the reopened, now read-only, connection.
    QVERIFY(!db.insertRowTable(QStringLiteral("Numbered"), numbered(2, QStringLiteral("two"))));
    QVERIFY(!db.getLastError().isEmpty());
    QVERIFY(!db.deleteRowTable(QStringLiteral("Numbered"), QStringLiteral("n"), QStringLiteral("1")));
    const QList<QVariantMap> rows = readRows(db, QStringLiteral("select * from Numbered"));
    QCOMPARE(column(rows, QStringLiteral("n")), QList<int>{1});
    QCOMPARE(textColumn(rows, QStringLiteral("label")), QStringList{QStringLiteral("1")});
}

// ---- Fresh install ------------------------------------------------------------------------

// Catches missing tables decided from anything but the open file's schema, a creation that
// alters a table that is there, and a failed creation that leaves part of the tables behind.
void tst_Database::missingTablesAreMadeInOneGo()
{
    TestWorkDir dir;
    QVERIFY(m_facade->openDB(dbPath(dir), kDriver));
    bool ok = false;
    QCOMPARE(DatabaseSchema::missingTables(m_facade, &ok), DatabaseSchema::tableNames());
    QVERIFY(ok);

    QVERIFY(m_facade->execQuery(QStringLiteral("create table PatientTable (ID INTEGER)")));
    // An index that holds a table's name: that table cannot be made.
    QVERIFY(m_facade->execQuery(QStringLiteral("create index TrainParamTable on PatientTable(ID)")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^creating the tables failed: ")));
    QVERIFY(!DatabaseSchema::createTables(m_facade));
    QVERIFY(m_facade->getLastError().contains(QStringLiteral("TrainParamTable")));
    QCOMPARE(DatabaseSchema::missingTables(m_facade, &ok).size(), 4);

    QVERIFY(m_facade->execQuery(QStringLiteral("drop index TrainParamTable")));
    QStringList created;
    QVERIFY2(DatabaseSchema::createTables(m_facade, &created), qPrintable(m_facade->getLastError()));
    QCOMPARE(created.size(), 4);
    QVERIFY(DatabaseSchema::missingTables(m_facade, &ok).isEmpty());
    QCOMPARE(textColumn(readRows(*m_facade, QStringLiteral("PRAGMA table_info(PatientTable)")), QStringLiteral("name")),
             QStringList{QStringLiteral("ID")});

    QVERIFY(m_facade->openDB(dbPath(*m_schemaDir), kDriver));
}

// Catches a table column that no record field writes, or a field that has no column.
void tst_Database::createdTablesHoldExactlyTheRecordColumns()
{
    const QMap<QString, QStringList> expected{
        {QStringLiteral("PatientTable"), PatientToVariantMap({}).keys()},
        {QStringLiteral("TrainRecordTable"), TrainRecordToVariantMap({}).keys()},
        {QStringLiteral("TrainReportTable"), TrainReportToVariantMap({}).keys()},
        {QStringLiteral("TrainParamTable"), TrainParamToVariantMap({}).keys()},
        {QStringLiteral("BLEDeviceMsg"), BLEDeviceToVariantMap({}).keys()},
    };
    const QList<QVariantMap> tables =
        readRows(*m_facade, QStringLiteral("select name from sqlite_master where type = 'table' order by name"));
    QCOMPARE(textColumn(tables, QStringLiteral("name")), QStringList(expected.keys()));

    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        QStringList columns =
            textColumn(readRows(*m_facade, QStringLiteral("PRAGMA table_info(%1)").arg(it.key())), QStringLiteral("name"));
        columns.sort();
        QCOMPARE(columns, it.value());
    }
}

// Catches a missing index on the columns that record lists and reports are looked up by.
void tst_Database::createdIndexesCoverTheLookups()
{
    const QList<QVariantMap> indexes = readRows(
        *m_facade,
        QStringLiteral("select name, tbl_name from sqlite_master where type = 'index' and sql is not null"));
    QStringList covered;
    for (const QVariantMap &index : indexes) {
        const QStringList columns = textColumn(
            readRows(*m_facade, QStringLiteral("PRAGMA index_info(%1)").arg(index.value("name").toString())),
            QStringLiteral("name"));
        covered << index.value("tbl_name").toString() + QLatin1Char('(') + columns.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    covered.sort();
    QCOMPARE(covered, QStringList({"TrainParamTable(ID)", "TrainRecordTable(ID,startTime)",
                                   "TrainRecordTable(startTimeStr)", "TrainReportTable(startTimeStr)"}));
}

// Catches a date format that stores but does not read back through toDate/toDateTime.
void tst_Database::datesReadBackEqual()
{
    ST_PatientMsg patient;
    patient.ID = 900001;
    patient.birthday = QDate(1948, 2, 29);
    QVERIFY2(m_facade->insertRowTable(QStringLiteral("PatientTable"), PatientToVariantMap(patient)),
             qPrintable(m_facade->getLastError()));
    QList<QVariantMap> rows =
        readRows(*m_facade, QStringLiteral("select * from PatientTable where ID = ?"), {patient.ID});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("birthday")).toDate(), patient.birthday);

    ST_TrainRecord record;
    record.ID = 900001;
    record.startTime = QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58));
    QVERIFY(m_facade->insertRowTable(QStringLiteral("TrainRecordTable"), TrainRecordToVariantMap(record)));
    rows = readRows(*m_facade, QStringLiteral("select * from TrainRecordTable where ID = ?"), {record.ID});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("startTime")).toDateTime(), record.startTime);
}

// Catches a stored time format that sorts as text in other than time order.
void tst_Database::startTimesSortChronologically()
{
    const QList<QDateTime> inserted{
        QDateTime(QDate(2024, 1, 1), QTime(10, 0)),
        QDateTime(QDate(2023, 12, 31), QTime(23, 0)),
        QDateTime(QDate(2024, 2, 1), QTime(8, 0)),
        QDateTime(QDate(2024, 1, 1), QTime(9, 0)),
    };
    for (const QDateTime &start : inserted) {
        ST_TrainRecord record;
        record.ID = 900002;
        record.startTime = start;
        record.startTimeStr = start.toString(QLatin1String(kStartTimeFormat));
        QVERIFY(m_facade->insertRowTable(QStringLiteral("TrainRecordTable"), TrainRecordToVariantMap(record)));
    }
    const QList<QVariantMap> rows = readRows(
        *m_facade, QStringLiteral("select * from TrainRecordTable where ID = ? order by startTime DESC"), {900002});
    QList<QDateTime> read;
    for (const QVariantMap &row : rows)
        read << row.value(QStringLiteral("startTime")).toDateTime();
    QList<QDateTime> expected = inserted;
    std::sort(expected.begin(), expected.end(), std::greater<QDateTime>());
    QCOMPARE(read, expected);
}

// Catches a facade operation that is not wired to the database object.
void tst_Database::facadeForwardsToTheDatabase()
{
    const QString table = QStringLiteral("FacadeProbe");
    QVERIFY(m_facade->createTable(table, numberedColumns()));
    QVERIFY(m_facade->tableExists(table));
    QVERIFY(m_facade->insertRowTable(table, numbered(1, QStringLiteral("one"))));
    QVERIFY(m_facade->insertRowTable(table, numbered(2, QStringLiteral("two"))));
    QVERIFY(m_facade->updateRowTable(table, QStringLiteral("n"), numbered(2, QStringLiteral("zwei"))));
    QVERIFY(m_facade->deleteRowTable(table, QStringLiteral("n"), QStringLiteral("1")));
    QVERIFY(m_facade->selectAllTable(table, QStringLiteral("n")));
    QCOMPARE(m_facade->getValuesSize(), 1);
    QCOMPARE(textColumn(m_facade->getValues(0, 1), QStringLiteral("label")), QStringList{QStringLiteral("zwei")});

    QVERIFY(!m_facade->insertRowTable(QStringLiteral("Nowhere"), {}));
    QCOMPARE(m_facade->getLastError(), QStringLiteral("Not find Nowhere table"));
    QVERIFY(m_facade->execQuery(QStringLiteral("drop table FacadeProbe")));
}

QTEST_MAIN(tst_Database)
#include "tst_database.moc"
