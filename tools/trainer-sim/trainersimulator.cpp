#include "trainersimulator.h"

#include "comm/deviceprotocol.h"
#include "consolecommand.h"
#include "hostcommanddecoder.h"
#include "machineframe.h"
#include "trainerlink.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int s_signalPipe[2] = {-1, -1};

void onSignal(int number)
{
    // Only async-signal-safe work here: the event loop picks the byte up.
    const int savedErrno = errno;
    const char byte = char(number);
    [[maybe_unused]] const ssize_t ignored = ::write(s_signalPipe[1], &byte, 1);
    errno = savedErrno;
}

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
              options.seedGiven ? options.seed : QRandomGenerator::global()->generate()),
      m_tickSeconds(1.0 / options.rate),
      m_random(options.seedGiven ? options.seed + 1 : QRandomGenerator::global()->generate())
{
}

TrainerSimulator::~TrainerSimulator()
{
    if (s_signalPipe[0] >= 0) {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        ::close(s_signalPipe[0]);
        ::close(s_signalPipe[1]);
        s_signalPipe[0] = s_signalPipe[1] = -1;
    }
}

void TrainerSimulator::printLine(const QString &line)
{
    // Readers sit behind a pipe: every line goes out at once.
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool TrainerSimulator::installSignalHandlers()
{
    if (::pipe2(s_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    // A host that goes away must not kill the machine through a broken pipe.
    std::signal(SIGPIPE, SIG_IGN);
    m_signalNotifier = new QSocketNotifier(s_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_signalNotifier, &QSocketNotifier::activated, this, &TrainerSimulator::handleSignal);
    return true;
}

bool TrainerSimulator::start()
{
    if (!installSignalHandlers()) {
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
    connect(m_link, &TrainerLink::notice, this, &TrainerSimulator::printLine);

    if (!m_options.configNote.isEmpty())
        printLine(QStringLiteral("config: ") + m_options.configNote);
    printLine(m_link->description());
    if (!m_link->linkPath().isEmpty())
        printLine(QStringLiteral("link: %1 -> %2").arg(m_link->linkPath(), m_link->ptyPath()));
    printLine(QStringLiteral("ready: %1 records/s, stage period %2 s, version %3; type help for commands")
                  .arg(m_options.rate)
                  .arg(m_options.stagePeriod)
                  .arg(QString::fromUtf8(m_options.versionText)));

    // Standard input may be closed or /dev/null (started in the background); both are fine.
    if (::fcntl(STDIN_FILENO, F_GETFD) != -1) {
        m_stdinNotifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(m_stdinNotifier, &QSocketNotifier::activated, this, &TrainerSimulator::readStdin);
    }

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
        printLine(line + QStringLiteral(" (ignored: silent)"));
        return;
    }
    printLine(line);

    switch (command.kind) {
    case HostCommand::Kind::BicycleParam:
        m_model.applyParam(command.param);
        break;
    case HostCommand::Kind::RealTimeParam:
        m_model.applyRealTime(command.item, command.value);
        break;
    case HostCommand::Kind::HeartBeat:
        m_link->sendPayload(MachineFrame::heartBeatReplyPayload());
        if (m_options.verbose)
            printLine(QStringLiteral("tx heartbeat reply"));
        break;
    case HostCommand::Kind::VersionQuery:
        m_link->sendPayload(MachineFrame::versionReplyPayload(m_options.versionText));
        if (m_options.verbose)
            printLine(QStringLiteral("tx version %1").arg(QString::fromUtf8(m_options.versionText)));
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
        printLine(QStringLiteral("tx live stage=%1 lower=%2 upper=%3 hand=%4 foot=%5 estop=%6 spasm=%7")
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
    m_model.advance(m_tickSeconds);
    if (m_model.stage() != stageBefore && m_model.runState() == TrainerModel::RunState::Running)
        printLine(QStringLiteral("stage %1 (%2)").arg(m_model.stage()).arg(stageWord(m_model.stage())));
    if (overspeedBefore && m_model.overspeedLeft() <= 0.0)
        printLine(QStringLiteral("overspeed over"));

    if (m_silenceActive && m_silenceEnd.hasExpired()) {
        m_silenceActive = false;
        printLine(QStringLiteral("silence over"));
    }
    if (!silent() && m_model.isStreaming())
        sendLiveRecord();
}

void TrainerSimulator::readStdin()
{
    char buffer[1024];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        // End of input is not a request to quit: keep running until quit or a signal.
        m_stdinNotifier->setEnabled(false);
        if (!m_stdinBuffer.trimmed().isEmpty())
            handleConsoleLine(QString::fromLocal8Bit(m_stdinBuffer));
        m_stdinBuffer.clear();
        return;
    }
    m_stdinBuffer.append(buffer, int(n));
    int newline;
    while ((newline = m_stdinBuffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_stdinBuffer.left(newline);
        m_stdinBuffer.remove(0, newline + 1);
        handleConsoleLine(QString::fromLocal8Bit(line));
    }
}

void TrainerSimulator::handleConsoleLine(const QString &line)
{
    const ConsoleCommand command = ConsoleCommand::parse(line);
    switch (command.kind) {
    case ConsoleCommand::Kind::Empty:
        break;
    case ConsoleCommand::Kind::Spasm:
        m_model.triggerSpasm();
        printLine(QStringLiteral("fault spasm: the next record reports a spasm"));
        break;
    case ConsoleCommand::Kind::Estop:
        m_model.pressEmergency();
        printLine(QStringLiteral("fault estop: emergency stop pressed, session ended"));
        break;
    case ConsoleCommand::Kind::Release:
        m_model.releaseEmergency();
        printLine(QStringLiteral("fault release: emergency stop released"));
        break;
    case ConsoleCommand::Kind::Overspeed:
        m_model.startOverspeed(command.seconds);
        printLine(QStringLiteral("fault overspeed: %1 r/min for %2 s")
                      .arg(TrainerModel::kOverspeedRpm).arg(command.seconds));
        break;
    case ConsoleCommand::Kind::Silence:
        m_silenceActive = true;
        m_silenceEnd.setRemainingTime(qint64(command.seconds * 1000.0));
        printLine(QStringLiteral("fault silence: nothing answered or sent for %1 s").arg(command.seconds));
        break;
    case ConsoleCommand::Kind::Garbage: {
        QByteArray bytes(command.count, '\0');
        std::uniform_int_distribution<int> byteValue(0, 255);
        for (char &byte : bytes)
            byte = char(byteValue(m_random));
        if (silent()) {
            printLine(QStringLiteral("fault garbage: held back, the machine is silent"));
            break;
        }
        m_link->sendRaw(bytes);
        printLine(QStringLiteral("fault garbage: %1 bytes: %2").arg(bytes.size()).arg(HostCommandDecoder::hex(bytes, 32)));
        break;
    }
    case ConsoleCommand::Kind::Burst:
        if (silent()) {
            printLine(QStringLiteral("fault burst: held back, the machine is silent"));
            break;
        }
        // Consecutive records, each one record interval after the last, sent without pause.
        for (int i = 0; i < command.count; ++i) {
            m_model.advance(m_tickSeconds);
            sendLiveRecord();
        }
        printLine(QStringLiteral("fault burst: %1 live-data frames sent").arg(command.count));
        break;
    case ConsoleCommand::Kind::Status:
        printLine(statusText());
        break;
    case ConsoleCommand::Kind::Help:
        printLine(QStringLiteral("commands:\n") + ConsoleCommand::usage().trimmed());
        break;
    case ConsoleCommand::Kind::Quit:
        printLine(QStringLiteral("bye"));
        QCoreApplication::quit();
        break;
    case ConsoleCommand::Kind::Invalid:
        printLine(command.error);
        break;
    }
}

void TrainerSimulator::handleSignal()
{
    char number = 0;
    while (::read(s_signalPipe[0], &number, 1) == 1) {
    }
    printLine(QStringLiteral("signal received, exiting"));
    QCoreApplication::quit();
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
