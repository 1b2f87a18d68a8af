#include "fes/maiboxueyangdialog.h"

#include "fes/ble.h"
#include "ui_maiboxueyangdialog.h"

#include <QBluetoothAddress>

#include <QEvent>

MaiBoXueyangDialog::MaiBoXueyangDialog(QWidget *parent, DeviceDiscoverySource *source)
    : QDialog(parent), ui(new Ui::MaiBoXueyangDialog), m_ble(new BLE(this, source))
{
    ui->setupUi(this);
}

MaiBoXueyangDialog::~MaiBoXueyangDialog()
{
    delete ui;
}

void MaiBoXueyangDialog::on_serach_Btn_clicked()
{
    // One connection however often the button is pressed: a finished scan refreshes once.
    connect(m_ble, &BLE::signal_scanFinished, this, &MaiBoXueyangDialog::refreshList, Qt::UniqueConnection);
    if (!m_ble->isScanning())
        m_ble->startScan();
}

void MaiBoXueyangDialog::refreshList()
{
    const QList<QBluetoothDeviceInfo> devices = m_ble->getDevices();
    if (devices.isEmpty())
        return; // an empty scan leaves the previous lines
    ui->listWidget->clear();
    for (const QBluetoothDeviceInfo &device : devices)
        ui->listWidget->addItem(device.address().toString());
}

void MaiBoXueyangDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
