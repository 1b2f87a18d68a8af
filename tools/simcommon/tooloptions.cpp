#include "tooloptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <cstdio>

std::optional<int> ToolOptions::exitBeforeRun(Outcome outcome) const
{
    switch (outcome) {
    case Outcome::ShowHelp:
        std::fputs(m_helpText.toLocal8Bit().constData(), stdout);
        return 0;
    case Outcome::Error:
        std::fprintf(stderr, "%s (see --help)\n", m_error.toLocal8Bit().constData());
        return 2;
    case Outcome::Run:
        break;
    }
    return std::nullopt;
}

ToolOptions::Outcome ToolOptions::parseCommon(QCommandLineParser &parser, const QList<QCommandLineOption> &options,
                                              const QStringList &args, const QString &consoleUsage)
{
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
    parser.addOption(helpOption);
    parser.addOptions(options);

    m_helpText = parser.helpText();
    if (!consoleUsage.isEmpty())
        m_helpText += QStringLiteral("\nCommands on standard input (end of input does not quit):\n") + consoleUsage
                      + QStringLiteral("\nExit with quit, SIGINT or SIGTERM.\n");

    if (!parser.parse(args)) {
        m_error = parser.errorText();
        return Outcome::Error;
    }
    if (parser.isSet(helpOption))
        return Outcome::ShowHelp;
    if (!parser.positionalArguments().isEmpty()) {
        m_error = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return Outcome::Error;
    }
    return Outcome::Run;
}
