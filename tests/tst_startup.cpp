#include "common/testworkdir.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

// The program itself, started as a real process from a prepared working folder: exit codes,
// the single-instance guard, and the start-up steps that leave traces in the log and database.
class TestStartup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramCopy> m_program;
    QTemporaryDir m_tmpRoot; // the TMPDIR values of these runs
    int m_tmpCount = 0;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ROTAFLEX_UNATTENDED"), QStringLiteral("1"));
        env.remove(QStringLiteral("QT_IM_MODULE"));
        return env;
    }

    // Every copy gets a TMPDIR of its own: the guard must not depend on it.
    void start(QProcess &process, const TestWorkDir &dir, const QStringList &asUser = {})
    {
        QProcessEnvironment env = environment();
        const QString tmp = m_tmpRoot.filePath(QString::number(++m_tmpCount));
        QDir().mkpath(tmp);
        env.insert(QStringLiteral("TMPDIR"), tmp);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        if (asUser.isEmpty())
            process.start(m_program->path(), QStringList());
        else
            process.start(QStringLiteral("setpriv"), asUser + QStringList{m_program->path()});
        QVERIFY(process.waitForStarted(10000));
    }

    static QString readText(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromUtf8(file.readAll());
    }

    static QString log(const TestWorkDir &dir)
    {
        return readText(dir.filePath(QStringLiteral("DependFile/log/rotaflex.log")));
    }

    // The guard is an abstract socket name; this test's network namespace shows it when bound.
    static bool guardHeld()
    {
        return readText(QStringLiteral("/proc/net/unix")).contains(QStringLiteral("@rotaflex-main_Window"));
    }

    static void prepareFiles(TestWorkDir &dir)
    {
        QVERIFY(dir.copyFromRepo(QStringLiteral("ConfigFile/config.xml")));
        // The program opens serialPortA at quit to switch the FES boxes off: keep it off real ports.
        const QString config = dir.filePath(QStringLiteral("DependFile/ConfigFile/config.xml"));
        QString xml = readText(config);
        xml.replace(QRegularExpression(QStringLiteral("(<serialPortA[^>]*portName=\")[^\"]*")),
                    QStringLiteral("\\1") + dir.filePath(QStringLiteral("no-fes-adapter")));
        QVERIFY(dir.write(QStringLiteral("DependFile/ConfigFile/config.xml"), xml.toUtf8()));
        QVERIFY(dir.copyFromRepo(QStringLiteral("ConfigFile/gameListConfig.xml")));
        QVERIFY(dir.copyFromRepo(QStringLiteral("QSS/app.txt")));
    }

    static void stop(QProcess &process)
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    static QString dbPath(const TestWorkDir &dir)
    {
        return dir.filePath(QStringLiteral("DependFile/DBFile/Rotaflex.db"));
    }

    static void execAll(const QString &path, const QStringList &statements)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prepare"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            for (const QString &sql : statements)
                QVERIFY2(QSqlQuery(db).exec(sql), qPrintable(sql));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("prepare"));
    }

    // "name:column,column" for every table, sorted.
    static QStringList schema(const QString &path)
    {
        QStringList tables;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
            db.setDatabaseName(path);
            if (db.open()) {
                QSqlQuery query(db);
                query.exec(QStringLiteral("select name from sqlite_master where type = 'table' order by name"));
                while (query.next())
                    tables << query.value(0).toString();
                for (QString &table : tables) {
                    QSqlQuery info(db);
                    info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
                    QStringList columns;
                    while (info.next())
                        columns << info.value(1).toString();
                    table += QLatin1Char(':') + columns.join(QLatin1Char(','));
                }
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
        return tables;
    }

    // A first start killed while it created the tables: the file holds pages of the unfinished
    // transaction and a hot journal beside it, which the next open rolls back to an empty file.
    static void leaveKilledFirstStart(const TestWorkDir &dir)
    {
        QTemporaryDir scratch;
        const QString path = scratch.filePath(QStringLiteral("Rotaflex.db"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("killed"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("PRAGMA cache_size = 1"))); // spill pages before commit
            QVERIFY(db.transaction());
            QVERIFY(query.exec(QStringLiteral("create table PatientTable (ID INTEGER PRIMARY KEY, name TEXT)")));
            QVERIFY(query.exec(QStringLiteral("create table Filler (x TEXT)")));
            for (int i = 0; i < 100; ++i)
                QVERIFY(query.exec(QStringLiteral("insert into Filler values (printf('%.1000c', 'x'))")));
            QVERIFY(QFile::exists(path + QStringLiteral("-journal")));
            QVERIFY(QFileInfo(path).size() > 0);
            QFile::remove(dbPath(dir));
            QVERIFY(QFile::copy(path, dbPath(dir)));
            QVERIFY(QFile::copy(path + QStringLiteral("-journal"), dbPath(dir) + QStringLiteral("-journal")));
            db.rollback();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("killed"));
    }

    enum DatabaseStart { NewFile, KilledFirstStart, SomeTablesMissing };

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        // A copy of its own: the program keeps its language file beside itself.
        m_program = std::make_unique<ProgramCopy>(QStringLiteral(ROTAFLEX_EXECUTABLE));
        QVERIFY(m_program->isValid());
        QVERIFY(m_tmpRoot.isValid());
    }

    void cleanupTestCase() { m_program.reset(); }

    // No configuration: exit code -1, after the database was already opened.
    void missingConfigurationEndsWithMinusOne()
    {
        TestWorkDir dir;
        QProcess process;
        start(process, dir);
        QVERIFY(process.waitForFinished(15000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 255); // -1 as the process exit status
        const QString text = log(dir);
        QVERIFY2(text.contains(QStringLiteral("配置文件打开失败")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("配置文件读取失败")));
        QVERIFY(!text.contains(QStringLiteral("unattended: closing"))); // no box at all
        QVERIFY(QFile::exists(dbPath(dir)));
    }

    void malformedConfigurationEndsWithMinusOne()
    {
        TestWorkDir dir;
        dir.write(QStringLiteral("DependFile/ConfigFile/config.xml"), "<config><communicateType type=\"1\">");
        QProcess process;
        start(process, dir);
        QVERIFY(process.waitForFinished(15000));
        QCOMPARE(process.exitCode(), 255);
        QVERIFY(log(dir).contains(QStringLiteral("错误信息：")));
    }

    void secondCopyIsRefusedWhereverAndWhoeverStartsIt_data()
    {
        QTest::addColumn<bool>("sameFolder");
        QTest::addColumn<bool>("otherUser");
        // Catches a guard kept under TMPDIR: another TMPDIR found no running copy.
        QTest::newRow("same folder, other TMPDIR") << true << false;
        // Catches a guard tied to the working folder.
        QTest::newRow("other folder, other TMPDIR") << false << false;
        // Catches a guard that another user cannot reach, and so ignores.
        QTest::newRow("other user") << false << true;
    }

    // The refused copy ends with exit code 0, logs the refusal only to its own output, and
    // leaves the running copy's log as it was: not written, not rotated.
    void secondCopyIsRefusedWhereverAndWhoeverStartsIt()
    {
        QFETCH(bool, sameFolder);
        QFETCH(bool, otherUser);
        if (otherUser && ::geteuid() != 0)
            QSKIP("starting a copy as another user needs root");

        TestWorkDir dir;
        prepareFiles(dir);
        QProcess first;
        start(first, dir);
        QTRY_VERIFY_WITH_TIMEOUT(guardHeld(), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(log(dir).contains(QStringLiteral("Rotaflex.db")), 15000);
        const QString firstLog = log(dir);

        TestWorkDir otherDir;
        prepareFiles(otherDir);
        const TestWorkDir &secondDir = sameFolder ? dir : otherDir;
        QStringList asUser;
        if (otherUser) {
            // nobody may read the program and its files, and write nothing anywhere here.
            for (const QString &path : {m_program->folder(), otherDir.path()})
                QVERIFY(QProcess::execute(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("a+rX"), path}) == 0);
            asUser = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                 QStringLiteral("--clear-groups")};
        }
        QProcess second;
        start(second, secondDir, asUser);
        QVERIFY(second.waitForFinished(15000));
        const QString output = QString::fromUtf8(second.readAll());
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QVERIFY2(second.exitCode() == 0, qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("another copy is running")), qPrintable(output));
        QVERIFY(output.contains(QStringLiteral("unattended: closing \"Warning\"")));

        QCOMPARE(first.state(), QProcess::Running);
        const QString after = log(dir);
        QVERIFY2(after.startsWith(firstLog), "the running copy's log was replaced or rotated");
        QVERIFY(!after.contains(QStringLiteral("another copy is running")));
        QVERIFY(!after.contains(QStringLiteral("unattended: closing")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("DependFile/log/rotaflex.1.log"))));
        QVERIFY(!QFile::exists(otherDir.filePath(QStringLiteral("DependFile/log/rotaflex.log"))));
        stop(first);
    }

    // A killed copy never locks the next start out; a termination request ends in order and
    // frees the guard.
    void killedCopyDoesNotLockOut()
    {
        TestWorkDir dir;
        prepareFiles(dir);
        QProcess first;
        start(first, dir);
        QTRY_VERIFY_WITH_TIMEOUT(guardHeld(), 15000);
        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(5000));

        QProcess next;
        start(next, dir);
        QTRY_VERIFY_WITH_TIMEOUT(guardHeld(), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(log(dir).contains(QStringLiteral("Rotaflex.db")), 15000);
        QCOMPARE(next.state(), QProcess::Running);
        next.terminate();
        QVERIFY(next.waitForFinished(10000));
        QCOMPARE(next.exitStatus(), QProcess::NormalExit);
        QCOMPARE(next.exitCode(), 0);
        QVERIFY(log(dir).contains(QStringLiteral("signal 15: quitting")));
        QVERIFY(!guardHeld());
    }

    void databaseGetsTheTablesItLacks_data()
    {
        QTest::addColumn<int>("startFrom");
        QTest::newRow("new file") << int(NewFile);
        // Catches tables decided from the file size: the rolled-back file was left without any.
        QTest::newRow("killed first start") << int(KilledFirstStart);
        QTest::newRow("some tables missing") << int(SomeTablesMissing);
    }

    // Whatever tables are missing after the open are made; a table already there stays as it is.
    void databaseGetsTheTablesItLacks()
    {
        QFETCH(int, startFrom);
        TestWorkDir dir;
        prepareFiles(dir);
        QString patientTable = QStringLiteral(
            "PatientTable:ID,age,birthday,bodyIndex,markMsg,name,phone,sex");
        if (startFrom == KilledFirstStart)
            leaveKilledFirstStart(dir);
        if (startFrom == SomeTablesMissing) {
            execAll(dbPath(dir), {QStringLiteral("create table PatientTable (ID INTEGER, name TEXT)")});
            patientTable = QStringLiteral("PatientTable:ID,name");
        }

        QProcess process;
        start(process, dir);
        QTRY_VERIFY_WITH_TIMEOUT(log(dir).contains(QStringLiteral("Rotaflex.db")), 15000);
        QCOMPARE(process.state(), QProcess::Running);
        stop(process);

        const QStringList tables = schema(dbPath(dir));
        QCOMPARE(tables.size(), 5);
        QCOMPARE(tables.at(0), QStringLiteral("BLEDeviceMsg:deviceMac,deviceNo"));
        QCOMPARE(tables.at(1), patientTable);
        QVERIFY(tables.at(2).startsWith(QStringLiteral("TrainParamTable:ID,")));
        QVERIFY(tables.at(3).startsWith(QStringLiteral("TrainRecordTable:")));
        QVERIFY(tables.at(4).startsWith(QStringLiteral("TrainReportTable:")));
    }

    // Catches a start-up that goes on without tables: the box names the failure and the
    // program ends with -1.
    void failedTableCreationShowsTheBoxAndEnds()
    {
        TestWorkDir dir;
        prepareFiles(dir);
        // An index holding a table's name: SQLite refuses to create that table.
        execAll(dbPath(dir), {QStringLiteral("create table Other (ID INTEGER)"),
                              QStringLiteral("create index TrainParamTable on Other(ID)")});
        QProcess process;
        start(process, dir);
        QVERIFY(process.waitForFinished(15000));
        QCOMPARE(process.exitCode(), 255);
        const QString text = log(dir);
        QVERIFY2(text.contains(QStringLiteral("unattended: closing \"警告\"")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("already an index named TrainParamTable")));
    }

    // A database that cannot be used is logged and start-up carries on, the file left as it was.
    void unusableDatabaseIsLoggedAndStartContinues()
    {
        TestWorkDir dir;
        prepareFiles(dir);
        dir.write(QStringLiteral("DependFile/DBFile/Rotaflex.db"), QByteArray(4096, 'x'));
        QProcess process;
        start(process, dir);
        QTRY_VERIFY_WITH_TIMEOUT(log(dir).contains(QStringLiteral("Rotaflex.db open failed!")), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(guardHeld(), 15000);
        QCOMPARE(process.state(), QProcess::Running);
        stop(process);
        QFile file(dbPath(dir));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(4096, 'x'));
    }

    void missingStyleSheetAsksAndContinues()
    {
        TestWorkDir dir;
        prepareFiles(dir);
        QFile::remove(dir.filePath(QStringLiteral("DependFile/QSS/app.txt")));
        QProcess process;
        start(process, dir);
        QTRY_VERIFY_WITH_TIMEOUT(log(dir).contains(QStringLiteral("unattended: closing \"warning\"")), 15000);
        QCOMPARE(process.state(), QProcess::Running);
        stop(process);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
