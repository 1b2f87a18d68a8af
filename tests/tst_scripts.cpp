#include "common/testworkdir.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The build's staging step and run.sh, each run on scratch folders only: the real build/run
// and the repository's DependFile are never touched.
class TestScripts : public QObject
{
    Q_OBJECT

private:
    static bool write(const QString &path, const QByteArray &bytes, int secondsAgo = 0)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()
            || !file.flush())
            return false;
        return file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo),
                                QFileDevice::FileModificationTime);
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static bool stage(const QString &source, const QString &destination)
    {
        return QProcess::execute(QStringLiteral(CMAKE_COMMAND),
                                 {QStringLiteral("-DSOURCE=") + source, QStringLiteral("-DDESTINATION=") + destination,
                                  QStringLiteral("-P"), QStringLiteral(STAGE_SCRIPT)})
            == 0;
    }

    // run.sh copied into a scratch tree whose setup and build steps only note that they ran.
    static bool prepareScratchRepository(const QString &root)
    {
        const QByteArray stub = "#!/usr/bin/env bash\necho \"$(basename \"$0\")\" >> \"$(dirname \"$0\")/../calls\"\nexit 3\n";
        return QFile::copy(QStringLiteral(ROTAFLEX_SOURCE_DIR "/run.sh"), root + QStringLiteral("/run.sh"))
            && write(root + QStringLiteral("/scripts/setup.sh"), stub)
            && write(root + QStringLiteral("/scripts/build.sh"), stub);
    }

    // The FIFO's inode number, 0 when the path is no FIFO.
    static ino_t fifoInode(const QString &path)
    {
        struct stat st = {};
        if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISFIFO(st.st_mode))
            return 0;
        return st.st_ino;
    }

    static void runScript(const QString &root, QProcess &process)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":99")); // never start Xvfb
        env.remove(QStringLiteral("ROTAFLEX_SIMULATE_POWER_OFF")); // run.sh must set it itself
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(root);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral("bash"), {root + QStringLiteral("/run.sh")});
    }

private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // Catches a staging step that copies the source tree over the run folder: the database, ini
    // files and logs written there, and a config.xml edited there, must survive a build, also
    // when a run from the repository root left a database, ini file and log in the source tree.
    void stagingKeepsRunTimeData()
    {
        TestWorkDir dir;
        const QString source = dir.filePath(QStringLiteral("repo/DependFile"));
        const QString run = dir.filePath(QStringLiteral("run/DependFile"));
        QVERIFY(write(source + QStringLiteral("/ConfigFile/config.xml"), "shipped config", 60));
        QVERIFY(write(source + QStringLiteral("/QSS/app.txt"), "new style", 60));
        QVERIFY(write(source + QStringLiteral("/ConfigFile/gameListConfig.xml"), "shipped games", 60));
        QVERIFY(write(source + QStringLiteral("/Image/Game/gm01.png"), "picture"));
        QVERIFY(write(source + QStringLiteral("/DBFile/Rotaflex.db"), "repository database"));
        QVERIFY(write(source + QStringLiteral("/DBFile/Rotaflex.db-journal"), "repository journal"));
        QVERIFY(write(source + QStringLiteral("/conf/IDconf.ini"), "repository ini"));
        QVERIFY(write(source + QStringLiteral("/log/rotaflex.log"), "repository log"));

        QVERIFY(write(run + QStringLiteral("/DBFile/Rotaflex.db"), "patients", 3600));
        QVERIFY(write(run + QStringLiteral("/conf/IDconf.ini"), "operator", 3600));
        QVERIFY(write(run + QStringLiteral("/log/rotaflex.log"), "yesterday", 3600));
        QVERIFY(write(run + QStringLiteral("/ConfigFile/config.xml"), "edited by run.sh", 30));
        QVERIFY(write(run + QStringLiteral("/QSS/app.txt"), "old style", 3600));
        // Catches a newer shipped catalogue replacing the one a site keeps its own games in.
        QVERIFY(write(run + QStringLiteral("/ConfigFile/gameListConfig.xml"), "site games", 3600));

        QVERIFY(stage(source, run));
        QCOMPARE(read(run + QStringLiteral("/DBFile/Rotaflex.db")), QByteArray("patients"));
        QVERIFY(!QFile::exists(run + QStringLiteral("/DBFile/Rotaflex.db-journal")));
        QCOMPARE(read(run + QStringLiteral("/conf/IDconf.ini")), QByteArray("operator"));
        QCOMPARE(read(run + QStringLiteral("/log/rotaflex.log")), QByteArray("yesterday"));
        QCOMPARE(read(run + QStringLiteral("/ConfigFile/config.xml")), QByteArray("edited by run.sh"));
        QCOMPARE(read(run + QStringLiteral("/QSS/app.txt")), QByteArray("new style"));
        QCOMPARE(read(run + QStringLiteral("/Image/Game/gm01.png")), QByteArray("picture"));
        QCOMPARE(read(run + QStringLiteral("/ConfigFile/gameListConfig.xml")), QByteArray("site games"));

        // A newer shipped config.xml replaces the edited one.
        QVERIFY(write(source + QStringLiteral("/ConfigFile/config.xml"), "shipped config 2"));
        QVERIFY(stage(source, run));
        QCOMPARE(read(run + QStringLiteral("/ConfigFile/config.xml")), QByteArray("shipped config 2"));
        QCOMPARE(read(run + QStringLiteral("/DBFile/Rotaflex.db")), QByteArray("patients"));

        // A first staging makes the folders the program writes into, and nothing in them.
        const QString fresh = dir.filePath(QStringLiteral("fresh/DependFile"));
        QVERIFY(stage(source, fresh));
        QCOMPARE(read(fresh + QStringLiteral("/ConfigFile/gameListConfig.xml")), QByteArray("shipped games"));
        for (const char *folder : {"DBFile", "conf", "log"})
            QVERIFY(QDir(fresh + QLatin1Char('/') + QLatin1String(folder)).isEmpty());
    }

    // Catches a second run.sh that replaces the running one's FIFOs, pty link and logs: it must
    // say so and end before it touches anything, while a lock left by an ended run lets it go on.
    void runShRunsOnceAtATime()
    {
        TestWorkDir dir;
        const QString root = dir.filePath(QStringLiteral("repo"));
        const QString run = root + QStringLiteral("/build/run");
        QVERIFY(QDir().mkpath(run));
        QVERIFY(prepareScratchRepository(root));
        QVERIFY(::mkfifo(QFile::encodeName(run + QStringLiteral("/trainer-sim.in")).constData(), 0600) == 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), run + QStringLiteral("/fes-adapter.pty")));
        QVERIFY(write(run + QStringLiteral("/trainer-sim.log"), "first run"));
        const ino_t fifo = fifoInode(run + QStringLiteral("/trainer-sim.in"));
        QVERIFY(fifo != 0);

        const int lock = ::open(QFile::encodeName(run + QStringLiteral("/.run.lock")).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        QVERIFY(lock >= 0);
        QVERIFY(::flock(lock, LOCK_EX | LOCK_NB) == 0);
        QProcess second;
        runScript(root, second);
        QVERIFY(second.waitForFinished(30000));
        const QString output = QString::fromUtf8(second.readAll());
        QVERIFY(second.exitCode() != 0);
        QVERIFY2(output.contains(QStringLiteral("run.sh: already running")), qPrintable(output));
        QVERIFY(!QFile::exists(root + QStringLiteral("/calls")));
        QCOMPARE(fifoInode(run + QStringLiteral("/trainer-sim.in")), fifo);
        QCOMPARE(QFileInfo(run + QStringLiteral("/fes-adapter.pty")).symLinkTarget(), QStringLiteral("/dev/null"));
        QCOMPARE(read(run + QStringLiteral("/trainer-sim.log")), QByteArray("first run"));

        ::close(lock); // the first run ended; its lock file stays behind
        QProcess next;
        runScript(root, next);
        QVERIFY(next.waitForFinished(30000));
        QCOMPARE(read(root + QStringLiteral("/calls")), QByteArray("setup.sh\n"));
    }

    // Catches a run.sh whose program could switch this computer off from the login: it starts
    // the program with the power-off simulated, and says how to log in.
    void runShStartsTheProgramWithThePowerOffSimulated()
    {
        TestWorkDir dir;
        const QString root = dir.filePath(QStringLiteral("repo"));
        const QString run = root + QStringLiteral("/build/run");
        const auto tool = [](const QString &path, const QByteArray &body) {
            return write(path, "#!/bin/sh\n" + body + "\n") && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        };
        QVERIFY(tool(root + QStringLiteral("/scripts/setup.sh"), "exit 0"));
        QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_SOURCE_DIR "/run.sh"), root + QStringLiteral("/run.sh")));
        QVERIFY(tool(root + QStringLiteral("/scripts/build.sh"), "exit 0"));
        QVERIFY(write(run + QStringLiteral("/DependFile/ConfigFile/config.xml"), "<serialPortA portName=\"x\"/>"));
        QVERIFY(tool(run + QStringLiteral("/rotaflex-dbseed"), "exit 0"));
        QVERIFY(tool(run + QStringLiteral("/rotaflex-trainer-sim"), "exec cat >/dev/null"));
        QVERIFY(tool(run + QStringLiteral("/rotaflex-fes-sim"), "exit 1"));
        QVERIFY(tool(run + QStringLiteral("/rotaflex"), "echo \"power-off ${ROTAFLEX_SIMULATE_POWER_OFF:-real}\" > program.env"));
        QProcess script;
        runScript(root, script);
        QVERIFY(script.waitForFinished(30000));
        const QString output = QString::fromUtf8(script.readAll());
        QVERIFY2(script.exitCode() == 0, qPrintable(output));
        QCOMPARE(read(run + QStringLiteral("/program.env")), QByteArray("power-off 1\n"));
        QVERIFY2(output.contains(QStringLiteral("user zenk, password 482915")), qPrintable(output));
    }
};

QTEST_MAIN(TestScripts)
#include "tst_scripts.moc"
