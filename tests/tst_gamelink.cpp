#include "common/testworkdir.h"
#include "game/gamecontrol.h"
#include "game/gamelink.h"
#include "game/gamelinkmessage.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

Q_DECLARE_METATYPE(ST_GameLiveData)

namespace {

// The debug lines logged while it lives; the test's own figures (qInfo) still reach the output.
class DebugLog
{
public:
    DebugLog()
    {
        s_lines.clear();
        s_previous = qInstallMessageHandler(handler);
    }
    ~DebugLog() { qInstallMessageHandler(s_previous); }
    static QStringList lines() { return s_lines; }
    static int count(const QString &part) { return s_lines.filter(part).size(); }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtInfoMsg)
            s_previous(type, context, message);
        else
            s_lines << message;
    }
    static inline QStringList s_lines;
    static inline QtMessageHandler s_previous = nullptr;
};

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

const QHostAddress kLoopback(QHostAddress::LocalHost);

QByteArray padded(int size)
{
    const QByteArray head = "{\"MsgID\":\"3\",\"pad\":\"";
    return head + QByteArray(size - head.size() - 2, 'x') + "\"}";
}

} // namespace

// The game link on real loopback sockets: the test plays the game on 127.0.0.1:12000.
class TestGameLink : public QObject
{
    Q_OBJECT

private:
    QUdpSocket *m_game = nullptr;

    // Reads what the game was sent until count datagrams are there, the event loop running.
    QList<QByteArray> receive(int count, int timeoutMs = 2000)
    {
        QList<QByteArray> datagrams;
        const auto readAll = [&] {
            while (m_game->hasPendingDatagrams() && datagrams.size() < count) {
                QByteArray datagram(int(m_game->pendingDatagramSize()), '\0');
                m_game->readDatagram(datagram.data(), datagram.size());
                datagrams << datagram;
            }
            return datagrams.size() >= count;
        };
        (void)QTest::qWaitFor(readAll, timeoutMs);
        return datagrams;
    }

    // Everything the game was sent that is still unread.
    int drain() { return receive(1000, 30).size(); }

    static void fromGame(const QByteArray &datagram, const QHostAddress &source = kLoopback)
    {
        QUdpSocket socket;
        QVERIFY(socket.bind(source, 0));
        QCOMPARE(socket.writeDatagram(datagram, kLoopback, GameLink::kHostPort), qint64(datagram.size()));
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        qRegisterMetaType<int8_t>("int8_t");
    }

    void init()
    {
        m_game = new QUdpSocket(this);
        QVERIFY2(m_game->bind(kLoopback, GameLink::kGamePort), qPrintable(m_game->errorString()));
        GameControl::getInstance()->setCurrentGameID(0);
    }

    void cleanup()
    {
        delete m_game;
        m_game = nullptr;
    }

    void bindsTheLoopbackPort()
    {
        DebugLog log;
        GameLink link;
        QVERIFY(link.isBound());
        QCOMPARE(log.lines(), QStringList{QStringLiteral("游戏服务端口2100")});
        fromGame("{\"MsgID\":\"3\"}");
        QTRY_VERIFY(link.isGameRunning());
    }

    // Catches a failed bind taking the link down: the game is still sent its messages.
    void bindFailureIsLoggedAndSendingGoesOn()
    {
        QUdpSocket holder;
        QVERIFY(holder.bind(kLoopback, GameLink::kHostPort, QUdpSocket::DontShareAddress));
        DebugLog log;
        GameLink link;
        QVERIFY(!link.isBound());
        QCOMPARE(log.lines(), QStringList{QStringLiteral("游戏服务端口2100绑定失败")});
        link.sendGamePause();
        QCOMPARE(receive(1), QList<QByteArray>{R"({"GameState":2,"MsgID":2})"});
        // Catches the sending socket left open to every interface.
        auto *socket = link.findChild<QUdpSocket *>();
        QVERIFY(socket);
        QCOMPARE(socket->localAddress(), kLoopback);
    }

    void messagesOnTheWire_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("gameID");
        QTest::addColumn<ST_GameLiveData>("record");
        QTest::addColumn<QByteArray>("datagram");
        const auto data = [](float speed, int left, int right, int angle, int id = 0, const QString &name = {}) {
            ST_GameLiveData record;
            record.speed = speed;
            record.left = left;
            record.right = right;
            record.angle = angle;
            record.ID = id;
            record.userName = name;
            return record;
        };
        QTest::newRow("start") << "start" << 0 << ST_GameLiveData() << QByteArray(R"({"GameState":1,"MsgID":2})");
        QTest::newRow("pause") << "pause" << 0 << ST_GameLiveData() << QByteArray(R"({"GameState":2,"MsgID":2})");
        QTest::newRow("close") << "close" << 0 << ST_GameLiveData() << QByteArray(R"({"GameState":0,"MsgID":2})");
        // Catches forces above what games 1 and 2 can show, and a float speed sent with noise.
        QTest::newRow("game 1 caps 100 at 60") << "data" << 1 << data(1.1f, 100, 30, 379)
            << QByteArray(R"({"ID":0,"MsgID":1,"angle":379,"calories":5,"forceLeft":60,"forceRight":21,"speed":1.1,"steps":30,"userName":""})");
        // Catches the cap applied to games that take larger forces.
        QTest::newRow("game 3 sends 70") << "data" << 3 << data(3.0f, 100, 0, 0)
            << QByteArray(R"({"ID":0,"MsgID":1,"angle":0,"calories":5,"forceLeft":70,"forceRight":0,"speed":3,"steps":30,"userName":""})");
        QTest::newRow("game 2 caps only above 60") << "data" << 2 << data(0.0f, 86, 85, 359)
            << QByteArray(R"({"ID":0,"MsgID":1,"angle":359,"calories":5,"forceLeft":60,"forceRight":59.5,"speed":0,"steps":30,"userName":""})");
        // Catches the record's own message number going out instead of 1.
        ST_GameLiveData numbered = data(30.0f, -10, 110, 65535, 100000, QStringLiteral("张三"));
        numbered.msgID = 7;
        QTest::newRow("message number is 1") << "data" << 4 << numbered
            << QByteArray(R"({"ID":100000,"MsgID":1,"angle":65535,"calories":5,"forceLeft":-7,"forceRight":77,"speed":30,"steps":30,"userName":"张三"})");
    }

    void messagesOnTheWire()
    {
        QFETCH(QString, message);
        QFETCH(int, gameID);
        QFETCH(ST_GameLiveData, record);
        QFETCH(QByteArray, datagram);
        GameControl::getInstance()->setCurrentGameID(gameID);
        GameLink link;
        if (message == QLatin1String("start"))
            link.sendGameStart();
        else if (message == QLatin1String("pause"))
            link.sendGamePause();
        else if (message == QLatin1String("close"))
            link.sendGameClose();
        else
            link.sendGameData(record);
        QCOMPARE(receive(1), QList<QByteArray>{datagram});
    }

    void gameReports_data()
    {
        QTest::addColumn<QList<QByteArray>>("datagrams");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QList<int>>("states");
        QTest::addColumn<int>("dropped");
        QTest::addColumn<QString>("logged");
        using D = QList<QByteArray>;
        const QByteArray run = R"({"MsgID":"3"})";
        const QByteArray end = R"({"MsgID":"4"})";
        QTest::newRow("\"3\" runs") << D{run} << true << QList<int>{1} << 0 << "";
        // Catches a number taken for the game's string.
        QTest::newRow("number 3 is not recognised") << D{R"({"MsgID":3})"} << false << QList<int>{} << 0 << "";
        QTest::newRow("\"4\" ends 200 ms later") << D{run, end} << false << QList<int>{1, 0} << 0 << "";
        // Catches a doubled end report closing the pages twice.
        QTest::newRow("\"4\" twice ends once") << D{run, end, end} << false << QList<int>{1, 0} << 0 << "";
        QTest::newRow("other values and keys are ignored")
            << D{run, R"({"MsgID":"7"})", R"({"MsgID":"x"})", R"({"msgid":"4"})", "[4]", R"({"MsgID":null})"}
            << true << QList<int>{1} << 0 << "";
        QTest::newRow("garbage is logged") << D{"not json"} << false << QList<int>{} << 1 << "jsonError.error";
        QTest::newRow("empty datagram") << D{""} << false << QList<int>{} << 1 << "jsonError.error";
        // Catches garbage that stops the link from hearing the game afterwards.
        QTest::newRow("garbage then the game") << D{QByteArray("\xff\x00\x01", 3), "{\"MsgID\":", run}
            << true << QList<int>{1} << 2 << "jsonError.error";
        // Catches repeated keys reaching the parser, which leaks on them.
        QTest::newRow("repeated key") << D{R"({"MsgID":"3","MsgID":"3"})"} << false << QList<int>{} << 1
                                      << QStringLiteral("游戏数据报键重复，已丢弃");
        QTest::newRow("repeated key inside") << D{R"({"MsgID":"3","x":[{"a":[],"a":1}]})"} << false
                                             << QList<int>{} << 1 << QStringLiteral("游戏数据报键重复，已丢弃");
        QTest::newRow("repeated key behind an escape") << D{R"({"MsgID":[1],"\u004dsgID":"3"})"} << false
                                                       << QList<int>{} << 1 << QStringLiteral("游戏数据报键重复，已丢弃");
        QTest::newRow("same key in two objects") << D{R"({"a":{"k":1},"b":{"k":2},"MsgID":"3"})"} << true
                                                 << QList<int>{1} << 0 << "";
        QTest::newRow("1024 bytes are read") << D{padded(1024)} << true << QList<int>{1} << 0 << "";
        // Catches oversized datagrams being parsed.
        QTest::newRow("1025 bytes are dropped") << D{padded(1025)} << false << QList<int>{} << 1
                                                << QStringLiteral("游戏数据报过大，已丢弃：1025");
        QTest::newRow("65000 bytes are dropped") << D{padded(65000), run} << true << QList<int>{1} << 1
                                                 << QStringLiteral("游戏数据报过大，已丢弃：65000");
    }

    void gameReports()
    {
        QFETCH(QList<QByteArray>, datagrams);
        QFETCH(bool, running);
        QFETCH(QList<int>, states);
        QFETCH(int, dropped);
        QFETCH(QString, logged);
        DebugLog log;
        GameLink link;
        QSignalSpy spy(&link, &GameLink::signalGameStateChanged);
        for (const QByteArray &datagram : datagrams)
            fromGame(datagram);
        QTRY_COMPARE(link.receivedDatagrams(), quint64(datagrams.size()));
        QCOMPARE(link.isGameRunning(), running);
        QCOMPARE(int(link.droppedDatagrams()), dropped);
        if (!logged.isEmpty())
            QVERIFY2(log.count(logged) > 0, qPrintable(log.lines().join(QLatin1Char('\n'))));

        auto *endTimer = link.findChild<QTimer *>(QLatin1String(GameLink::kGameEndTimerName));
        QVERIFY(endTimer);
        QCOMPARE(endTimer->interval(), GameLink::kGameEndDelayMs);
        if (endTimer->isActive()) {
            // Nothing ends before the delay has run out.
            QCOMPARE(spy.count(), states.size() - 1);
            endTimer->setInterval(1);
            QTRY_VERIFY(!endTimer->isActive());
        }
        QList<int> seen;
        for (const QList<QVariant> &arguments : spy)
            seen << arguments.at(0).value<int8_t>();
        QCOMPARE(seen, states);
    }

    // A game that never answers keeps being sent the close, one stream of it however many ways
    // out asked for it, until it reports its end.
    void closeRepeatsUntilTheGameEnds()
    {
        DebugLog log;
        GameLink link;
        fromGame(R"({"MsgID":"3"})");
        QTRY_VERIFY(link.isGameRunning());
        auto *repeat = link.findChild<QTimer *>(QLatin1String(GameLink::kCloseRepeatTimerName));
        QVERIFY(repeat);
        QCOMPARE(repeat->interval(), GameLink::kCloseRepeatMs);
        link.sendGameClose();
        link.sendGameClose();
        repeat->setInterval(5);
        const QList<QByteArray> closes = receive(10);
        QCOMPARE(closes, QVector<QByteArray>(10, R"({"GameState":0,"MsgID":2})").toList());
        QVERIFY(log.count(QStringLiteral("再次发送关闭指令")) >= 8);

        fromGame(R"({"MsgID":"4"})");
        QTRY_VERIFY(!link.isGameRunning());
        QVERIFY(!repeat->isActive());
        drain();
        QTest::qWait(30);
        QCOMPARE(drain(), 0);
    }

    // Catches a close repeated for a game that is not running.
    void closeWithoutARunningGameIsSentOnce()
    {
        DebugLog log;
        GameLink link;
        auto *repeat = link.findChild<QTimer *>(QLatin1String(GameLink::kCloseRepeatTimerName));
        link.sendGameClose();
        repeat->setInterval(1);
        QTRY_VERIFY(!repeat->isActive());
        QTest::qWait(20);
        QCOMPARE(drain(), 1);
        QCOMPARE(log.count(QStringLiteral("再次发送关闭指令")), 0);
    }

    // Catches a datagram from another address starting or ending the game.
    void strangerCannotStartOrEndTheGame()
    {
        const QHostAddress stranger(QStringLiteral("127.0.0.2"));
        QUdpSocket probe;
        if (!probe.bind(stranger, 0))
            QSKIP("127.0.0.2 cannot be bound here");
        DebugLog log;
        GameLink link;
        fromGame(R"({"MsgID":"3"})", stranger);
        QTRY_COMPARE(link.receivedDatagrams(), quint64(1));
        QVERIFY(!link.isGameRunning());
        fromGame(R"({"MsgID":"3"})");
        fromGame(R"({"MsgID":"4"})", stranger);
        QTRY_COMPARE(link.receivedDatagrams(), quint64(3));
        QVERIFY(link.isGameRunning());
        QCOMPARE(link.droppedDatagrams(), quint64(2));
        QCOMPARE(log.count(QStringLiteral("127.0.0.2")), 2);
    }

    // 200,000 datagrams that leak in Qt's parser: memory stays flat and the log stays short.
    void floodOfRepeatedKeysKeepsMemoryFlat()
    {
        const QList<QByteArray> leaking{R"({"k":[1],"k":2})", R"({"MsgID":{"a":1},"MsgID":"3"})",
                                        R"([{"k":[],"k":[]}])"};
        DebugLog log;
        GameLink link;
        QUdpSocket sender;
        QVERIFY(sender.bind(kLoopback, 0));
        constexpr int kBatch = 100;
        const auto flood = [&](int total) {
            const quint64 start = link.receivedDatagrams();
            for (int sent = 0; sent < total;) {
                for (int i = 0; i < kBatch; ++i, ++sent)
                    sender.writeDatagram(leaking.at(sent % leaking.size()), kLoopback, GameLink::kHostPort);
                QElapsedTimer stalled;
                stalled.start();
                // The socket holds a few hundred small datagrams: each batch is read before the next.
                while (link.receivedDatagrams() - start < quint64(sent) && stalled.elapsed() < 500) {
                    const quint64 before = link.receivedDatagrams();
                    link.slotReceiveGameData();
                    if (link.receivedDatagrams() == before)
                        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
                    else
                        stalled.restart();
                }
            }
            return link.receivedDatagrams() - start;
        };
        flood(5000); // allocator and socket at their working size
        const qint64 before = residentBytes();
        QElapsedTimer clock;
        clock.start();
        const quint64 handled = flood(200000);
        const qint64 elapsedMs = clock.elapsed();
        const qint64 after = residentBytes();
        qInfo("%llu datagrams in %lld ms; resident %lld KiB before, %lld KiB after (%+lld KiB)",
              handled, elapsedMs, before / 1024, after / 1024, (after - before) / 1024);
        QVERIFY(handled >= 199000);
        QVERIFY2(after - before < 4 * 1024 * 1024, "memory grew under the flood");
        QCOMPARE(link.droppedDatagrams(), link.receivedDatagrams());
        const int logged = log.count(QStringLiteral("游戏数据报键重复，已丢弃"));
        // Catches a flood filling the log: a few lines a second at most.
        QVERIFY2(logged <= (elapsedMs / GameLink::kLogWindowMs + 2) * GameLink::kBadDatagramLogsPerSecond,
                 qPrintable(QString::number(logged)));
    }

    // A game that sends as fast as it can, from its own thread: the event loop keeps turning
    // (the training page's timers run between the reads), and the game is heard afterwards.
    void floodingGameDoesNotStallTheHost()
    {
        DebugLog log;
        GameLink link;
        std::atomic<bool> flooding{true};
        std::atomic<quint64> sent{0};
        std::thread game([&] {
            const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
            sockaddr_in host = {};
            host.sin_family = AF_INET;
            host.sin_port = htons(GameLink::kHostPort);
            host.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            const QByteArray datagrams[] = {R"({"MsgID":"7","pad":"xxxxxxxxxxxxxxxxxxxxxxxx"})", "not json at all"};
            for (quint64 i = 0; flooding; ++i) {
                const QByteArray &datagram = datagrams[i % 2];
                if (::sendto(fd, datagram.constData(), size_t(datagram.size()), 0,
                             reinterpret_cast<const sockaddr *>(&host), sizeof host) > 0)
                    ++sent;
            }
            ::close(fd);
        });
        // A zero timer runs once per turn of the event loop: it sees how much each turn read.
        int turns = 0;
        quint64 mostInOneTurn = 0;
        quint64 lastCount = 0;
        QTimer turn;
        connect(&turn, &QTimer::timeout, [&] {
            ++turns;
            mostInOneTurn = std::max(mostInOneTurn, link.receivedDatagrams() - lastCount);
            lastCount = link.receivedDatagrams();
        });
        turn.start(0);
        QElapsedTimer clock;
        clock.start();
        QTest::qWait(1000);
        const qint64 elapsedMs = clock.elapsed();
        flooding = false;
        game.join();
        turn.stop();
        qInfo("flood: %llu sent, %llu read in %lld ms; %d turns of the event loop, at most %llu datagrams in one",
              quint64(sent), link.receivedDatagrams(), elapsedMs, turns, mostInOneTurn);
        QVERIFY(link.receivedDatagrams() > 0);
        // Catches a read that drains for as long as the game sends, holding the loop for seconds.
        QVERIFY2(mostInOneTurn <= quint64(GameLink::kMaxDatagramsPerTurn), qPrintable(QString::number(mostInOneTurn)));
        // The backlog is read without new datagrams to announce it, leaving the kernel room for
        // the game's report.
        auto *socket = link.findChild<QUdpSocket *>();
        QTRY_VERIFY(!socket->hasPendingDatagrams());
        fromGame(R"({"MsgID":"3"})");
        QTRY_VERIFY(link.isGameRunning());
    }
};

QTEST_MAIN(TestGameLink)
#include "tst_gamelink.moc"
