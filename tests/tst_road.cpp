#include "common/drivenprogram.h"
#include "common/processgone.h"
#include "common/ptypair.h"
#include "common/simprocess.h"
#include "common/testworkdir.h"
#include "common/udptrainer.h"
#include "common/xvfbserver.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>

namespace {

QByteArray fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool runCmake(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral(CMAKE_COMMAND), arguments) == 0;
}

// The rows of a table in the SQLite file; -1 when they cannot be counted.
int rowCount(const QString &databaseFile, const QString &table)
{
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("road"));
        db.setDatabaseName(databaseFile);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("select count(*) from ") + table) && query.next())
                rows = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("road"));
    return rows;
}

} // namespace

// The road of one training on real processes under an X server of the test's own: the program
// with its driver in a staged run folder, the simulated trainer on loopback UDP, the demo game
// from the catalogue, started, embedded and ended by the program.
class TestRoad : public QObject
{
    Q_OBJECT

private:
    // The trainer's motor state right now, asked with its status command.
    static QString motorStatus(SimProcess &trainer)
    {
        const int before = trainer.countLines(QStringLiteral("status:"));
        trainer.type(QStringLiteral("status"));
        if (!QTest::qWaitFor([&] { return trainer.countLines(QStringLiteral("status:")) > before; }, 3000))
            return QString();
        return trainer.lines().filter(QStringLiteral("status:")).constLast();
    }

private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // Catches any break on the road: a game window not found or not embedded under the title
    // bar, a training page under the game, no live data to the trainer's peer or the game, a stop
    // that leaves the motor turning, a report not stored, a shell that does not come back, and a
    // game left running.
    void wholeTraining_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("stop, report, save") << false;
        // Catches a program that ends during a training (SIGTERM) leaving the motor turning until
        // the machine's own watchdog stops it, and the game running.
        QTest::newRow("quit during the training") << true;
    }

    void wholeTraining()
    {
        QFETCH(bool, quit);
        const XvfbServer xvfb;
        if (xvfb.display().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no X server could be started: ") + xvfb.errorString()));

        TestWorkDir run;
        QVERIFY(run.isValid());
        QVERIFY(runCmake({QStringLiteral("-DSOURCE=" ROTAFLEX_SOURCE_DIR "/DependFile"),
                          QStringLiteral("-DDESTINATION=") + run.filePath(QStringLiteral("DependFile")), QStringLiteral("-P"),
                          QStringLiteral(STAGE_SCRIPT)}));
        QVERIFY(runCmake({QStringLiteral("-DFOLDER=") + run.filePath(QStringLiteral("DependFile/Game")),
                          QStringLiteral("-DTARGET=" DEMO_GAME), QStringLiteral("-P"), QStringLiteral(LINK_GAME_NAMES)}));
        const QString program = run.filePath(QStringLiteral("rotaflex-driven"));
        QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_DRIVEN), program));

        SimProcess trainer(QStringLiteral(TRAINER_SIM));
        QVERIFY2(startUdpTrainer(trainer, run, {QStringLiteral("--verbose")}), qPrintable(trainer.output()));
        // A port for the stimulation adapter, as run.sh gives one: without it the FES manager
        // asks for one in a box at start-up.
        const PtyPair adapter;
        QVERIFY(adapter.isValid());
        const QString config = run.filePath(QStringLiteral("DependFile/ConfigFile/config.xml"));
        QVERIFY(run.write(QStringLiteral("DependFile/ConfigFile/config.xml"),
                          fileText(config).replace("</config>", "<serialPortA portName=\"" + adapter.slavePath().toUtf8()
                                                                    + "\" baud=\"115200\" dataBits=\"8\" parity=\"0\" stopBit=\"1\" flowControl=\"0\"/></config>")));

        const QString gameLog = run.filePath(QStringLiteral("game.log"));
        // The game's process as it notes it in its log; 0 before it has started.
        const auto gamePid = [&gameLog] {
            return QRegularExpression(QStringLiteral("^pid (\\d+)$"), QRegularExpression::MultilineOption)
                .match(QString::fromUtf8(fileText(gameLog)))
                .captured(1)
                .toLongLong();
        };
        QProcess driven;
        // Nothing is left running, whatever fails: the program, then the game it started.
        auto cleanup = qScopeGuard([&] {
            if (driven.state() != QProcess::NotRunning) {
                driven.kill();
                driven.waitForFinished(3000);
            }
            if (const qint64 pid = gamePid(); pid != 0 && !processGone(pid))
                ::kill(pid_t(pid), SIGKILL);
        });
        QProcessEnvironment env;
        env.insert(QStringLiteral("DISPLAY"), xvfb.display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("ROTAFLEX_DEMO_GAME_LOG"), gameLog);
        startDriven(driven, program, run.path(),
                    quit ? QStringLiteral("login,cycling,start,train") : QStringLiteral("login,cycling,start,train,stop,save,main,shutdown"),
                    env);
        QVERIFY(driven.waitForStarted(10000));

        QByteArray output;
        const auto sawLine = [&](const char *text, int timeoutMs) {
            return QTest::qWaitFor([&] {
                output += driven.readAll();
                return output.contains(text) || driven.state() == QProcess::NotRunning;
            }, timeoutMs) && output.contains(text);
        };
        QVERIFY2(sawLine("driver: start on the training page", 20000), output.constData());
        if (quit) {
            QVERIFY2(sawLine("driver: after the live data", 10000), output.constData());
            driven.terminate();
            QVERIFY2(driven.waitForFinished(5000), output.constData());
        } else {
            QVERIFY2(sawLine("driver: report", 10000), output.constData());
        }
        // Asked at once: the trainer's own watchdog would stop the motor only 3 s after the
        // heartbeats stop (after the quit, or while the program still runs).
        const QString status = motorStatus(trainer);
        QVERIFY2(status.contains(QStringLiteral("state=stopped")) && status.contains(QStringLiteral(" upper=0 lower=0 ")),
                 qPrintable(trainer.output()));
        QVERIFY2(!trainer.hasLine(QStringLiteral("watchdog:")), qPrintable(trainer.output()));

        QVERIFY2(driven.state() == QProcess::NotRunning || driven.waitForFinished(20000), output.constData());
        output += driven.readAll();
        // What the driver saw and did, and the game start, for the one who reads a failure.
        for (const QByteArray &line : output.split('\n')) {
            if (line.startsWith("driver: ") || line.startsWith("game ") || line.startsWith("starting game"))
                qInfo().noquote() << QString::fromUtf8(line);
        }
        QCOMPARE(driven.exitStatus(), QProcess::NormalExit);
        QCOMPARE(driven.exitCode(), 0);
        if (quit) {
            QVERIFY2(output.contains("program ending during a training: motor and stimulation stopped"), output.constData());
            QTRY_VERIFY_WITH_TIMEOUT(gamePid() != 0 && processGone(gamePid()), 3000);
            return;
        }

        // Found by class and title, embedded under the title bar, the training page over it, and
        // the game seen between the page's panels (where no compositor blends translucent
        // windows, the page's see-through middle must not paint black over it).
        QVERIFY2(output.contains("game window embedded: ") && output.contains("class \"UnityWndClass\" title \"GM01_Alpha\""),
                 output.constData());
        QVERIFY2(QString::fromUtf8(output).contains(QRegularExpression(QStringLiteral(
                     "driver: after the live data: training page at [^;]+; page 1; "
                     "game window embedded, host at 0,100 1920x980; training page above the game host; "
                     "black between the panels \\d%\n"))),
                 output.constData());
        // The trainer got the start and streamed its live data; the game was moved by it.
        QVERIFY2(trainer.hasLine(QStringLiteral("rx start limb=0 mode=10 speed=10 resistance=5")), qPrintable(trainer.output()));
        QVERIFY2(trainer.countLines(QStringLiteral("tx live")) >= 20, qPrintable(trainer.output()));
        const QString game = QString::fromUtf8(fileText(gameLog));
        QVERIFY2(game.contains(QStringLiteral("\nstarted\n")), qPrintable(game));
        QVERIFY2(game.contains(QRegularExpression(QStringLiteral("\nspeed [1-9]"))), qPrintable(game));
        QVERIFY2(game.contains(QStringLiteral("\nsent 4\n")), qPrintable(game));

        QVERIFY2(output.contains("driver: notice \"报告保存成功\" closed"), output.constData());
        const QString database = run.filePath(QStringLiteral("DependFile/DBFile/Rotaflex.db"));
        for (const char *table : {"TrainReportTable", "TrainRecordTable", "TrainParamTable"})
            QCOMPARE(rowCount(database, QLatin1String(table)), 1);
        QVERIFY2(output.contains("driver: function choice page shown; page 0"), output.constData());

        const qint64 pid = gamePid();
        QVERIFY(pid != 0);
        QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), 3000);
    }
};

QTEST_MAIN(TestRoad)
#include "tst_road.moc"
