#include "trainersimulator.h"

#include "comm/deviceprotocol.h"
#include "consolecommand.h"
#include "hostcommanddecoder.h"
#include "machineframe.h"
#include "tools/simcommon/console.h"
#include "tools/simcommon/hexdump.h"
#include "tools/simcommon/quitsignals.h"
#include "trainerlink.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTimer>

#include <cstdio>

namespace {

QString stateWord(TrainerModel::RunState state)
{
    switch (state) {
    case TrainerModel::RunState::Running:
        return QStringLiteral("running");
    case TrainerModel::RunState::Paused:
        return QStringLiteral("paused");
    case TrainerModel::RunState::Stopped:
        break;
    }
    return QStringLiteral("stopped");
}

QString stageWord(uint8_t stage)
{
    return stage == 0 ? QStringLiteral("passive") : stage == 1 ? QStringLiteral("active") : QString::number(stage);
}

} // namespace

TrainerSimulator::TrainerSimulator(const SimOptions &options, QObject *parent)
    : QObject(parent),
      m_options(options),
      m_model(options.stagePeriod,
              options.seedGiven ? options.seed : QRandomGenerator::global()->generate(), options.watchdog),
      m_tickSeconds(1.0 / options.rate),
      m_random(options.seedGiven ? options.seed + 1 : QRandomGenerator::global()->generate())
{
}

bool TrainerSimulator::start()
{
    auto *quitSignals = new QuitSignals(this);
    if (!quitSignals->install()) {
        std::fprintf(stderr, "cannot watch for signals\n");
        return false;
    }

    m_link = new TrainerLink(this);
    bool opened = false;
    switch (m_options.link) {
    case SimOptions::LinkKind::Udp:
        opened = m_link->openUdp(m_options.udpBind.address, m_options.udpBind.port, m_options.udpPeer.address,
                                 m_options.udpPeer.port);
        break;
    case SimOptions::LinkKind::Serial:
        opened = m_link->openSerial(m_options.linkPath);
        break;
    case SimOptions::LinkKind::Tcp:
        opened = m_link->openTcp(m_options.tcpListen.address, m_options.tcpListen.port);
        break;
    }
    if (!opened) {
        std::fprintf(stderr, "%s\n", m_link->error().toLocal8Bit().constData());
        return false;
    }
    connect(m_link, &TrainerLink::frameReceived, this, &TrainerSimulator::handleFrame);
    connect(m_link, &TrainerLink::notice, this, &Console::printLine);

    if (!m_options.configNote.isEmpty())
        Console::printLine(QStringLiteral("config: ") + m_options.configNote);
    Console::printLine(m_link->description());
    if (!m_link->linkPath().isEmpty())
        Console::printLine(QStringLiteral("link: %1 -> %2").arg(m_link->linkPath(), m_link->ptyPath()));
    Console::printLine(QStringLiteral("ready: %1 records/s, stage period %2 s, watchdog %3 s, version %4; type help for commands")
                           .arg(m_options.rate)
                           .arg(m_options.stagePeriod)
                           .arg(m_options.watchdog)
                           .arg(QString::fromUtf8(m_options.versionText)));

    m_console = new Console(this);
    connect(m_console, &Console::lineEntered, this, &TrainerSimulator::handleConsoleLine);
    m_console->watchInput();

    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(qMax(1, int(1000 / m_options.rate)));
    connect(m_timer, &QTimer::timeout, this, &TrainerSimulator::tick);
    m_timer->start();
    return true;
}

bool TrainerSimulator::silent() const
{
    return m_silenceActive && !m_silenceEnd.hasExpired();
}

void TrainerSimulator::handleFrame(const QByteArray &frame)
{
    const HostCommand command = HostCommandDecoder::decode(frame);
    const QString line = HostCommandDecoder::describe(command);
    if (silent()) {
        // A silent machine behaves like a cut line: nothing it hears takes effect.
        Console::printLine(line + QStringLiteral(" (ignored: silent)"));
        return;
    }
    Console::printLine(line);

    switch (command.kind) {
    case HostCommand::Kind::BicycleParam:
        m_model.applyParam(command.param);
        break;
    case HostCommand::Kind::RealTimeParam:
        m_model.applyRealTime(command.item, command.value);
        break;
    case HostCommand::Kind::HeartBeat:
        if (m_model.hostLost())
            Console::printLine(QStringLiteral("watchdog: heartbeats back"));
        m_model.heartBeat();
        m_link->sendPayload(MachineFrame::heartBeatReplyPayload());
        if (m_options.verbose)
            Console::printLine(QStringLiteral("tx heartbeat reply"));
        break;
    case HostCommand::Kind::VersionQuery:
        m_link->sendPayload(MachineFrame::versionReplyPayload(m_options.versionText));
        if (m_options.verbose)
            Console::printLine(QStringLiteral("tx version %1").arg(QString::fromUtf8(m_options.versionText)));
        break;
    case HostCommand::Kind::Unknown:
    case HostCommand::Kind::Invalid:
        break;
    }
}

void TrainerSimulator::sendLiveRecord()
{
    const bool spasm = m_model.spasmPending();
    const QByteArray record = m_model.takeRecord();
    m_link->sendPayload(MachineFrame::liveDataPayload(record));
    if (m_options.verbose) {
        using namespace DeviceProtocol;
        Console::printLine(QStringLiteral("tx live stage=%1 lower=%2 upper=%3 hand=%4 foot=%5 estop=%6 spasm=%7")
                               .arg(uint8_t(record.at(Live::kStage)))
                               .arg(uint8_t(record.at(Live::kDownSpeed)))
                               .arg(uint8_t(record.at(Live::kUpSpeed)))
                               .arg(m_model.handAngle())
                               .arg(m_model.footAngle())
                               .arg(m_model.emergency() ? 1 : 0)
                               .arg(spasm ? 1 : 0));
    }
}

void TrainerSimulator::tick()
{
    const uint8_t stageBefore = m_model.stage();
    const bool overspeedBefore = m_model.overspeedLeft() > 0.0;
    const int watchdogStopsBefore = m_model.watchdogStops();
    m_model.advance(m_tickSeconds);
    if (m_model.watchdogStops() != watchdogStopsBefore)
        Console::printLine(QStringLiteral("watchdog: no heartbeat for %1 s, motor stopped (speed 0)").arg(m_model.watchdogSeconds()));
    if (m_model.stage() != stageBefore && m_model.runState() == TrainerModel::RunState::Running)
        Console::printLine(QStringLiteral("stage %1 (%2)").arg(m_model.stage()).arg(stageWord(m_model.stage())));
    if (overspeedBefore && m_model.overspeedLeft() <= 0.0)
        Console::printLine(QStringLiteral("overspeed over"));

    if (m_silenceActive && m_silenceEnd.hasExpired()) {
        m_silenceActive = false;
        Console::printLine(QStringLiteral("silence over"));
    }
    if (!silent() && m_model.isStreaming())
        sendLiveRecord();
}

void TrainerSimulator::handleConsoleLine(const QString &line)
{
    const ConsoleCommand command = ConsoleCommand::parse(line);
    switch (command.kind) {
    case ConsoleCommand::Kind::Empty:
        break;
    case ConsoleCommand::Kind::Spasm:
        m_model.triggerSpasm();
        Console::printLine(QStringLiteral("fault spasm: the next record reports a spasm"));
        break;
    case ConsoleCommand::Kind::Estop:
        m_model.pressEmergency();
        Console::printLine(QStringLiteral("fault estop: emergency stop pressed, session ended"));
        break;
    case ConsoleCommand::Kind::Release:
        m_model.releaseEmergency();
        Console::printLine(QStringLiteral("fault release: emergency stop released"));
        break;
    case ConsoleCommand::Kind::Overspeed:
        m_model.startOverspeed(command.seconds);
        Console::printLine(QStringLiteral("fault overspeed: %1 r/min for %2 s")
                               .arg(TrainerModel::kOverspeedRpm).arg(command.seconds));
        break;
    case ConsoleCommand::Kind::Silence:
        m_silenceActive = true;
        m_silenceEnd.setRemainingTime(qint64(command.seconds * 1000.0));
        Console::printLine(
            QStringLiteral("fault silence: nothing answered or sent for %1 s").arg(command.seconds));
        break;
    case ConsoleCommand::Kind::Garbage: {
        QByteArray bytes(command.count, '\0');
        std::uniform_int_distribution<int> byteValue(0, 255);
        for (char &byte : bytes)
            byte = char(byteValue(m_random));
        if (silent()) {
            Console::printLine(QStringLiteral("fault garbage: held back, the machine is silent"));
            break;
        }
        m_link->sendRaw(bytes);
        Console::printLine(
            QStringLiteral("fault garbage: %1 bytes: %2").arg(bytes.size()).arg(HexDump::text(bytes, 32)));
        break;
    }
    case ConsoleCommand::Kind::Burst:
        if (silent()) {
            Console::printLine(QStringLiteral("fault burst: held back, the machine is silent"));
            break;
        }
        // Consecutive records, each one record interval after the last, sent without pause.
        for (int i = 0; i < command.count; ++i) {
            m_model.advance(m_tickSeconds, false);
            sendLiveRecord();
        }
        Console::printLine(QStringLiteral("fault burst: %1 live-data frames sent").arg(command.count));
        break;
    case ConsoleCommand::Kind::Status:
        Console::printLine(statusText());
        break;
    case ConsoleCommand::Kind::Help:
        Console::printLine(QStringLiteral("commands:\n") + ConsoleCommand::usage().trimmed());
        break;
    case ConsoleCommand::Kind::Quit:
        Console::printLine(QStringLiteral("bye"));
        QCoreApplication::quit();
        break;
    case ConsoleCommand::Kind::Invalid:
        Console::printLine(command.error);
        break;
    }
}

QString TrainerSimulator::statusText() const
{
    const ST_BicycleParam &p = m_model.param();
    return QStringLiteral("status: %1 | state=%2 limb=%3 mode=%4 stage=%5 set-speed=%6 resistance=%7 "
                          "direction=%8 upper=%9 lower=%10 hand=%11 foot=%12 distance=%13/%14 "
                          "estop=%15 overspeed=%16s silent=%17s streaming=%18 rx=%19 tx=%20")
        .arg(m_link->description(), stateWord(m_model.runState()))
        .arg(p.trainLimp)
        .arg(p.trainMode)
        .arg(m_model.stage())
        .arg(p.trainSpeed)
        .arg(p.trainResistance)
        .arg(p.trainDirection == 0 ? QStringLiteral("backward") : QStringLiteral("forward"))
        .arg(m_model.reportedUpperSpeed())
        .arg(m_model.reportedLowerSpeed())
        .arg(m_model.handAngle())
        .arg(m_model.footAngle())
        .arg(m_model.upperDistanceCount())
        .arg(m_model.lowerDistanceCount())
        .arg(m_model.emergency() ? 1 : 0)
        .arg(m_model.overspeedLeft(), 0, 'f', 1)
        .arg(silent() ? double(m_silenceEnd.remainingTime()) / 1000.0 : 0.0, 0, 'f', 1)
        .arg(m_model.isStreaming() ? QStringLiteral("yes") : QStringLiteral("no"))
        .arg(m_link->framesReceived())
        .arg(m_link->framesSent());
}
