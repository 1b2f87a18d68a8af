#include "demogameoptions.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// A port for --port-in / --port-out: 1 to 65535.
bool readPort(const QString &text, quint16 &port)
{
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value == 0 || value > 65535)
        return false;
    port = quint16(value);
    return true;
}

} // namespace

const QStringList &DemoGameOptions::catalogueTitles()
{
    static const QStringList titles{QStringLiteral("GM01_Alpha"), QStringLiteral("GM02_Bravo"),
                                    QStringLiteral("GM03_Charlie"), QStringLiteral("GM04_Delta")};
    return titles;
}

QString DemoGameOptions::titleForProgram(const QString &programPath)
{
    const QString name = QFileInfo(programPath).completeBaseName();
    return catalogueTitles().contains(name) ? name : catalogueTitles().first();
}

DemoGameOptions::Outcome DemoGameOptions::parse(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Rotaflex demo game: a cycling scene driven by the trainer's live data over the game link.\n"
        "Started as GM01_Alpha ... GM04_Delta it takes that window title; under any other name\n"
        "the title is GM01_Alpha unless --window-title gives one.\n"
        "With ROTAFLEX_DEMO_GAME_LOG=FILE set it appends its state lines (as --verbose) to FILE."));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
        QStringLiteral("Window size (default 1920x980)."), QStringLiteral("WxH"), QStringLiteral("1920x980"));
    const QCommandLineOption titleOption(QStringLiteral("window-title"),
        QStringLiteral("Window title instead of the one the program name gives."), QStringLiteral("TITLE"));
    const QCommandLineOption portInOption(QStringLiteral("port-in"),
        QStringLiteral("Loopback port the game listens on (default 12000)."), QStringLiteral("PORT"),
        QStringLiteral("12000"));
    const QCommandLineOption portOutOption(QStringLiteral("port-out"),
        QStringLiteral("Loopback port of the host (default 2100)."), QStringLiteral("PORT"), QStringLiteral("2100"));
    const QCommandLineOption silentOption(QStringLiteral("host-silent"),
        QStringLiteral("Do not report to the host that the game runs."));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
        QStringLiteral("Print state changes (started, paused, speed ...) on standard output."));
    const QCommandLineOption snapshotOption(QStringLiteral("snapshot"),
        QStringLiteral("Render one frame with sample data to a PNG file and exit."), QStringLiteral("FILE"));
    const QCommandLineOption snapshotStateOption(QStringLiteral("snapshot-state"),
        QStringLiteral("With --snapshot: waiting, running (default) or paused."), QStringLiteral("STATE"),
        QStringLiteral("running"));
    const Outcome outcome = parseCommon(parser,
                                        {sizeOption, titleOption, portInOption, portOutOption, silentOption,
                                         verboseOption, snapshotOption, snapshotStateOption},
                                        args);
    if (outcome != Outcome::Run)
        return outcome;

    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$")).match(parser.value(sizeOption));
    if (!size.hasMatch()) {
        m_error = QStringLiteral("--size wants WIDTHxHEIGHT, got '%1'").arg(parser.value(sizeOption));
        return Outcome::Error;
    }
    this->size = QSize(size.captured(1).toInt(), size.captured(2).toInt());
    if (this->size.width() < 160 || this->size.height() < 90 || this->size.width() > 7680
        || this->size.height() > 4320) {
        m_error = QStringLiteral("--size wants 160x90 to 7680x4320");
        return Outcome::Error;
    }
    title = parser.isSet(titleOption) ? parser.value(titleOption) : titleForProgram(args.value(0));
    if (!readPort(parser.value(portInOption), portIn) || !readPort(parser.value(portOutOption), portOut)) {
        m_error = QStringLiteral("--port-in and --port-out want 1 to 65535");
        return Outcome::Error;
    }
    hostSilent = parser.isSet(silentOption);
    verbose = parser.isSet(verboseOption);
    logFile = qEnvironmentVariable(kLogVariable);
    snapshotFile = parser.value(snapshotOption);
    const QString state = parser.value(snapshotStateOption);
    if (state == QLatin1String("waiting")) {
        snapshotState = SnapshotState::Waiting;
    } else if (state == QLatin1String("paused")) {
        snapshotState = SnapshotState::Paused;
    } else if (state == QLatin1String("running")) {
        snapshotState = SnapshotState::Running;
    } else {
        m_error = QStringLiteral("--snapshot-state wants waiting, running or paused");
        return Outcome::Error;
    }
    return Outcome::Run;
}
