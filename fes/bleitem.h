#pragma once

#include <QWidget>
#include <cstdint>

namespace Ui {
class BLEItem;
}

// One FES box in the manager's list: its name and a connect/disconnect button.
class BLEItem : public QWidget
{
    Q_OBJECT
public:
    explicit BLEItem(QWidget *parent = nullptr);
    ~BLEItem() override;

    // Also sets the name label: "电刺激盒A".."电刺激盒D" for 1..4.
    void setDeviceNo(uint8_t deviceNo);
    uint8_t deviceNo() const { return m_deviceNo; }

    // Shows the box as connected ("断开") or not ("连接") and reports the change.
    void setConnectState(bool connected);
    bool isConnected() const { return m_connected; }

signals:
    void signalConnectDevice(bool connect, uint8_t device);
    void signalBtnStateChanged(uint8_t deviceNo, bool state);

public slots:
    void on_connectBLE_Btn_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyTexts();

    Ui::BLEItem *ui = nullptr;
    uint8_t m_deviceNo = 0;
    bool m_connected = false;
};
