#include "fessimulator.h"

#include "fesconsolecommand.h"
#include "fesptylink.h"
#include "fesreply.h"
#include "tools/simcommon/console.h"
#include "tools/simcommon/quitsignals.h"

#include <QCoreApplication>
#include <QMap>
#include <QTimer>

#include <cstdio>

namespace {

// Battery levels are checked this often; a level change gets a line.
constexpr int kBatteryTickMs = 1000;

} // namespace

FesSimulator::FesSimulator(const FesSimOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_model(options.battery, options.drainPerMinute)
{
    for (const FesBoxOption &box : m_options.boxes)
        m_model.addBox(box.number, box.mac);
}

bool FesSimulator::start()
{
    auto *quitSignals = new QuitSignals(this);
    if (!quitSignals->install()) {
        std::fprintf(stderr, "cannot watch for signals\n");
        return false;
    }
    m_link = new FesPtyLink(this);
    if (!m_link->open(m_options.linkPath)) {
        std::fprintf(stderr, "%s\n", m_link->error().toLocal8Bit().constData());
        return false;
    }
    connect(m_link, &FesPtyLink::frameReceived, this, &FesSimulator::handleFrame);
    connect(m_link, &FesPtyLink::notice, this, &Console::printLine);

    Console::printLine(QStringLiteral("pty: %1").arg(m_link->ptyPath()));
    if (!m_link->linkPath().isEmpty())
        Console::printLine(QStringLiteral("link: %1 -> %2").arg(m_link->linkPath(), m_link->ptyPath()));
    for (const QString &line : m_model.statusLines())
        Console::printLine(line);
    Console::printLine(QStringLiteral("ready: battery drain %1 %/min, %2 ms between replies; type help for commands")
                           .arg(m_options.drainPerMinute)
                           .arg(m_options.reportIntervalMs));

    m_console = new Console(this);
    connect(m_console, &Console::lineEntered, this, &FesSimulator::handleConsoleLine);
    m_console->watchInput();

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
            Console::printLine(QStringLiteral("box %1 battery %2 %").arg(number).arg(level));
    }
}

void FesSimulator::handleFrame(const QByteArray &frame)
{
    // Bring the batteries up to date first, so a query answers with the level of this moment.
    advanceClock();
    const FesHostCommand command = FesCommandDecoder::decode(frame);
    const QString checksum = FesCommandDecoder::checksumNote(command);
    if (!checksum.isEmpty())
        Console::printLine(checksum);
    Console::printLine(FesCommandDecoder::describe(command));
    apply(m_model.handle(command));
}

void FesSimulator::apply(const FesAdapterModel::Response &response)
{
    for (const QString &note : response.notes)
        Console::printLine(QStringLiteral("  ") + note);
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
    Console::printLine(FesReply::describe(payload));
    if (m_options.reportIntervalMs > 0)
        m_paceTimer->start();
}

void FesSimulator::sendNextPending()
{
    if (!m_pending.isEmpty())
        transmit(m_pending.takeFirst());
}

void FesSimulator::handleConsoleLine(const QString &line)
{
    advanceClock();
    const FesConsoleCommand command = FesConsoleCommand::parse(line);
    switch (command.kind) {
    case FesConsoleCommand::Kind::Empty:
        break;
    case FesConsoleCommand::Kind::Drop:
        Console::printLine(QStringLiteral("fault drop %1").arg(command.box));
        apply(m_model.drop(command.box));
        break;
    case FesConsoleCommand::Kind::Off:
        Console::printLine(QStringLiteral("fault off %1").arg(command.box));
        apply(m_model.powerOff(command.box));
        break;
    case FesConsoleCommand::Kind::On:
        Console::printLine(QStringLiteral("on %1").arg(command.box));
        apply(m_model.powerOn(command.box));
        break;
    case FesConsoleCommand::Kind::Battery:
        Console::printLine(QStringLiteral("battery %1 %2").arg(command.box).arg(command.level));
        apply(m_model.setBattery(command.box, command.level));
        break;
    case FesConsoleCommand::Kind::Status:
        Console::printLine(statusText());
        break;
    case FesConsoleCommand::Kind::Help:
        Console::printLine(QStringLiteral("commands:\n") + FesConsoleCommand::usage().trimmed());
        break;
    case FesConsoleCommand::Kind::Quit:
        Console::printLine(QStringLiteral("bye"));
        QCoreApplication::quit();
        break;
    case FesConsoleCommand::Kind::Invalid:
        Console::printLine(command.error);
        break;
    }
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
