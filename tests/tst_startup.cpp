#include "common/testworkdir.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>
#include <sys/types.h>

// The program itself, started as a real process from a prepared working folder: exit codes,
// the single-instance guard, and the start-up steps that leave traces in the log and database.
class TestStartup : public QObject
{
    Q_OBJECT

private:
    QString m_tmp; // private TMPDIR: the instance marker of these runs lives here

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TMPDIR"), m_tmp);
        env.insert(QStringLiteral("ROTAFLEX_UNATTENDED"), QStringLiteral("1"));
        env.remove(QStringLiteral("QT_IM_MODULE"));
        return env;
    }

    void start(QProcess &process, const TestWorkDir &dir) const
    {
        process.setProcessEnvironment(environment());
        process.setWorkingDirectory(dir.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(ROTAFLEX_EXECUTABLE), QStringList());
        QVERIFY(process.waitForStarted(10000));
    }

    static QString log(const TestWorkDir &dir)
    {
        QFile file(dir.filePath(QStringLiteral("DependFile/log/rotaflex.log")));
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromUtf8(file.readAll());
    }

    // The marker file holds the pid of the copy that owns it.
    bool ownsMarker(const QProcess &process) const
    {
        QFile marker(m_tmp + QStringLiteral("/rotaflex-main_Window.lock"));
        return marker.open(QIODevice::ReadOnly)
            && marker.readAll().trimmed() == QByteArray::number(process.processId());
    }

    static void prepareFiles(TestWorkDir &dir)
    {
        QVERIFY(dir.copyFromRepo(QStringLiteral("ConfigFile/config.xml")));
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

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        QVERIFY(QFile::exists(QStringLiteral(ROTAFLEX_EXECUTABLE)));
    }

    void init()
    {
        static int run = 0;
        m_tmp = QDir::tempPath() + QStringLiteral("/rotaflex-startup-%1-%2").arg(QCoreApplication::applicationPid()).arg(++run);
        QDir().mkpath(m_tmp);
    }

    void cleanup() { QDir(m_tmp).removeRecursively(); }

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
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("DependFile/DBFile/Rotaflex.db"))));
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

    // A live copy refuses a second one with exit code 0; after a kill, the next start succeeds.
    void secondLiveCopyIsRefusedAndKilledCopyDoesNotLockOut()
    {
        TestWorkDir dir;
        prepareFiles(dir);
        QProcess first;
        start(first, dir);
        QTRY_VERIFY_WITH_TIMEOUT(ownsMarker(first), 15000);

        QProcess second;
        start(second, dir);
        QVERIFY(second.waitForFinished(15000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(log(dir).contains(QStringLiteral("unattended: closing \"Warning\"")), qPrintable(log(dir)));
        QCOMPARE(first.state(), QProcess::Running);
        QVERIFY(ownsMarker(first));

        // A crash leaves the marker file behind; it must not count as a running copy.
        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(QFile::exists(m_tmp + QStringLiteral("/rotaflex-main_Window.lock")));

        QProcess third;
        start(third, dir);
        QTRY_VERIFY_WITH_TIMEOUT(ownsMarker(third), 15000);
        QCOMPARE(third.state(), QProcess::Running);

        // A termination request ends the event loop in order, which releases the marker.
        third.terminate();
        QVERIFY(third.waitForFinished(10000));
        QCOMPARE(third.exitStatus(), QProcess::NormalExit);
        QCOMPARE(third.exitCode(), 0);
        QVERIFY(log(dir).contains(QStringLiteral("signal 15: quitting")));
        QFile marker(m_tmp + QStringLiteral("/rotaflex-main_Window.lock"));
        QVERIFY(marker.open(QIODevice::ReadOnly));
        QVERIFY(marker.readAll().isEmpty());
    }

    // A new database file gets its five tables; a database that cannot be used is logged and
    // start-up carries on; a missing style sheet shows its box and start-up carries on too.
    void freshDatabaseGetsItsTables()
    {
        TestWorkDir dir;
        prepareFiles(dir);
        QProcess process;
        start(process, dir);
        QTRY_VERIFY_WITH_TIMEOUT(ownsMarker(process), 15000);
        stop(process);

        const QString path = dir.filePath(QStringLiteral("DependFile/DBFile/Rotaflex.db"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QStringList tables = db.tables();
            tables.sort();
            QCOMPARE(tables, (QStringList{QStringLiteral("BLEDeviceMsg"), QStringLiteral("PatientTable"),
                                          QStringLiteral("TrainParamTable"), QStringLiteral("TrainRecordTable"),
                                          QStringLiteral("TrainReportTable")}));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
    }

    // An existing database is never altered, even one without the tables.
    void existingDatabaseIsNotAltered()
    {
        TestWorkDir dir;
        prepareFiles(dir);
        const QString path = dir.filePath(QStringLiteral("DependFile/DBFile/Rotaflex.db"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("create table PatientTable (ID INTEGER, name TEXT)")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("seed"));

        QProcess process;
        start(process, dir);
        QTRY_VERIFY_WITH_TIMEOUT(ownsMarker(process), 15000);
        stop(process);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check2"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QCOMPARE(db.tables(), QStringList{QStringLiteral("PatientTable")});
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("check2"));
    }

    void unusableDatabaseIsLoggedAndStartContinues()
    {
        TestWorkDir dir;
        prepareFiles(dir);
        dir.write(QStringLiteral("DependFile/DBFile/Rotaflex.db"), QByteArray(4096, 'x'));
        QProcess process;
        start(process, dir);
        QTRY_VERIFY_WITH_TIMEOUT(ownsMarker(process), 15000);
        QVERIFY(log(dir).contains(QStringLiteral("Rotaflex.db open failed!")));
        stop(process);
        QFile file(dir.filePath(QStringLiteral("DependFile/DBFile/Rotaflex.db")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(4096, 'x')); // the file is left as it was
    }

    void missingStyleSheetAsksAndContinues()
    {
        TestWorkDir dir;
        prepareFiles(dir);
        QFile::remove(dir.filePath(QStringLiteral("DependFile/QSS/app.txt")));
        QProcess process;
        start(process, dir);
        QTRY_VERIFY_WITH_TIMEOUT(ownsMarker(process), 15000);
        QVERIFY(log(dir).contains(QStringLiteral("unattended: closing \"warning\"")));
        QCOMPARE(process.state(), QProcess::Running);
        stop(process);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
