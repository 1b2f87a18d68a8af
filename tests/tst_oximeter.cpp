#include "common/testworkdir.h"
#include "fes/ble.h"
#include "fes/devicediscoverysource.h"
#include "fes/maiboxueyangdialog.h"

#include <QBluetoothAddress>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {

// Plays the Bluetooth stack: the test decides what is found and when the scan ends.
class FakeDiscovery : public DeviceDiscoverySource
{
public:
    int starts = 0;
    int lastTimeout = 0;
    bool active = false;
    int failOnStart = NoError;

    void startLowEnergyScan(int timeoutMs) override
    {
        ++starts;
        lastTimeout = timeoutMs;
        if (failOnStart != NoError) {
            emit errorOccurred(failOnStart); // as the real agent does, inside start
            return;
        }
        active = true;
    }
    bool isActive() const override { return active; }

    void find(const QString &address, QBluetoothDeviceInfo::CoreConfigurations kind)
    {
        QBluetoothDeviceInfo info(QBluetoothAddress(address), QStringLiteral("dev ") + address, 0);
        info.setCoreConfigurations(kind);
        emit deviceDiscovered(info);
    }
    void finish()
    {
        active = false;
        emit finished();
    }
};

QStringList lines(const MaiBoXueyangDialog &dialog)
{
    QStringList result;
    const auto *list = dialog.findChild<QListWidget *>(QStringLiteral("listWidget"));
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

} // namespace

// The pulse-oximeter search: low-energy devices listed by address, one scan at a time, and a
// machine without Bluetooth that stays usable.
class TestOximeter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void controlsCarryTheirNames()
    {
        MaiBoXueyangDialog dialog(nullptr, new FakeDiscovery);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("脉搏血氧"));
        QVERIFY(dialog.findChild<QListWidget *>(QStringLiteral("listWidget")));
        QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("serach_Btn"))->text(), QStringLiteral("搜索"));
        QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("connect_Btn"))->text(), QStringLiteral("连接"));
    }

    // Only low-energy devices are listed, in the order found; a second press during a scan is ignored.
    void scanListsLowEnergyDevicesOnce()
    {
        auto *fake = new FakeDiscovery;
        MaiBoXueyangDialog dialog(nullptr, fake);
        auto *search = dialog.findChild<QPushButton *>(QStringLiteral("serach_Btn"));
        QTest::ignoreMessage(QtDebugMsg, "Scanning.\n");
        search->click();
        QCOMPARE(fake->starts, 1);
        QCOMPARE(fake->lastTimeout, BLE::kDiscoveryTimeoutMs);
        QVERIFY(dialog.ble()->isScanning());
        search->click(); // still scanning
        QCOMPARE(fake->starts, 1);

        QTest::ignoreMessage(QtDebugMsg, "\"dev 00:11:22:33:44:55\" \"00:11:22:33:44:55\"");
        fake->find(QStringLiteral("00:11:22:33:44:55"), QBluetoothDeviceInfo::LowEnergyCoreConfiguration);
        fake->find(QStringLiteral("66:77:88:99:AA:BB"), QBluetoothDeviceInfo::BaseRateCoreConfiguration);
        QTest::ignoreMessage(QtDebugMsg, "\"dev 0C:0D:0E:0F:10:11\" \"0C:0D:0E:0F:10:11\"");
        fake->find(QStringLiteral("0C:0D:0E:0F:10:11"), QBluetoothDeviceInfo::BaseRateAndLowEnergyCoreConfiguration);
        QTest::ignoreMessage(QtDebugMsg, "Scan finished!");
        fake->finish();
        QVERIFY(!dialog.ble()->isScanning());
        QCOMPARE(lines(dialog), (QStringList{QStringLiteral("00:11:22:33:44:55"), QStringLiteral("0C:0D:0E:0F:10:11")}));

        // A new scan starts from an empty list of devices, and replaces the lines when it finds some.
        QTest::ignoreMessage(QtDebugMsg, "Scanning.\n");
        search->click();
        QCOMPARE(fake->starts, 2);
        QVERIFY(dialog.ble()->getDevices().isEmpty());
        fake->find(QStringLiteral("AA:AA:AA:AA:AA:AA"), QBluetoothDeviceInfo::LowEnergyCoreConfiguration);
        fake->finish();
        QCOMPARE(lines(dialog), QStringList{QStringLiteral("AA:AA:AA:AA:AA:AA")});
    }

    // Only classic devices: the log says so and the previous lines stay.
    void scanWithoutLowEnergyDevicesKeepsTheList()
    {
        auto *fake = new FakeDiscovery;
        MaiBoXueyangDialog dialog(nullptr, fake);
        auto *search = dialog.findChild<QPushButton *>(QStringLiteral("serach_Btn"));
        search->click();
        fake->find(QStringLiteral("00:11:22:33:44:55"), QBluetoothDeviceInfo::LowEnergyCoreConfiguration);
        fake->finish();
        search->click();
        fake->find(QStringLiteral("66:77:88:99:AA:BB"), QBluetoothDeviceInfo::BaseRateCoreConfiguration);
        QTest::ignoreMessage(QtDebugMsg, "No Low Energy devices found...");
        fake->finish();
        QCOMPARE(lines(dialog), QStringList{QStringLiteral("00:11:22:33:44:55")});
    }

    // An error ends the scan: it is logged, and the next press may scan again.
    void discoveryErrorsAreLoggedAndTheNextScanIsAllowed_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("message");
        QTest::newRow("powered off") << int(DeviceDiscoverySource::PoweredOffError) << QStringLiteral("The Bluetooth is powered off.");
        QTest::newRow("input/output") << int(DeviceDiscoverySource::InputOutputError)
                                      << QStringLiteral("Writing or reading from the device resulted in an error.");
        QTest::newRow("other") << int(DeviceDiscoverySource::OtherError) << QString();
    }

    void discoveryErrorsAreLoggedAndTheNextScanIsAllowed()
    {
        QFETCH(int, error);
        QFETCH(QString, message);
        auto *fake = new FakeDiscovery;
        MaiBoXueyangDialog dialog(nullptr, fake);
        auto *search = dialog.findChild<QPushButton *>(QStringLiteral("serach_Btn"));
        search->click();
        QVERIFY(dialog.ble()->isScanning());
        if (!message.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, qPrintable(message));
        fake->active = false;
        emit fake->errorOccurred(error); // the agent fails in the middle of a scan
        QVERIFY(!dialog.ble()->isScanning());
        search->click();
        QCOMPARE(fake->starts, 2);
    }

    // The platform's own discovery on a machine without Bluetooth: an error, and no harm done.
    void realDiscoveryWithoutAdapterStaysUsable()
    {
        MaiBoXueyangDialog dialog;
        auto *search = dialog.findChild<QPushButton *>(QStringLiteral("serach_Btn"));
        // Without BlueZ the agent fails inside start, every time: both presses try and log it.
        QTest::ignoreMessage(QtDebugMsg, "Writing or reading from the device resulted in an error.");
        QTest::ignoreMessage(QtDebugMsg, "Writing or reading from the device resulted in an error.");
        search->click();
        search->click();
        QTest::qWait(50);
        QVERIFY(lines(dialog).isEmpty());
        QVERIFY(!dialog.ble()->isScanning() || dialog.ble()->getDevices().isEmpty());
    }
};

QTEST_MAIN(TestOximeter)
#include "tst_oximeter.moc"
