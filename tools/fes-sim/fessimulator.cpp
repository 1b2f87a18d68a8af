#include "fessimulator.h"

#include "fesconsolecommand.h"
#include "fesptylink.h"
#include "fesreply.h"

#include <QCoreApplication>
#include <QMap>
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

// Battery levels are checked this often; a level change gets a line.
constexpr int kBatteryTickMs = 1000;

} // namespace

FesSimulator::FesSimulator(const FesSimOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_model(options.battery, options.drainPerMinute)
{
    for (const FesBoxOption &box : m_options.boxes)
        m_model.addBox(box.number, box.mac);
}

FesSimulator::~FesSimulator()
{
    if (s_signalPipe[0] >= 0) {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        ::close(s_signalPipe[0]);
        ::close(s_signalPipe[1]);
        s_signalPipe[0] = s_signalPipe[1] = -1;
    }
}

void FesSimulator::printLine(const QString &line)
{
    // Readers sit behind a pipe: every line goes out at once.
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool FesSimulator::installSignalHandlers()
{
    if (::pipe2(s_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    // A reader of stdout that goes away must not kill the adapter through a broken pipe.
    std::signal(SIGPIPE, SIG_IGN);
    m_signalNotifier = new QSocketNotifier(s_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_signalNotifier, &QSocketNotifier::activated, this, &FesSimulator::handleSignal);
    return true;
}

bool FesSimulator::start()
{
    if (!installSignalHandlers()) {
        std::fprintf(stderr, "cannot watch for signals\n");
        return false;
    }
    m_link = new FesPtyLink(this);
    if (!m_link->open(m_options.linkPath)) {
        std::fprintf(stderr, "%s\n", m_link->error().toLocal8Bit().constData());
        return false;
    }
    connect(m_link, &FesPtyLink::frameReceived, this, &FesSimulator::handleFrame);
    connect(m_link, &FesPtyLink::notice, this, &FesSimulator::printLine);

    printLine(QStringLiteral("pty: %1").arg(m_link->ptyPath()));
    if (!m_link->linkPath().isEmpty())
        printLine(QStringLiteral("link: %1 -> %2").arg(m_link->linkPath(), m_link->ptyPath()));
    for (const QString &line : m_model.statusLines())
        printLine(line);
    printLine(QStringLiteral("ready: battery drain %1 %/min, %2 ms between replies; type help for commands")
                  .arg(m_options.drainPerMinute)
                  .arg(m_options.reportIntervalMs));

    // Standard input may be closed or /dev/null (started in the background); both are fine.
    if (::fcntl(STDIN_FILENO, F_GETFD) != -1) {
        m_stdinNotifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(m_stdinNotifier, &QSocketNotifier::activated, this, &FesSimulator::readStdin);
    }

    m_paceTimer = new QTimer(this);
    m_paceTimer->setSingleShot(true);
    m_paceTimer->setInterval(m_options.reportIntervalMs);
    connect(m_paceTimer, &QTimer::timeout, this, &FesSimulator::sendNextPending);

    m_clock.start();
    m_batteryTimer = new QTimer(this);
    m_batteryTimer->setInterval(kBatteryTickMs);
    connect(m_batteryTimer, &QTimer::timeout, this, &FesSimulator::advanceClock);
    m_batteryTimer->start();
    return true;
}

void FesSimulator::advanceClock()
{
    const qint64 now = m_clock.elapsed();
    const double seconds = double(now - m_clockMs) / 1000.0;
    m_clockMs = now;
    QMap<int, int> before;
    for (int number : m_model.boxNumbers())
        before.insert(number, m_model.box(number)->level());
    m_model.advance(seconds);
    for (int number : m_model.boxNumbers()) {
        const int level = m_model.box(number)->level();
        if (level != before.value(number))
            printLine(QStringLiteral("box %1 battery %2 %").arg(number).arg(level));
    }
}

void FesSimulator::handleFrame(const QByteArray &frame)
{
    // Bring the batteries up to date first, so a query answers with the level of this moment.
    advanceClock();
    const FesHostCommand command = FesCommandDecoder::decode(frame);
    const QString checksum = FesCommandDecoder::checksumNote(command);
    if (!checksum.isEmpty())
        printLine(checksum);
    printLine(FesCommandDecoder::describe(command));
    apply(m_model.handle(command));
}

void FesSimulator::apply(const FesAdapterModel::Response &response)
{
    for (const QString &note : response.notes)
        printLine(QStringLiteral("  ") + note);
    for (const QByteArray &payload : response.replies) {
        // Consecutive replies keep their distance, as the adapter reports one box at a time.
        if (m_options.reportIntervalMs > 0 && (m_paceTimer->isActive() || !m_pending.isEmpty()))
            m_pending << payload;
        else
            transmit(payload);
    }
}

void FesSimulator::transmit(const QByteArray &payload)
{
    m_link->sendPayload(payload);
    printLine(FesReply::describe(payload));
    if (m_options.reportIntervalMs > 0)
        m_paceTimer->start();
}

void FesSimulator::sendNextPending()
{
    if (!m_pending.isEmpty())
        transmit(m_pending.takeFirst());
}

void FesSimulator::readStdin()
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

void FesSimulator::handleConsoleLine(const QString &line)
{
    advanceClock();
    const FesConsoleCommand command = FesConsoleCommand::parse(line);
    switch (command.kind) {
    case FesConsoleCommand::Kind::Empty:
        break;
    case FesConsoleCommand::Kind::Drop:
        printLine(QStringLiteral("fault drop %1").arg(command.box));
        apply(m_model.drop(command.box));
        break;
    case FesConsoleCommand::Kind::Off:
        printLine(QStringLiteral("fault off %1").arg(command.box));
        apply(m_model.powerOff(command.box));
        break;
    case FesConsoleCommand::Kind::On:
        printLine(QStringLiteral("on %1").arg(command.box));
        apply(m_model.powerOn(command.box));
        break;
    case FesConsoleCommand::Kind::Battery:
        printLine(QStringLiteral("battery %1 %2").arg(command.box).arg(command.level));
        apply(m_model.setBattery(command.box, command.level));
        break;
    case FesConsoleCommand::Kind::Status:
        printLine(statusText());
        break;
    case FesConsoleCommand::Kind::Help:
        printLine(QStringLiteral("commands:\n") + FesConsoleCommand::usage().trimmed());
        break;
    case FesConsoleCommand::Kind::Quit:
        printLine(QStringLiteral("bye"));
        QCoreApplication::quit();
        break;
    case FesConsoleCommand::Kind::Invalid:
        printLine(command.error);
        break;
    }
}

void FesSimulator::handleSignal()
{
    char number = 0;
    while (::read(s_signalPipe[0], &number, 1) == 1) {
    }
    printLine(QStringLiteral("signal received, exiting"));
    QCoreApplication::quit();
}

QString FesSimulator::statusText() const
{
    QString text = QStringLiteral("status: pty %1, rx %2 frames, tx %3 frames, %4 replies waiting")
                       .arg(m_link->ptyPath())
                       .arg(m_link->framesReceived())
                       .arg(m_link->framesSent())
                       .arg(m_pending.size());
    for (const QString &line : m_model.statusLines())
        text += QStringLiteral("\n  ") + line;
    return text;
}
