#include "fessimoptions.h"

#include "fesconsolecommand.h"

#include <QCommandLineParser>

FesSimOptions::Outcome FesSimOptions::parse(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated FES Bluetooth adapter with up to four stimulation boxes. Serves a pseudo-terminal\n"
        "(its path is printed as \"pty: PATH\"; point serialPortA of config.xml at it), answers\n"
        "searches, connects, disconnects and battery queries, and prints every frame it receives."));
    const QCommandLineOption boxOption(QStringLiteral("box"),
        QStringLiteral("A box that is switched on: number 1 to 4 and its MAC as 12 hexadecimal digits; "
                       "repeatable (default: 1=A1B2C3D4E5F6 and 2=A1B2C3D4E5F7)."),
        QStringLiteral("N=MAC"));
    const QCommandLineOption linkOption(QStringLiteral("link"),
        QStringLiteral("Also make PATH a symbolic link to the pseudo-terminal (removed at exit)."),
        QStringLiteral("PATH"));
    const QCommandLineOption batteryOption(QStringLiteral("battery"),
        QStringLiteral("Battery level of every box at start, 0 to 100 percent (default 100)."),
        QStringLiteral("N"), QStringLiteral("100"));
    const QCommandLineOption drainOption(QStringLiteral("drain"),
        QStringLiteral("Battery percent a connected box loses per minute (default 1; 0 keeps it)."),
        QStringLiteral("PER_MINUTE"), QStringLiteral("1"));
    const QCommandLineOption intervalOption(QStringLiteral("report-interval"),
        QStringLiteral("Milliseconds between consecutive replies, e.g. the boxes a search reports "
                       "(default 100; 0 sends them at once)."),
        QStringLiteral("MS"), QStringLiteral("100"));
    const Outcome outcome = parseCommon(parser,
                                        {boxOption, linkOption, batteryOption, drainOption, intervalOption},
                                        args, FesConsoleCommand::usage());
    if (outcome != Outcome::Run)
        return outcome;
    if (parser.isSet(boxOption) && !FesBoxOption::parseAll(parser.values(boxOption), &boxes, &m_error))
        return Outcome::Error;
    linkPath = parser.value(linkOption);

    bool ok = false;
    battery = parser.value(batteryOption).toInt(&ok);
    if (!ok || battery < 0 || battery > 100) {
        m_error = QStringLiteral("--battery wants 0 to 100");
        return Outcome::Error;
    }
    drainPerMinute = parser.value(drainOption).toDouble(&ok);
    if (!ok || drainPerMinute < 0.0 || drainPerMinute > 100.0) {
        m_error = QStringLiteral("--drain wants 0 to 100 percent per minute");
        return Outcome::Error;
    }
    reportIntervalMs = parser.value(intervalOption).toInt(&ok);
    if (!ok || reportIntervalMs < 0 || reportIntervalMs > 5000) {
        m_error = QStringLiteral("--report-interval wants 0 to 5000 ms");
        return Outcome::Error;
    }
    return Outcome::Run;
}
