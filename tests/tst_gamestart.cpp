#include "common/gamepeer.h"
#include "common/processgone.h"
#include "common/shellsetup.h"
#include "common/xvfbserver.h"
#include "game/gamecontrol.h"
#include "platform/gamecommandlines.h"
#include "shell/cmainwindow.h"
#include "shell/gamestarter.h"
#include "shell/mainwindowpagecontrol.h"
#include "shell/titlewidget.h"
#include "training/gamedisplaypage.h"
#include "game/gamelink.h"
#include "training/protectgamestart.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <QX11Info>
#include <QtTest>

#include <xcb/xcb.h>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;
using Datagrams = QList<QByteArray>;
Q_DECLARE_METATYPE(Lines)

namespace {

// The window's parent, or 0 when it is gone.
xcb_window_t parentOf(xcb_window_t window)
{
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(QX11Info::connection(), xcb_query_tree(QX11Info::connection(), window), nullptr);
    const xcb_window_t parent = tree ? tree->parent : 0;
    std::free(tree);
    return parent;
}

QStringList xcbErrors;

void noteXcbErrors(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("XCB error")))
        xcbErrors << message;
    qt_message_output(type, context, message);
}

QByteArray fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QMessageBox *shownBox()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(window); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// Counts the times a widget is shown.
class ShowCounter : public QObject
{
public:
    explicit ShowCounter(QWidget *widget) { widget->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        shows += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};

} // namespace

// Starting a game from page 1 through the main window: the interpreter's lines, programs that
// start, fail or never report running (offscreen, where no window is embedded), and the demo game
// found and embedded under an X server of the test's own.
class TestGameStart : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    QList<qint64> m_started;

    static void request(E_PAGENAME page) { MainWindowPageControl::getInstance()->setCurrentPage(page); }
    static int currentPage() { return MainWindowPageControl::getInstance()->getCurrentPage(); }
    static QTimer *timer(CMainWindow &window, const char *name) { return window.findChild<QTimer *>(QLatin1String(name)); }

    // Puts one game into the catalogue under number 1 and makes it the current game.
    static void catalogue(const QString &path, const QString &name)
    {
        QFile file(QStringLiteral("DependFile/ConfigFile/gameListConfig.xml"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QStringLiteral("<GameList><Game ID=\"1\" path=\"%1\" gameName=\"%2\"/></GameList>")
                       .arg(path.toHtmlEscaped(), name.toHtmlEscaped()).toUtf8());
        file.close();
        GameControl::getInstance()->readGameList();
        GameControl::getInstance()->setCurrentGameID(1);
    }

    // A shell script that notes its process id beside itself, then runs body.
    QString script(const QString &folder, const QByteArray &body, bool executable = true) const
    {
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/game.sh");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        file.write("#!/bin/sh\necho $$ > '" + m_dir->filePath(QStringLiteral("game.pid")).toUtf8() + "'\n" + body + '\n');
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return path;
    }

    qint64 startedPid() const { return fileText(m_dir->filePath(QStringLiteral("game.pid"))).trimmed().toLongLong(); }


    // Runs one test function of this program in a copy of it under an Xvfb of its own; skips
    // only when no X server can be started here.
    void runUnderXvfb(const QString &function)
    {
        const XvfbServer xvfb;
        if (xvfb.display().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no X server could be started: ") + xvfb.errorString()));

        QProcess copy;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), xvfb.display());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        copy.setProcessEnvironment(environment);
        copy.setProcessChannelMode(QProcess::MergedChannels);
        copy.start(QCoreApplication::applicationFilePath(), {function});
        const bool finished = copy.waitForFinished(120000);
        const QString output = QString::fromLocal8Bit(copy.readAll());
        if (!finished)
            copy.kill();
        // The copy ran its rows, and none of them failed or skipped.
        const bool passed = finished && copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0
                            && output.contains(QRegularExpression(QStringLiteral("Totals: \\d+ passed, 0 failed, 0 skipped")));
        if (!passed)
            qWarning().noquote() << output;
        QVERIFY(passed);
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        Q_INIT_RESOURCE(resources);
        QVERIFY(prepareMainWindow(m_dir));
    }

    void cleanup()
    {
        for (qint64 pid : qAsConst(m_started)) {
            if (!processGone(pid))
                ::kill(pid_t(pid), SIGKILL);
        }
        m_started.clear();
        QFile::remove(m_dir->filePath(QStringLiteral("game.pid")));
    }

    void commandLines_data()
    {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<Lines>("lines");
        // Catches a line in the wrong order, without its colon, or with the wrong ending.
        QTest::newRow("race") << QByteArray("D:/games/race/race.exe")
                              << Lines{"D:\n\r", "cd D:/games/race\n\r", "start race.exe\n\r", "exit\n\r"};
        // Catches the folder cut at the first slash instead of the last.
        QTest::newRow("deep Latin-1 folder") << QByteArray("E:/a/b\xe9/g.exe")
                                             << Lines{"E:\n\r", "cd E:/a/b\xe9\n\r", "start g.exe\n\r", "exit\n\r"};
        // Catches an interpreter started for a catalogue entry without a program.
        QTest::newRow("no program") << QByteArray() << Lines{};
    }

    void commandLines()
    {
        QFETCH(QByteArray, program);
        QFETCH(Lines, lines);
        QCOMPARE(platform::gameCommandLines(program.toStdString()), lines);
    }

    void startOutcome_data()
    {
        QTest::addColumn<QString>("program"); // "sleeps", "exits", "plain file", "missing", "" (none)
        QTest::addColumn<bool>("relative");   // catalogue path relative to the application folder
        QTest::addColumn<Datagrams>("fromGame");
        QTest::addColumn<bool>("fes");
        QTest::addColumn<bool>("atOnce");     // refused at the start, before any waiting
        QTest::addColumn<int>("giveUpMs");    // shortened where the give-up is what is tested
        QTest::addColumn<bool>("fails");
        const QByteArray running = R"({"MsgID":"3"})";
        // Catches the search left running for ever and the therapist stranded on page 1.
        QTest::newRow("never reports running") << "sleeps" << false << Datagrams{} << false << false << 500 << true;
        // Catches the wrong mode page after a cycling-with-FES start.
        QTest::newRow("never reports, FES") << "sleeps" << false << Datagrams{} << true << false << 500 << true;
        // Catches a number taken for the running report.
        QTest::newRow("3 as a number") << "sleeps" << false << Datagrams{R"({"MsgID":3})"} << false << false << 500 << true;
        // Catches the give-up firing on a game that did report running.
        QTest::newRow("reports running") << "sleeps" << false << Datagrams{running} << false << false << 500 << false;
        // Catches a catalogue path resolved from the working folder instead of the installation.
        QTest::newRow("relative path") << "sleeps" << true << Datagrams{running} << true << false << 500 << false;
        // Catches 30 s of waiting for a game that has already ended.
        QTest::newRow("exits at once") << "exits" << false << Datagrams{} << false << false << 30000 << true;
        // Catches a start that cannot work reported only after the wait.
        QTest::newRow("path does not exist") << "missing" << false << Datagrams{} << true << true << 30000 << true;
        QTest::newRow("not executable") << "plain file" << false << Datagrams{} << false << true << 30000 << true;
        QTest::newRow("no program in the catalogue") << "" << false << Datagrams{} << false << true << 30000 << true;
    }

    void startOutcome()
    {
        QFETCH(QString, program);
        QFETCH(bool, relative);
        QFETCH(Datagrams, fromGame);
        QFETCH(bool, fes);
        QFETCH(bool, atOnce);
        QFETCH(int, giveUpMs);
        QFETCH(bool, fails);
        const QString appFolder = QCoreApplication::applicationDirPath();
        const QString folder = relative ? appFolder + QStringLiteral("/DependFile/Game") : m_dir->filePath(QStringLiteral("game"));
        QDir(folder).removeRecursively();
        auto cleanFolder = qScopeGuard([&] { QDir(appFolder + QStringLiteral("/DependFile")).removeRecursively(); });
        if (program == QLatin1String("sleeps"))
            QVERIFY(!script(folder, "exec sleep 30").isEmpty());
        else if (program == QLatin1String("exits"))
            QVERIFY(!script(folder, "exit 0").isEmpty());
        else if (program == QLatin1String("plain file"))
            QVERIFY(!script(folder, "exit 0", false).isEmpty());
        if (program.isEmpty())
            catalogue(QString(), QString());
        else
            catalogue(relative ? QStringLiteral("./DependFile/Game/") : folder + QLatin1Char('/'), QStringLiteral("game.sh"));

        GamePeer game;
        QVERIFY(game.isBound());
        CMainWindow window;
        window.show();
        QTimer *giveUp = timer(window, GameStarter::kGiveUpTimerName);
        QCOMPARE(giveUp->interval(), 30000);
        giveUp->setInterval(giveUpMs);
        ProtectGameStart loading(&window);
        loading.show();
        request(fes ? FesBicycleModePage_E : BicycleModePage_E);
        ShowCounter modePageShows(window.findChild<QWidget *>(QStringLiteral("FESCar_Page")));
        request(TrainingPage_E);
        QCOMPARE(giveUp->isActive(), !atOnce);
        for (const QByteArray &datagram : fromGame)
            game.send(datagram);

        const int modePage = fes ? FesBicycleModePage_E : BicycleModePage_E;
        if (fails) {
            QTRY_VERIFY_WITH_TIMEOUT(shownBox(), 3000);
            QCOMPARE(shownBox()->text(), QStringLiteral("游戏未能启动，请重试"));
            QVERIFY(!loading.isVisible());
            QCOMPARE(currentPage(), modePage);
            // A mode page shown again is ready for another start.
            QCOMPARE(modePageShows.shows, 1);
            QVERIFY(!window.trainingPage()->isVisible());
            QVERIFY(!timer(window, GameStarter::kSearchTimerName)->isActive());
            QVERIFY(!giveUp->isActive());
            shownBox()->close();
            // Catches a game that reports running after all bringing the training page back.
            game.send(R"({"MsgID":"3"})");
            QTRY_VERIFY(game.gameStates().contains(0));
            QVERIFY(!window.trainingPage()->isVisible());
            QCOMPARE(currentPage(), modePage);
        } else {
            // Offscreen nothing is embedded: the game keeps its own window and the link works on.
            QTRY_VERIFY(window.trainingPage()->isVisible());
            QVERIFY(!giveUp->isActive());
            QTest::qWait(giveUp->interval() + 300);
            QVERIFY(!shownBox());
            QVERIFY(!window.gameStarter()->container());
            QCOMPARE(currentPage(), int(TrainingPage_E));
            game.send(R"({"MsgID":"4"})");
            QTRY_COMPARE(currentPage(), int(MainPage_E));
            QVERIFY(!window.trainingPage()->isVisible());
        }
        const qint64 pid = startedPid();
        QCOMPARE(pid != 0, program == QLatin1String("sleeps") || program == QLatin1String("exits"));
        if (pid != 0)
            m_started << pid;
        // A game given up is ended, so that it never comes up over the mode page later.
        if (fails && pid != 0)
            QTRY_VERIFY(processGone(pid));
        window.trainingPage()->hide();
    }

    // Catches a game that dies after reporting running: the close would repeat for ever and the
    // training page stay up with no game behind it.
    void gameThatDiesIsEnded()
    {
        const QString folder = m_dir->filePath(QStringLiteral("dies"));
        QVERIFY(!script(folder, "exec sleep 30").isEmpty());
        catalogue(folder + QLatin1Char('/'), QStringLiteral("game.sh"));
        GamePeer game;
        CMainWindow window;
        window.show();
        request(BicycleModePage_E);
        request(TrainingPage_E);
        game.send(R"({"MsgID":"3"})");
        QTRY_VERIFY(window.trainingPage()->isVisible());
        QTRY_VERIFY(startedPid() != 0);
        m_started << startedPid();
        ::kill(pid_t(startedPid()), SIGKILL);
        QTRY_COMPARE(currentPage(), int(MainPage_E));
        QVERIFY(!window.trainingPage()->isVisible());
        QVERIFY(!shownBox());
    }

    // Under an X server the demo game is started as a real process, found by class and title
    // among the top-level windows and embedded; the offscreen run hands this test to a copy of
    // itself under an Xvfb of its own.
    void demoGameUnderX11_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("reports"); // the game reports running
        QTest::addColumn<QString>("end");  // "close": the training closes the game; "quit": the shell goes
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            QTest::newRow("under an X server of its own") << QString() << false << QString();
            return;
        }
        // Catches a window not found, not embedded, fed no data, or not given back at the end.
        QTest::newRow("found, embedded, closed") << "GM01_Alpha" << true << "close";
        // Catches the game's window destroyed with the shell's windows.
        QTest::newRow("shell quits, the game keeps its window") << "GM01_Alpha" << true << "quit";
        // Catches a window taken by its class alone.
        QTest::newRow("right class, wrong title") << "GM02_Bravo" << false << "";
    }

    void demoGameUnderX11()
    {
        QFETCH(QString, title);
        QFETCH(bool, reports);
        QFETCH(QString, end);
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            runUnderXvfb(QStringLiteral("demoGameUnderX11"));
            return;
        }
        xcbErrors.clear();
        const QtMessageHandler previous = qInstallMessageHandler(noteXcbErrors);
        auto restore = qScopeGuard([previous] { qInstallMessageHandler(previous); });
        const QString log = m_dir->filePath(QStringLiteral("game.log"));
        const QString folder = m_dir->filePath(QStringLiteral("demo"));
        QDir(folder).removeRecursively();
        // The demo game takes its title from the name it is started under.
        QVERIFY(QDir().mkpath(folder));
        const QString named = folder + QLatin1Char('/') + title;
        QVERIFY(QFile::link(QStringLiteral(DEMO_GAME), named));
        QVERIFY(!script(folder, "exec '" + named.toUtf8() + "' --size 320x200 --verbose" + (reports ? "" : " --host-silent")
                                    + " > '" + log.toUtf8() + "' 2>&1").isEmpty());
        catalogue(folder + QLatin1Char('/'), QStringLiteral("game.sh"));

        auto window = std::make_unique<CMainWindow>();
        window->show();
        QTimer *giveUp = timer(*window, GameStarter::kGiveUpTimerName);
        request(BicycleModePage_E);
        request(TrainingPage_E);
        QTRY_VERIFY(startedPid() != 0);
        const qint64 pid = startedPid();
        m_started << pid;
        GameStarter *starter = window->gameStarter();
        QDialog *host = window->gameHostWindow();
        if (!reports) {
            // The game shows its window; several searches later it is still not taken.
            QTRY_VERIFY_WITH_TIMEOUT(fileText(log).contains("class \"UnityWndClass\" title \"GM02_Bravo\""), 10000);
            QTest::qWait(4 * GameStarter::kSearchIntervalMs);
            QVERIFY(!starter->container());
            QVERIFY(timer(*window, GameStarter::kSearchTimerName)->isActive());
            giveUp->setInterval(1);
            QTRY_VERIFY(shownBox());
            QCOMPARE(currentPage(), int(BicycleModePage_E));
            QTRY_VERIFY(processGone(pid));
            shownBox()->close();
            QVERIFY(xcbErrors.isEmpty());
            return;
        }

        QTRY_VERIFY_WITH_TIMEOUT(starter->container(), 8000);
        const auto game = xcb_window_t(starter->embeddedWindow());
        // The container puts the game's window straight into the host's native window.
        QCOMPARE(parentOf(game), xcb_window_t(host->winId()));
        QVERIFY(host->isVisible());
        QCOMPARE(host->geometry(), GameStarter::kGameArea);
        QVERIFY(!timer(*window, GameStarter::kSearchTimerName)->isActive());
        QTRY_VERIFY(window->trainingPage()->isVisible());
        QVERIFY(!giveUp->isActive());

        window->trainingPage()->slotSimulateData();
        QTRY_VERIFY(fileText(log).contains("speed 10.0"));

        if (end == QLatin1String("close")) {
            window->trainingPage()->findChild<GameLink *>()->sendGameClose();
            QTRY_VERIFY(processGone(pid));
            QTRY_COMPARE(currentPage(), int(MainPage_E));
            QVERIFY(!window->trainingPage()->isVisible());
            QVERIFY(!host->isVisible());
            QVERIFY(!starter->container());
        } else {
            window.reset();
            QCoreApplication::processEvents();
            // Given back to the desktop, still shown, its game still running.
            QCOMPARE(parentOf(game), xcb_window_t(QX11Info::appRootWindow()));
            QCOMPARE(platform::makeGameWindowFinder()->find(GameStarter::kWindowClass, "GM01_Alpha"),
                     platform::GameWindowFinder::NativeWindow(game));
            QVERIFY(!processGone(pid));
        }
        QVERIFY2(xcbErrors.isEmpty(), qPrintable(xcbErrors.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestGameStart)
#include "tst_gamestart.moc"
