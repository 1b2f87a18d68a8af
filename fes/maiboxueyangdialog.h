#pragma once

#include <QDialog>

class BLE;
class DeviceDiscoverySource;

namespace Ui {
class MaiBoXueyangDialog;
}

// Lists the Bluetooth Low Energy devices found near the trainer, to find the pulse oximeter.
class MaiBoXueyangDialog : public QDialog
{
    Q_OBJECT
public:
    // source substitutes the platform's Bluetooth discovery (tests); the dialog owns it.
    explicit MaiBoXueyangDialog(QWidget *parent = nullptr, DeviceDiscoverySource *source = nullptr);
    ~MaiBoXueyangDialog() override;

    BLE *ble() const { return m_ble; }

public slots:
    void on_serach_Btn_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void refreshList();

    Ui::MaiBoXueyangDialog *ui = nullptr;
    BLE *m_ble = nullptr;
};
