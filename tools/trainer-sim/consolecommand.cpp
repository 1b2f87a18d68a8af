#include "consolecommand.h"

#include <QStringList>

namespace {

constexpr double kMaxSeconds = 3600.0;
constexpr int kMaxGarbageBytes = 4096;
constexpr int kMaxBurst = 10000;

ConsoleCommand invalid(const QString &error)
{
    ConsoleCommand command;
    command.kind = ConsoleCommand::Kind::Invalid;
    command.error = error;
    return command;
}

bool readSeconds(const QString &text, double &seconds)
{
    bool ok = false;
    seconds = text.toDouble(&ok);
    return ok && seconds > 0.0 && seconds <= kMaxSeconds;
}

bool readCount(const QString &text, int max, int &count)
{
    bool ok = false;
    count = text.toInt(&ok);
    return ok && count > 0 && count <= max;
}

} // namespace

ConsoleCommand ConsoleCommand::parse(const QString &line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ConsoleCommand command;
    if (words.isEmpty())
        return command;
    const QString name = words.first().toLower();
    const int arguments = words.size() - 1;
    const auto noArguments = [&](Kind kind) {
        if (arguments != 0)
            return invalid(QStringLiteral("%1 takes no argument").arg(name));
        ConsoleCommand plain;
        plain.kind = kind;
        return plain;
    };

    if (name == QLatin1String("spasm"))
        return noArguments(Kind::Spasm);
    if (name == QLatin1String("estop"))
        return noArguments(Kind::Estop);
    if (name == QLatin1String("release"))
        return noArguments(Kind::Release);
    if (name == QLatin1String("status"))
        return noArguments(Kind::Status);
    if (name == QLatin1String("help") || name == QLatin1String("?"))
        return noArguments(Kind::Help);
    if (name == QLatin1String("quit") || name == QLatin1String("exit"))
        return noArguments(Kind::Quit);

    if (name == QLatin1String("overspeed")) {
        command.kind = Kind::Overspeed;
        command.seconds = kDefaultOverspeedSeconds;
        if (arguments > 1 || (arguments == 1 && !readSeconds(words.at(1), command.seconds)))
            return invalid(QStringLiteral("usage: overspeed [SECONDS]"));
        return command;
    }
    if (name == QLatin1String("silence")) {
        command.kind = Kind::Silence;
        if (arguments != 1 || !readSeconds(words.at(1), command.seconds))
            return invalid(QStringLiteral("usage: silence SECONDS"));
        return command;
    }
    if (name == QLatin1String("garbage")) {
        command.kind = Kind::Garbage;
        command.count = kDefaultGarbageBytes;
        if (arguments > 1 || (arguments == 1 && !readCount(words.at(1), kMaxGarbageBytes, command.count)))
            return invalid(QStringLiteral("usage: garbage [BYTES], at most %1").arg(kMaxGarbageBytes));
        return command;
    }
    if (name == QLatin1String("burst")) {
        command.kind = Kind::Burst;
        if (arguments != 1 || !readCount(words.at(1), kMaxBurst, command.count))
            return invalid(QStringLiteral("usage: burst FRAMES, at most %1").arg(kMaxBurst));
        return command;
    }
    return invalid(QStringLiteral("unknown command '%1'; commands: spasm, estop, release, overspeed [SECONDS], "
                                  "silence SECONDS, garbage [BYTES], burst FRAMES, status, help, quit").arg(name));
}

QString ConsoleCommand::usage()
{
    return QStringLiteral(
        "  spasm               the next live record reports a spasm (once)\n"
        "  estop               press the emergency stop: the session ends, records report it\n"
        "                      (and keep coming) until release\n"
        "  release             release the emergency stop\n"
        "  overspeed [SECONDS] report 120 r/min on the cranks in use for SECONDS (default 5),\n"
        "                      streaming even when no session runs\n"
        "  silence SECONDS     answer nothing and send nothing for SECONDS\n"
        "  garbage [BYTES]     send BYTES random bytes between frames (default 16);\n"
        "                      over UDP as one datagram\n"
        "  burst FRAMES        send FRAMES live-data frames at once\n"
        "  status              print the machine's state\n"
        "  help                print this list\n"
        "  quit                exit\n");
}
