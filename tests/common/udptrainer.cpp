#include "udptrainer.h"

#include "app/configmanager.h"
#include "simprocess.h"
#include "testworkdir.h"

#include <QRegularExpression>
#include <QTest>
#include <QUdpSocket>

bool startUdpTrainer(SimProcess &trainer, const TestWorkDir &dir, const QStringList &extraArguments)
{
    quint16 hostPort = 0;
    {
        QUdpSocket probe;
        if (!probe.bind(QHostAddress(QHostAddress::LocalHost), 0))
            return false;
        hostPort = probe.localPort();
    }
    trainer.start(QStringList{QStringLiteral("--udp-bind"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--udp-peer"),
                              QStringLiteral("127.0.0.1:%1").arg(hostPort)}
                      + extraArguments,
                  dir.path());
    if (!QTest::qWaitFor([&] { return trainer.hasLine(QStringLiteral("ready:")); }, 5000))
        return false;
    const QRegularExpressionMatch bound = QRegularExpression(QStringLiteral("^udp: bound [^ ]+:(\\d+),"))
                                              .match(trainer.line(QStringLiteral("udp: bound")));
    if (!bound.hasMatch())
        return false;
    const QString xml = QStringLiteral(
        "<config><communicateType type=\"1\"/><udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>"
        "<udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/></config>").arg(hostPort).arg(bound.captured(1));
    return dir.write(QStringLiteral("DependFile/ConfigFile/config.xml"), xml.toUtf8())
           && ConfigManager::getInstance()->readConfigFile();
}
