#pragma once

#include "game/gamemsg.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <cstdint>

class QTimer;
class QUdpSocket;

// The training page's UDP link to the running game: live data and commands out, the game's
// running and ended reports in.
class GameLink : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 kHostPort = 2100;
    static constexpr quint16 kGamePort = 12000;
    static constexpr int kCloseRepeatMs = 100;
    static constexpr int kGameEndDelayMs = 200;
    // Bad datagrams logged per second at most; the rest are counted in one line.
    static constexpr int kBadDatagramLogsPerSecond = 5;
    static constexpr int kLogWindowMs = 1000;
    // Datagrams read per turn of the event loop; the rest wait for the next turn, so that a game
    // sending without pause cannot hold the loop (and the training page's timers) in the read.
    static constexpr int kMaxDatagramsPerTurn = 64;
    static constexpr const char *kCloseRepeatTimerName = "gameCloseRepeatTimer";
    static constexpr const char *kGameEndTimerName = "gameEndTimer";

    // Binds 127.0.0.1:2100 at once; the link works on without a bind, deaf to the game.
    explicit GameLink(QObject *parent = nullptr);

    bool isBound() const { return m_bound; }
    bool isGameRunning() const { return m_gameRunning; }
    // Datagrams read from the game's port, and those of them dropped unparsed or refused by
    // the parser, since construction.
    quint64 receivedDatagrams() const { return m_received; }
    quint64 droppedDatagrams() const { return m_dropped; }

    // Live data of the session; forces × 0.7, capped for the games that cannot show more.
    void sendGameData(const ST_GameLiveData &record);
    void sendGameStart();
    void sendGamePause();
    // Repeats every 100 ms while the game is running, until it reports its end; with no game
    // running, the end is reported 200 ms later.
    void sendGameClose();
    // The game's process is gone without a report: taken as its end, reported 200 ms later.
    void gameVanished();

signals:
    // 1: the game reports that it runs; 0: 200 ms after it reports its end.
    void signalGameStateChanged(int8_t state);

public slots:
    void slotReceiveGameData();

private:
    void send(const QByteArray &message);
    void handleDatagram(const QByteArray &datagram, const QHostAddress &sender, qint64 size);
    void logDropped(const QString &line);
    void repeatClose();
    // The game is gone: the close stops repeating and its end is reported 200 ms later.
    void gameEnded();

    QUdpSocket *m_socket = nullptr;
    QTimer *m_closeRepeatTimer = nullptr;
    QTimer *m_gameEndTimer = nullptr;
    bool m_bound = false;
    bool m_gameRunning = false;
    quint64 m_received = 0;
    quint64 m_dropped = 0;
    QElapsedTimer m_logWindow;
    int m_logsInWindow = 0;
    int m_logsSuppressed = 0;
};
