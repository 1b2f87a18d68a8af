#include "demogame.h"

#include "cyclingscene.h"
#include "hostlink.h"
#include "tools/simcommon/console.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <algorithm>

namespace {

CyclingScene *makeScene(const DemoGameOptions &options)
{
    auto *scene = new CyclingScene;
    scene->setWindowFlag(Qt::FramelessWindowHint);
    scene->setWindowTitle(options.title);
    scene->setTheme(std::max(0, DemoGameOptions::catalogueTitles().indexOf(options.title)));
    scene->resize(options.size);
    return scene;
}

} // namespace

DemoGame::DemoGame(const DemoGameOptions &options, QObject *parent)
    : QObject(parent),
      m_options(options),
      m_scene(makeScene(options)),
      m_link(new HostLink(options.portIn, options.portOut, this))
{
    if (!options.logFile.isEmpty()) {
        m_log = std::make_unique<QFile>(options.logFile);
        if (!m_log->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            qWarning().noquote() << QStringLiteral("demo game: cannot write its log %1 (%2)").arg(options.logFile, m_log->errorString());
            m_log.reset();
        }
    }
    connect(m_link, &HostLink::liveDataReceived, this, &DemoGame::applyLiveData);
    connect(m_link, &HostLink::gameStateReceived, this, &DemoGame::applyGameState);
    connect(m_link, &HostLink::datagramIgnored, this, [this](const QString &reason) {
        say(QStringLiteral("ignored: ") + reason);
    });
}

DemoGame::~DemoGame()
{
    delete m_scene;
}

void DemoGame::start()
{
    say(QStringLiteral("pid %1").arg(QCoreApplication::applicationPid()));
    if (m_link->listen()) {
        say(QStringLiteral("listening 127.0.0.1:%1").arg(m_options.portIn));
    } else {
        // The host may still see the window and send nothing the game needs to answer.
        qWarning().noquote() << QStringLiteral("demo game: cannot listen on 127.0.0.1:%1 (%2); it runs without the host's data")
                                    .arg(m_options.portIn)
                                    .arg(m_link->bindError());
        say(QStringLiteral("not listening: ") + m_link->bindError());
    }
    m_scene->move(0, 0);
    m_scene->show();
    // Once the window is shown and the event loop runs, the host can find it.
    QTimer::singleShot(0, this, &DemoGame::windowShown);
}

void DemoGame::windowShown()
{
    say(QStringLiteral("window %1x%2 class \"%3\" title \"%4\"")
            .arg(m_scene->width())
            .arg(m_scene->height())
            .arg(QCoreApplication::applicationName(), m_scene->windowTitle()));
    if (m_options.hostSilent)
        return;
    m_link->sendRunning();
    say(QStringLiteral("sent 3"));
}

void DemoGame::applyLiveData(const HostMessage::LiveData &data)
{
    // A paused or closing game stands still, whatever still comes in.
    if (m_closing || m_scene->phase() == CyclingScene::Phase::Paused)
        return;
    if (data.speed) {
        m_scene->setSpeed(*data.speed);
        const QString text = QString::number(*data.speed, 'f', 1);
        if (text != m_speedText)
            say(QStringLiteral("speed ") + text);
        m_speedText = text;
    }
    if (data.angle) {
        m_scene->setAngle(*data.angle);
        if (*data.angle != m_angle)
            say(QStringLiteral("angle %1").arg(*data.angle));
        m_angle = *data.angle;
    }
    if (data.forceLeft || data.forceRight) {
        // A message with one side only keeps the other side's last value.
        m_forceLeft = data.forceLeft.value_or(m_forceLeft);
        m_forceRight = data.forceRight.value_or(m_forceRight);
        m_scene->setForces(m_forceLeft, m_forceRight);
        const QString text = QString::number(m_forceLeft, 'f', 1) + QLatin1Char('/') + QString::number(m_forceRight, 'f', 1);
        if (text != m_forcesText)
            say(QStringLiteral("forces ") + text);
        m_forcesText = text;
    }
    if (data.userName && *data.userName != m_userName) {
        m_userName = *data.userName;
        m_scene->setUserName(m_userName);
        say(QStringLiteral("user ") + m_userName);
    }
}

void DemoGame::applyGameState(int state)
{
    switch (state) {
    case HostMessage::kStateStart:
        if (m_closing)
            return;
        if (m_scene->phase() == CyclingScene::Phase::Paused) {
            m_scene->setPhase(CyclingScene::Phase::Running);
            say(QStringLiteral("resumed"));
        } else if (m_scene->phase() == CyclingScene::Phase::Waiting) {
            m_scene->setPhase(CyclingScene::Phase::Running);
            say(QStringLiteral("started"));
        }
        return;
    case HostMessage::kStatePause:
        if (m_closing || m_scene->phase() == CyclingScene::Phase::Paused)
            return;
        m_scene->setPhase(CyclingScene::Phase::Paused);
        say(QStringLiteral("paused"));
        return;
    case HostMessage::kStateClose:
        if (!m_closing) {
            m_closing = true;
            say(QStringLiteral("closing"));
            // The datagram is handed to the system before this returns; the delay only lets a
            // close repeated meanwhile be answered too.
            QTimer::singleShot(kQuitDelayMs, QCoreApplication::instance(), &QCoreApplication::quit);
        }
        // Every close is answered, in case an earlier answer was lost.
        m_link->sendEnded();
        say(QStringLiteral("sent 4"));
        return;
    default:
        return;
    }
}

void DemoGame::say(const QString &line) const
{
    if (m_options.verbose)
        Console::printLine(line);
    if (m_log) {
        m_log->write(line.toUtf8() + '\n');
        m_log->flush();
    }
}

bool DemoGame::writeSnapshot(const DemoGameOptions &options)
{
    CyclingScene *scene = makeScene(options);
    scene->setSpeed(18.0);
    scene->setAngle(60);
    scene->setForces(32.0, 38.0);
    scene->setUserName(QStringLiteral("张三"));
    // Let the rider and the balance bar settle where the sample data puts them.
    scene->advance(4000);
    switch (options.snapshotState) {
    case DemoGameOptions::SnapshotState::Waiting:
        scene->setPhase(CyclingScene::Phase::Waiting);
        break;
    case DemoGameOptions::SnapshotState::Running:
        scene->setPhase(CyclingScene::Phase::Running);
        break;
    case DemoGameOptions::SnapshotState::Paused:
        scene->setPhase(CyclingScene::Phase::Paused);
        break;
    }
    QImage image(options.size, QImage::Format_RGB32);
    scene->render(&image);
    delete scene;
    const bool saved = image.save(options.snapshotFile, "PNG");
    if (!saved)
        qWarning().noquote() << QStringLiteral("demo game: cannot write %1").arg(options.snapshotFile);
    return saved;
}
