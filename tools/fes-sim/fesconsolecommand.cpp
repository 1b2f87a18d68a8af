#include "fesconsolecommand.h"

#include "fes/fesprotocol.h"

#include <QStringList>

namespace {

FesConsoleCommand invalid(const QString &error)
{
    FesConsoleCommand command;
    command.kind = FesConsoleCommand::Kind::Invalid;
    command.error = error;
    return command;
}

bool readNumber(const QString &text, int min, int max, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= min && value <= max;
}

} // namespace

FesConsoleCommand FesConsoleCommand::parse(const QString &line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    FesConsoleCommand command;
    if (words.isEmpty())
        return command;
    const QString name = words.first().toLower();
    const int arguments = words.size() - 1;

    const auto plain = [&](Kind kind) {
        if (arguments != 0)
            return invalid(QStringLiteral("%1 takes no argument").arg(name));
        FesConsoleCommand simple;
        simple.kind = kind;
        return simple;
    };
    const auto onBox = [&](Kind kind) {
        FesConsoleCommand boxCommand;
        boxCommand.kind = kind;
        if (arguments != 1 || !readNumber(words.at(1), 1, FesProtocol::kDeviceCount, boxCommand.box))
            return invalid(QStringLiteral("usage: %1 N (box 1 to %2)").arg(name).arg(FesProtocol::kDeviceCount));
        return boxCommand;
    };

    if (name == QLatin1String("drop"))
        return onBox(Kind::Drop);
    if (name == QLatin1String("off"))
        return onBox(Kind::Off);
    if (name == QLatin1String("on"))
        return onBox(Kind::On);
    if (name == QLatin1String("battery")) {
        command.kind = Kind::Battery;
        if (arguments != 2 || !readNumber(words.at(1), 1, FesProtocol::kDeviceCount, command.box)
            || !readNumber(words.at(2), 0, 100, command.level))
            return invalid(QStringLiteral("usage: battery N LEVEL (box 1 to %1, level 0 to 100)").arg(FesProtocol::kDeviceCount));
        return command;
    }
    if (name == QLatin1String("status"))
        return plain(Kind::Status);
    if (name == QLatin1String("help") || name == QLatin1String("?"))
        return plain(Kind::Help);
    if (name == QLatin1String("quit") || name == QLatin1String("exit"))
        return plain(Kind::Quit);
    return invalid(QStringLiteral("unknown command '%1'; commands: drop N, off N, on N, battery N LEVEL, "
                                  "status, help, quit").arg(name));
}

QString FesConsoleCommand::usage()
{
    return QStringLiteral(
        "  drop N              box N loses its link: the adapter reports it disconnected (0x7E);\n"
        "                      it stays switched on, so the program can connect it again\n"
        "  off N               box N switches itself off: reported powered off (0x7A) if it was\n"
        "                      connected; searches no longer find it until on N\n"
        "  on N                box N is switched on again; the next search reports it\n"
        "  battery N LEVEL     set the battery level of box N to LEVEL percent (0 to 100)\n"
        "  status              print every box: switched on, connected, battery, channel settings\n"
        "  help                print this list\n"
        "  quit                exit\n");
}
