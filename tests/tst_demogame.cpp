#include "common/simprocess.h"
#include "common/testworkdir.h"
#include "game/gamecontrol.h"
#include "game/gamelink.h"
#include "tools/demo-game/hostmessage.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

namespace {

const QHostAddress kLoopback(QHostAddress::LocalHost);

// A loopback port free at the moment of asking.
quint16 freePort()
{
    QUdpSocket probe;
    return probe.bind(kLoopback, 0) ? probe.localPort() : 0;
}

// The demo game as a real process on test ports, with the test playing the host.
class Game
{
public:
    explicit Game(const QString &program = QStringLiteral(DEMO_GAME)) : m_process(program)
    {
        m_host.bind(kLoopback, 0);
        m_gamePort = freePort();
    }
    // The game reads no console: it is ended by a signal, not by the simulators' quit line.
    ~Game()
    {
        if (process().state() != QProcess::NotRunning) {
            process().terminate();
            process().waitForFinished(2000);
        }
    }
    Game(const Game &) = delete;
    Game &operator=(const Game &) = delete;

    void start(const QStringList &extra = {})
    {
        m_process.start(QStringList{QStringLiteral("--verbose"), QStringLiteral("--port-in"), QString::number(m_gamePort),
                                    QStringLiteral("--port-out"), QString::number(m_host.localPort())}
                            + extra,
                        QDir::currentPath());
    }

    void send(const QByteArray &datagram) { m_host.writeDatagram(datagram, kLoopback, m_gamePort); }

    // The reports the game sent the host so far.
    QList<QByteArray> reports()
    {
        while (m_host.hasPendingDatagrams())
            m_reports << m_host.receiveDatagram().data();
        return m_reports;
    }

    bool waitForLine(const QString &line, int timeoutMs = 5000)
    {
        return QTest::qWaitFor([&] { return m_process.lines().contains(line); }, timeoutMs);
    }

    QStringList lines() const { return m_process.lines(); }
    QProcess &process() { return m_process.process(); }
    quint16 gamePort() const { return m_gamePort; }

private:
    SimProcess m_process;
    QUdpSocket m_host;
    quint16 m_gamePort = 0;
    QList<QByteArray> m_reports;
};

QByteArray liveData(double speed, int angle, double left, double right, const QString &name = QString())
{
    return QJsonDocument(QJsonObject{{QStringLiteral("MsgID"), 1}, {QStringLiteral("userName"), name},
                                     {QStringLiteral("ID"), 0}, {QStringLiteral("speed"), speed},
                                     {QStringLiteral("forceLeft"), left}, {QStringLiteral("forceRight"), right},
                                     {QStringLiteral("steps"), 30}, {QStringLiteral("calories"), 5},
                                     {QStringLiteral("angle"), angle}})
        .toJson(QJsonDocument::Compact);
}

QByteArray gameState(int state)
{
    return "{\"MsgID\":2,\"GameState\":" + QByteArray::number(state) + "}";
}

} // namespace

// The demo game: its reading of the host's messages, and the program as a process that a test
// drives over loopback UDP, as the host would.
class TestDemoGame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void readsHostMessages_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QString>("read"); // what came out, in a short form
        // Catches a field read under the wrong key, or the forces swapped.
        QTest::newRow("live data") << liveData(18.5, 90, 35, 28, QStringLiteral("Li")) << "data 18.5 90 35/28 Li";
        // Catches a crank angle past a turn, or below zero, drawn outside the circle's degrees.
        QTest::newRow("angle past a turn") << liveData(1, 379, 0, 0) << "data 1.0 19 0/0 ";
        QTest::newRow("angle below zero") << liveData(1, -90, 0, 0) << "data 1.0 270 0/0 ";
        // Catches a field of the wrong type taken as 0 instead of keeping the last value.
        QTest::newRow("speed as text is left out") << QByteArray(R"({"MsgID":1,"speed":"fast","angle":5})")
                                                   << "data - 5 -/- -";
        // Catches the game's own string reports taken for the host's numbered messages.
        QTest::newRow("string MsgID") << QByteArray(R"({"MsgID":"2","GameState":0})") << "ignored";
        // Catches an unknown state freezing or ending the game.
        QTest::newRow("unknown state") << gameState(7) << "ignored";
        QTest::newRow("fractional state") << QByteArray(R"({"MsgID":2,"GameState":0.5})") << "ignored";
        // Catches text that is no JSON object read as a message.
        QTest::newRow("not JSON") << QByteArray("{\"MsgID\":2,") << "ignored";
        QTest::newRow("array") << QByteArray("[2,0]") << "ignored";
        // Catches repeated keys reaching Qt's parser, which leaks on them.
        QTest::newRow("repeated key") << QByteArray(R"({"MsgID":2,"GameState":1,"GameState":0})") << "ignored";
        // Catches an oversized datagram being parsed.
        QTest::newRow("too large") << QByteArray(R"({"MsgID":2,"GameState":0,"pad":")") + QByteArray(5000, 'x') + "\"}"
                                   << "ignored";
    }

    void readsHostMessages()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(QString, read);
        const HostMessage::Message message = HostMessage::read(datagram);
        QString got;
        switch (message.kind) {
        case HostMessage::Message::Kind::LiveData: {
            const HostMessage::LiveData &d = message.liveData;
            const auto real = [](const std::optional<double> &v) { return v ? QString::number(*v, 'f', 1) : QStringLiteral("-"); };
            const auto whole = [](const std::optional<double> &v) { return v ? QString::number(*v) : QStringLiteral("-"); };
            got = QStringLiteral("data %1 %2 %3/%4 %5")
                      .arg(real(d.speed), d.angle ? QString::number(*d.angle) : QStringLiteral("-"), whole(d.forceLeft),
                           whole(d.forceRight), d.userName.value_or(QStringLiteral("-")));
            break;
        }
        case HostMessage::Message::Kind::GameState:
            got = QStringLiteral("state %1").arg(message.gameState);
            break;
        case HostMessage::Message::Kind::Ignored:
            QVERIFY(!message.ignoredBecause.isEmpty());
            got = QStringLiteral("ignored");
            break;
        }
        QCOMPARE(got, read);
    }

    // A whole session as the host plays it: the game reports that it runs once its window is
    // up, follows the live data, freezes on pause, resumes, ignores garbage, and answers the
    // close with its end report before it quits.
    void sessionFromStartToClose()
    {
        Game game;
        game.start();
        QTRY_COMPARE(game.reports(), QList<QByteArray>{R"({"MsgID":"3"})"});
        // The report may come in before the line printed ahead of it is read.
        QVERIFY(game.waitForLine(QStringLiteral("window 1920x980 class \"UnityWndClass\" title \"GM01_Alpha\"")));

        // Catches garbage that ends the game or stops it hearing the host.
        game.send("not json");
        game.send(QByteArray("\xff\x00", 2));
        game.send(R"({"MsgID":1,"MsgID":1})");
        game.send(R"({"MsgID":9})");
        game.send(gameState(1));
        QVERIFY(game.waitForLine(QStringLiteral("started")));
        QCOMPARE(game.lines().filter(QStringLiteral("ignored: ")).size(), 4);

        game.send(liveData(12, 90, 35, 21, QStringLiteral("Wang")));
        QVERIFY(game.waitForLine(QStringLiteral("user Wang")));
        for (const char *line : {"speed 12.0", "angle 90", "forces 35.0/21.0"})
            QVERIFY2(game.lines().contains(QLatin1String(line)), line);

        // Catches live data moving a paused scene.
        game.send(gameState(2));
        game.send(liveData(20, 180, 35, 35));
        game.send(gameState(1));
        QVERIFY(game.waitForLine(QStringLiteral("resumed")));
        const QStringList lines = game.lines();
        const QStringList whilePaused = lines.mid(lines.indexOf(QStringLiteral("paused")));
        QVERIFY2(whilePaused.filter(QStringLiteral("speed")).isEmpty(), qPrintable(lines.join(QLatin1Char('\n'))));
        game.send(liveData(20, 180, 35, 35));
        QVERIFY(game.waitForLine(QStringLiteral("speed 20.0")));

        game.send(gameState(0));
        QVERIFY(game.process().waitForFinished(5000));
        QCOMPARE(game.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.process().exitCode(), 0);
        QTRY_COMPARE(game.reports().last(), QByteArray(R"({"MsgID":"4"})"));
        QCOMPARE(game.reports().count(R"({"MsgID":"3"})"), 1);
    }

    // Catches a game maker's page that no longer matches the host: its example peer, taken from
    // the page as it stands, goes through a whole session with the host's own game link.
    void documentedPeerWorksWithTheHost()
    {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty())
            QSKIP("python3 is not installed");
        QFile page(QStringLiteral(ROTAFLEX_SOURCE_DIR "/docs/game-link.md"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray text = page.readAll();
        const int begin = text.indexOf("```python\n");
        QVERIFY(begin >= 0);
        const int end = text.indexOf("```", begin + 10);
        QTemporaryDir folder;
        QFile peer(folder.filePath(QStringLiteral("peer.py")));
        QVERIFY(peer.open(QIODevice::WriteOnly));
        peer.write(text.mid(begin + 10, end - begin - 10));
        peer.close();

        qRegisterMetaType<int8_t>("int8_t");
        GameControl::getInstance()->setCurrentGameID(3);
        GameLink link;
        QVERIFY(link.isBound());
        QSignalSpy states(&link, &GameLink::signalGameStateChanged);
        SimProcess game(python);
        game.start({peer.fileName()}, folder.path());
        QTRY_COMPARE(states.count(), 1);
        QCOMPARE(states.at(0).at(0).value<int8_t>(), int8_t(1));

        ST_GameLiveData record;
        record.speed = 18.0f;
        record.left = 45;
        record.right = 55;
        record.angle = 450;
        link.sendGameStart();
        link.sendGameData(record);
        link.sendGamePause();
        link.sendGameData(record);
        link.sendGameStart();
        link.sendGameClose();
        QVERIFY(game.process().waitForFinished(5000));
        QCOMPARE(game.process().exitCode(), 0);
        QTRY_COMPARE(states.count(), 2);
        QCOMPARE(states.at(1).at(0).value<int8_t>(), int8_t(0));
        QCOMPARE(game.lines(), (QStringList{QStringLiteral("start"), QStringLiteral("speed 18 angle 90 left 31.5 right 38.5"),
                                            QStringLiteral("pause"), QStringLiteral("start"), QStringLiteral("close")}));
    }

    // The title comes from the name the program was started under, so four names of one
    // program are four games.
    void titleFromTheProgramName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("window");
        QTest::newRow("third game") << "GM03_Charlie" << QStringList() << "window 320x200 class \"UnityWndClass\" title \"GM03_Charlie\"";
        // Catches a Windows-style name keeping its suffix in the title.
        QTest::newRow("with a suffix") << "GM04_Delta.exe" << QStringList() << "window 320x200 class \"UnityWndClass\" title \"GM04_Delta\"";
        QTest::newRow("any other name") << "race" << QStringList() << "window 320x200 class \"UnityWndClass\" title \"GM01_Alpha\"";
        // Catches an option that X11's platform plugin takes for itself (its own -title).
        QTest::newRow("title given") << "GM02_Bravo" << QStringList{QStringLiteral("--window-title"), QStringLiteral("Trial")}
                                     << "window 320x200 class \"UnityWndClass\" title \"Trial\"";
    }

    void titleFromTheProgramName()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, arguments);
        QFETCH(QString, window);
        QTemporaryDir folder;
        const QString link = folder.filePath(name);
        QVERIFY(QFile::link(QStringLiteral(DEMO_GAME), link));
        Game game(link);
        game.start(QStringList{QStringLiteral("--size"), QStringLiteral("320x200"), QStringLiteral("--host-silent")} + arguments);
        QVERIFY2(game.waitForLine(window), qPrintable(game.lines().join(QLatin1Char('\n'))));
        // Catches --host-silent still reporting to the host.
        QTest::qWait(50);
        QCOMPARE(game.reports().size(), 0);
    }

    // Catches a game that gives up when its port is taken: it says so and still runs.
    void portTakenTheGameStillRuns()
    {
        Game game;
        QUdpSocket holder;
        QVERIFY(holder.bind(kLoopback, game.gamePort(), QUdpSocket::DontShareAddress));
        game.start({QStringLiteral("--size"), QStringLiteral("320x200")});
        QTRY_COMPARE(game.reports(), QList<QByteArray>{R"({"MsgID":"3"})"});
        QTRY_VERIFY(!game.lines().filter(QStringLiteral("not listening: ")).isEmpty());
        QCOMPARE(game.process().state(), QProcess::Running);
    }

    // Catches a blank or wrongly sized picture: the snapshot has the asked size and a scene.
    void snapshotDrawsTheScene()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("scene.png"));
        QProcess game;
        game.start(QStringLiteral(DEMO_GAME), {QStringLiteral("--snapshot"), file, QStringLiteral("--size"),
                                               QStringLiteral("480x245")});
        QVERIFY(game.waitForFinished(10000));
        QCOMPARE(game.exitCode(), 0);
        const QImage image(file);
        QCOMPARE(image.size(), QSize(480, 245));
        // Sky above, road below: the top and the road band differ.
        QVERIFY(image.pixelColor(240, 5) != image.pixelColor(10, int(245 * 0.80)));
    }

    // Catches a build that overwrites a game put under one of the four names.
    void gameNamesAreLinkedAndKept()
    {
        QTemporaryDir folder;
        const QString games = folder.filePath(QStringLiteral("DependFile/Game"));
        QVERIFY(QDir().mkpath(games));
        QFile own(games + QStringLiteral("/GM02_Bravo"));
        QVERIFY(own.open(QIODevice::WriteOnly) && own.write("a real game") == 11);
        own.close();
        const QStringList arguments{QStringLiteral("-DFOLDER=") + games, QStringLiteral("-DTARGET=../../rotaflex-demo-game"),
                                    QStringLiteral("-P"), QStringLiteral(LINK_GAME_NAMES)};
        QCOMPARE(QProcess::execute(QStringLiteral(CMAKE_COMMAND), arguments), 0);
        QCOMPARE(QProcess::execute(QStringLiteral(CMAKE_COMMAND), arguments), 0);
        for (const char *name : {"GM01_Alpha", "GM03_Charlie", "GM04_Delta"})
            QCOMPARE(QFile::symLinkTarget(games + QLatin1Char('/') + QLatin1String(name)),
                     folder.filePath(QStringLiteral("rotaflex-demo-game")));
        QVERIFY(QFileInfo(games + QStringLiteral("/GM02_Bravo")).isFile());
        QVERIFY(!QFileInfo(games + QStringLiteral("/GM02_Bravo")).isSymLink());
    }
};

QTEST_MAIN(TestDemoGame)
#include "tst_demogame.moc"
