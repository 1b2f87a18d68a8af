#include "simoptions.h"

#include "app/configmanager.h"
#include "consolecommand.h"

#include <QCommandLineParser>
#include <QFile>

QString SimOptions::Endpoint::text() const
{
    return QStringLiteral("%1:%2").arg(address.toString()).arg(port);
}

bool SimOptions::parseEndpoint(const QString &text, Endpoint &endpoint, bool allowPortZero)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QHostAddress address;
    if (!address.setAddress(text.left(colon)))
        return false;
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    if (!ok || port > 65535 || (port == 0 && !allowPortZero))
        return false;
    endpoint.address = address;
    endpoint.port = quint16(port);
    return true;
}

void SimOptions::readConfig()
{
    if (!QFile::exists(QString::fromLatin1(ConfigManager::kConfigFilePath)))
        return;
    ConfigManager config;
    if (!config.readConfigFile())
        return;
    // The program binds udpServerAddress and sends to udpClientAddress, so the roles swap here.
    quint16 port = 0;
    QString ip;
    QStringList taken;
    if (config.getUdpClientAddress(port, ip) && QHostAddress(ip).protocol() != QAbstractSocket::UnknownNetworkLayerProtocol) {
        udpBind = {QHostAddress(ip), port};
        taken << QStringLiteral("udp bind");
    }
    if (config.getUdpServerAddress(port, ip) && QHostAddress(ip).protocol() != QAbstractSocket::UnknownNetworkLayerProtocol) {
        udpPeer = {QHostAddress(ip), port};
        taken << QStringLiteral("udp peer");
    }
    if (config.getTcpAddress(port, ip) && QHostAddress(ip).protocol() != QAbstractSocket::UnknownNetworkLayerProtocol) {
        tcpListen = {QHostAddress(ip), port};
        taken << QStringLiteral("tcp address");
    }
    if (!taken.isEmpty())
        configNote = QStringLiteral("defaults read from %1: %2").arg(QString::fromLatin1(ConfigManager::kConfigFilePath), taken.join(QStringLiteral(", ")));
}

SimOptions::Outcome SimOptions::parse(const QStringList &args)
{
    // "--tcp" may stand alone; give it an empty value so the parser accepts both forms.
    QStringList arguments = args;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) != QLatin1String("--tcp"))
            continue;
        const bool valueFollows = i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1Char('-'))
                                  && arguments.at(i + 1).contains(QLatin1Char(':'));
        if (!valueFollows)
            arguments[i] = QStringLiteral("--tcp=");
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated Rotaflex trainer: plays the motor controller's side of the link, answers\n"
        "heartbeats and version queries and streams live data while a session runs.\n"
        "Link addresses default to ./DependFile/ConfigFile/config.xml when present\n"
        "(udpClientAddress is bound, udpServerAddress is the peer), else to the values shown."));
    const QCommandLineOption udpBindOption(QStringLiteral("udp-bind"),
        QStringLiteral("UDP: bind here (default 127.0.0.1:32101; port 0 picks a free one)."), QStringLiteral("IP:PORT"));
    const QCommandLineOption udpPeerOption(QStringLiteral("udp-peer"),
        QStringLiteral("UDP: send to here (default 127.0.0.1:32100)."), QStringLiteral("IP:PORT"));
    const QCommandLineOption serialOption(QStringLiteral("serial"),
        QStringLiteral("Serve a pseudo-terminal instead of UDP; its path is printed as \"pty: PATH\"."));
    const QCommandLineOption linkOption(QStringLiteral("link"),
        QStringLiteral("With --serial: also make PATH a symbolic link to the pseudo-terminal (removed at exit)."),
        QStringLiteral("PATH"));
    const QCommandLineOption tcpOption(QStringLiteral("tcp"),
        QStringLiteral("Serve TCP instead of UDP, one client at a time; written \"--tcp\" or \"--tcp IP:PORT\" "
                       "(default 127.0.0.1:32102; port 0 picks a free one)."),
        QStringLiteral("IP:PORT"));
    const QCommandLineOption rateOption(QStringLiteral("rate"),
        QStringLiteral("Live-data records per second, 1 to 200 (default 20)."), QStringLiteral("N"), QStringLiteral("20"));
    const QCommandLineOption stageOption(QStringLiteral("stage-period"),
        QStringLiteral("Modes 7 and 10: seconds between the passive/active stage switches (default 30)."),
        QStringLiteral("SECONDS"), QStringLiteral("30"));
    const QCommandLineOption watchdogOption(QStringLiteral("watchdog"),
        QStringLiteral("Seconds without a heartbeat from the host before a running motor stops (default 3)."),
        QStringLiteral("SECONDS"), QStringLiteral("3"));
    const QCommandLineOption versionOption(QStringLiteral("version"),
        QStringLiteral("Version text reported to the host, at most 4 bytes (default V2.1)."),
        QStringLiteral("TEXT"), QStringLiteral("V2.1"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
        QStringLiteral("Seed of the balance noise and the garbage bytes (default: random)."), QStringLiteral("N"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
        QStringLiteral("Also print one line per frame sent."));
    const Outcome outcome = parseCommon(parser,
                                        {udpBindOption, udpPeerOption, serialOption, linkOption, tcpOption,
                                         rateOption, stageOption, watchdogOption, versionOption, seedOption, verboseOption},
                                        arguments, ConsoleCommand::usage());
    if (outcome != Outcome::Run)
        return outcome;

    readConfig();

    if (parser.isSet(serialOption) && parser.isSet(tcpOption)) {
        m_error = QStringLiteral("--serial and --tcp exclude each other");
        return Outcome::Error;
    }
    if (parser.isSet(serialOption))
        link = LinkKind::Serial;
    if (parser.isSet(tcpOption)) {
        link = LinkKind::Tcp;
        const QString value = parser.value(tcpOption);
        if (!value.isEmpty() && !parseEndpoint(value, tcpListen, true)) {
            m_error = QStringLiteral("--tcp wants IP:PORT, got '%1'").arg(value);
            return Outcome::Error;
        }
    }
    if (parser.isSet(linkOption)) {
        if (link != LinkKind::Serial) {
            m_error = QStringLiteral("--link needs --serial");
            return Outcome::Error;
        }
        linkPath = parser.value(linkOption);
    }
    if (parser.isSet(udpBindOption) && !parseEndpoint(parser.value(udpBindOption), udpBind, true)) {
        m_error = QStringLiteral("--udp-bind wants IP:PORT, got '%1'").arg(parser.value(udpBindOption));
        return Outcome::Error;
    }
    if (parser.isSet(udpPeerOption) && !parseEndpoint(parser.value(udpPeerOption), udpPeer, false)) {
        m_error = QStringLiteral("--udp-peer wants IP:PORT, got '%1'").arg(parser.value(udpPeerOption));
        return Outcome::Error;
    }

    bool ok = false;
    rate = parser.value(rateOption).toInt(&ok);
    if (!ok || rate < 1 || rate > 200) {
        m_error = QStringLiteral("--rate wants 1 to 200");
        return Outcome::Error;
    }
    stagePeriod = parser.value(stageOption).toDouble(&ok);
    if (!ok || stagePeriod <= 0.0) {
        m_error = QStringLiteral("--stage-period wants a positive number of seconds");
        return Outcome::Error;
    }
    watchdog = parser.value(watchdogOption).toDouble(&ok);
    if (!ok || watchdog <= 0.0) {
        m_error = QStringLiteral("--watchdog wants a positive number of seconds");
        return Outcome::Error;
    }
    versionText = parser.value(versionOption).toUtf8();
    if (versionText.size() > 4) {
        m_error = QStringLiteral("--version text is at most 4 bytes (the host reads no more)");
        return Outcome::Error;
    }
    if (parser.isSet(seedOption)) {
        seed = parser.value(seedOption).toUInt(&ok);
        if (!ok) {
            m_error = QStringLiteral("--seed wants an unsigned number");
            return Outcome::Error;
        }
        seedGiven = true;
    }
    verbose = parser.isSet(verboseOption);
    return Outcome::Run;
}
