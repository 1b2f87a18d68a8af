#pragma once

#include "tools/simcommon/tooloptions.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QStringList>

// The simulator's command line, with the link addresses defaulting to the installation's
// config.xml when the working folder holds one.
class SimOptions : public ToolOptions
{
public:
    enum class LinkKind { Udp, Serial, Tcp };

    struct Endpoint
    {
        QHostAddress address;
        quint16 port = 0;
        QString text() const;
    };

    // args includes the program name, as QCoreApplication::arguments() gives it.
    Outcome parse(const QStringList &args);

    LinkKind link = LinkKind::Udp;
    Endpoint udpBind{QHostAddress(QHostAddress::LocalHost), 32101};
    Endpoint udpPeer{QHostAddress(QHostAddress::LocalHost), 32100};
    Endpoint tcpListen{QHostAddress(QHostAddress::LocalHost), 32102};
    QString linkPath;
    int rate = 20;
    double stagePeriod = 30.0;
    double watchdog = 3.0; // seconds without a heartbeat before the motor stops
    QByteArray versionText = "V2.1";
    bool verbose = false;
    bool seedGiven = false;
    quint32 seed = 1;
    QString configNote; // what was taken from config.xml, for the start-up lines

    static bool parseEndpoint(const QString &text, Endpoint &endpoint, bool allowPortZero);

private:
    void readConfig();
};
