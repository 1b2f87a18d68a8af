#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QCommandLineOption;
class QCommandLineParser;

// What the tools' command lines have in common: -h/--help, no positional arguments, the help on
// stdout with exit code 0 and an error on stderr with exit code 2.
class ToolOptions
{
public:
    enum class Outcome { Run, ShowHelp, Error };

    QString helpText() const { return m_helpText; }
    QString error() const { return m_error; }

    // For main: prints the help or the error and gives the exit code; nothing to run.
    std::optional<int> exitBeforeRun(Outcome outcome) const;

protected:
    // Adds -h/--help ahead of options and parses args (with the program name). A non-empty
    // consoleUsage is appended to the help as the commands read from standard input.
    Outcome parseCommon(QCommandLineParser &parser, const QList<QCommandLineOption> &options,
                        const QStringList &args, const QString &consoleUsage = QString());

    QString m_helpText;
    QString m_error;
};
