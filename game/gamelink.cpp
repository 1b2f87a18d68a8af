#include "game/gamelink.h"

#include "game/gamecontrol.h"
#include "game/gamelinkmessage.h"

#include <QDebug>
#include <QTimer>
#include <QUdpSocket>

using namespace GameLinkMessage;

GameLink::GameLink(QObject *parent)
    : QObject(parent),
      m_socket(new QUdpSocket(this)),
      m_closeRepeatTimer(new QTimer(this)),
      m_gameEndTimer(new QTimer(this))
{
    m_closeRepeatTimer->setObjectName(QLatin1String(kCloseRepeatTimerName));
    m_closeRepeatTimer->setSingleShot(true);
    m_closeRepeatTimer->setInterval(kCloseRepeatMs);
    connect(m_closeRepeatTimer, &QTimer::timeout, this, &GameLink::repeatClose);

    m_gameEndTimer->setObjectName(QLatin1String(kGameEndTimerName));
    m_gameEndTimer->setSingleShot(true);
    m_gameEndTimer->setInterval(kGameEndDelayMs);
    connect(m_gameEndTimer, &QTimer::timeout, this, [this] { emit signalGameStateChanged(0); });

    m_bound = m_socket->bind(QHostAddress(QHostAddress::LocalHost), kHostPort);
    if (m_bound) {
        qDebug().noquote() << QStringLiteral("游戏服务端口%1").arg(kHostPort);
    } else {
        qDebug().noquote() << QStringLiteral("游戏服务端口%1绑定失败").arg(kHostPort);
        // Sending would bind the socket to every interface; a loopback port keeps it local.
        m_socket->bind(QHostAddress(QHostAddress::LocalHost), 0);
    }
    connect(m_socket, &QUdpSocket::readyRead, this, &GameLink::slotReceiveGameData);
    m_logWindow.start();
}

void GameLink::sendGameData(const ST_GameLiveData &record)
{
    ST_GameLiveData message = record;
    message.msgID = kLiveDataMsgID;
    send(liveData(message, GameControl::getInstance()->getCurrentGameID()));
}

void GameLink::sendGameStart()
{
    send(gameState(kStateStart));
}

void GameLink::sendGamePause()
{
    send(gameState(kStatePause));
}

void GameLink::sendGameClose()
{
    send(gameState(kStateClose));
    // No game runs that could report its end: the end is reported after the same delay, or the
    // training page would stay up with nothing to close it.
    if (!m_gameRunning) {
        m_gameEndTimer->start();
        return;
    }
    // One repetition at a time, however many ways out of a training ask for the close.
    m_closeRepeatTimer->start();
}

void GameLink::gameVanished()
{
    if (!m_gameRunning)
        return;
    qWarning().noquote() << QStringLiteral("the game ended without reporting it");
    gameEnded();
}

void GameLink::gameEnded()
{
    m_gameRunning = false;
    m_closeRepeatTimer->stop();
    m_gameEndTimer->start();
}

void GameLink::repeatClose()
{
    if (!m_gameRunning)
        return;
    qDebug().noquote() << QStringLiteral("再次发送关闭指令");
    sendGameClose();
}

void GameLink::send(const QByteArray &message)
{
    m_socket->writeDatagram(message, QHostAddress(QHostAddress::LocalHost), kGamePort);
}

void GameLink::slotReceiveGameData()
{
    QByteArray buffer;
    // The socket announces the datagrams left over again at the next turn of the event loop.
    for (int turn = 0; turn < kMaxDatagramsPerTurn && m_socket->hasPendingDatagrams(); ++turn) {
        const qint64 size = m_socket->pendingDatagramSize();
        // Oversized datagrams are read only as far as the limit, which drops the rest of them.
        buffer.resize(int(qBound<qint64>(0, size, kMaxDatagramSize + 1)));
        QHostAddress sender;
        const qint64 read = m_socket->readDatagram(buffer.data(), buffer.size(), &sender);
        if (read < 0)
            break;
        buffer.resize(int(read));
        ++m_received;
        handleDatagram(buffer, sender, size);
    }
}

void GameLink::handleDatagram(const QByteArray &datagram, const QHostAddress &sender, qint64 size)
{
    if (sender != QHostAddress(QHostAddress::LocalHost)) {
        logDropped(QStringLiteral("游戏端口收到外来数据报，已丢弃：%1").arg(sender.toString()));
        return;
    }
    // An oversized datagram arrives cut one byte past the limit, which read() refuses.
    const Incoming incoming = read(datagram);
    switch (incoming.status) {
    case Incoming::Status::TooLarge:
        logDropped(QStringLiteral("游戏数据报过大，已丢弃：%1").arg(size));
        return;
    case Incoming::Status::RepeatedKey:
        logDropped(QStringLiteral("游戏数据报键重复，已丢弃"));
        return;
    case Incoming::Status::JsonError:
        logDropped(QStringLiteral("jsonError.error %1").arg(incoming.jsonError));
        return;
    case Incoming::Status::Message:
        break;
    }
    if (incoming.msgID == kGameRunningMsgID) {
        m_gameRunning = true;
        emit signalGameStateChanged(1);
    } else if (incoming.msgID == kGameEndedMsgID) {
        gameEnded();
    }
}

void GameLink::logDropped(const QString &line)
{
    ++m_dropped;
    if (m_logWindow.elapsed() >= kLogWindowMs) {
        if (m_logsSuppressed > 0)
            qDebug().noquote() << QStringLiteral("未记录的游戏坏数据报：%1").arg(m_logsSuppressed);
        m_logWindow.restart();
        m_logsInWindow = 0;
        m_logsSuppressed = 0;
    }
    if (m_logsInWindow < kBadDatagramLogsPerSecond) {
        ++m_logsInWindow;
        qDebug().noquote() << line;
    } else {
        ++m_logsSuppressed;
    }
}
