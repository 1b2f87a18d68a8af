#include "fessimboxes.h"

#include "database/bledevice.h"
#include "database/cdatabaseinterface.h"
#include "feslinkpty.h"
#include "fes/fescontroldialog.h"

#include <QDir>
#include <QListWidget>
#include <QtTest>

FesSimBoxes::FesSimBoxes(const QString &program)
    : m_dir(QDir::tempPath() + QStringLiteral("/rotaflex-boxes-XXXXXX")), m_sim(program)
{
    m_link = m_dir.filePath(QStringLiteral("adapter.pty"));
}

QStringList FesSimBoxes::arguments(const QString &link)
{
    return {QStringLiteral("--box"), QStringLiteral("1=A1B2C3D4E5F6"), QStringLiteral("--box"),
            QStringLiteral("2=A1B2C3D4E5F7"), QStringLiteral("--link"), link, QStringLiteral("--drain"),
            QStringLiteral("0"), QStringLiteral("--report-interval"), QStringLiteral("0")};
}

void FesSimBoxes::connectBoxes()
{
    QVERIFY(m_dir.isValid());
    m_sim.start(arguments(m_link), m_dir.path());
    QTRY_VERIFY_WITH_TIMEOUT(m_sim.hasLine(QStringLiteral("ready:")), 5000);

    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    for (int number : {1, 2}) {
        ST_BLEDevice device;
        device.deviceNo = number;
        device.deviceMac = number == 1 ? QStringLiteral("A1B2C3D4E5F6") : QStringLiteral("A1B2C3D4E5F7");
        QVERIFY(db->insertRowTable(QStringLiteral("BLEDeviceMsg"), BLEDeviceToVariantMap(device)));
    }
    FesLinkPty::createManager();
    FesControlDialog *manager = FesControlDialog::getInstance();
    manager->show(); // reads the registered boxes
    manager->hide();
    QVERIFY(manager->openSerialPort(m_link));
    manager->searchDevice();
    QTRY_COMPARE_WITH_TIMEOUT(manager->findChild<QListWidget *>(QStringLiteral("listWidget"))->count(), 2, 5000);
    manager->slotConnectDevice(true, 1);
    manager->slotConnectDevice(true, 2);
    QTRY_VERIFY_WITH_TIMEOUT(manager->isDeviceConnected(1) && manager->isDeviceConnected(2), 5000);
}

QString FesSimBoxes::channelState(int box, int channel)
{
    const int before = m_sim.countLines(QStringLiteral("status:"));
    m_sim.type(QStringLiteral("status"));
    if (!QTest::qWaitFor([&] { return m_sim.countLines(QStringLiteral("status:")) > before; }, 3000))
        return QStringLiteral("(no status)");
    const QStringList lines = m_sim.lines();
    int last = lines.size() - 1;
    while (last >= 0 && !lines.at(last).startsWith(QStringLiteral("status:")))
        --last;
    const QString prefix = QStringLiteral("  box %1 ").arg(box);
    for (int i = last + 1; i < lines.size(); ++i) {
        if (lines.at(i).startsWith(prefix))
            return lines.at(i).split(QStringLiteral("; ")).value(channel);
    }
    return QStringLiteral("(no box %1)").arg(box);
}

bool FesSimBoxes::allOutputsOff()
{
    for (int box : {1, 2}) {
        for (int channel : {1, 2}) {
            if (!channelState(box, channel).contains(QStringLiteral("output off")))
                return false;
        }
    }
    return true;
}
