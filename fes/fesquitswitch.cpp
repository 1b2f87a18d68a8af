#include "fes/fesquitswitch.h"

#include "app/configmanager.h"
#include "fes/fescontroldialog.h"
#include "fes/fesframe.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSerialPort>

void FesQuitSwitch::install(QCoreApplication *app)
{
    auto *quitSwitch = new FesQuitSwitch(app);
    connect(app, &QCoreApplication::aboutToQuit, quitSwitch, &FesQuitSwitch::switchAllOffAtQuit);
    ST_SerialPortConfig config;
    if (ConfigManager::getInstance()->getSerialPortAConfig(config))
        qDebug().noquote() << QStringLiteral("FES boxes are switched off at quit through") << config.portName;
}

bool &FesQuitSwitch::hasSent()
{
    static bool sent = false;
    return sent;
}

void FesQuitSwitch::switchAllOffAtQuit()
{
    if (hasSent()) {
        qDebug().noquote() << QStringLiteral("FES boxes were switched off already on this way out");
        return;
    }
    switchAllOff();
}

void FesQuitSwitch::switchAllOff()
{
    if (FesControlDialog::exists() && FesControlDialog::getInstance()->isLinkOpen()) {
        FesControlDialog::getInstance()->disconnectOrShutdown(1, 1);
        hasSent() = true;
        return;
    }
    // The manager is not made here: its construction lists ports and may show a box. The
    // configured adapter port is opened quietly, only for this one frame.
    ST_SerialPortConfig config;
    if (!ConfigManager::getInstance()->getSerialPortAConfig(config)) {
        qDebug().noquote() << QStringLiteral("no FES adapter configured: nothing to switch off");
        return;
    }
    QSerialPort port;
    if (!FesControlDialog::openAdapterPort(port, config.portName)) {
        qWarning().noquote() << QStringLiteral("FES adapter port %1 does not open: boxes not switched off")
                                    .arg(config.portName);
        return;
    }
    const QByteArray frame = FesFrame::createFrame(FesFrame::disconnectPayload(1, 1));
    if (FesControlDialog::writeAndWait(port, frame))
        hasSent() = true;
    else
        qWarning().noquote() << QStringLiteral("FES all-off frame not written:") << frame.toHex();
    port.close();
    qDebug().noquote() << QStringLiteral("关闭所有设备");
}
