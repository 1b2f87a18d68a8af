#pragma once

#include "app/dimmeddialog.h"
#include "comm/streamframecutter.h"
#include "fes/fesframe.h"
#include "fes/serialportsource.h"

#include <QByteArray>

#include <QDialog>
#include <QList>
#include <QMap>
#include <QSerialPort>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>

class BLEItem;
class QTimer;

namespace Ui {
class FesControlDialog;
}

// The FES box manager: owns the adapter link, knows the registered, found and connected boxes,
// keeps them connected, and sends every FES frame of the program.
class FesControlDialog : public DimmedDialog
{
    Q_OBJECT
public:
    static constexpr int kReconnectIntervalMs = 1000;
    static constexpr int kConnectDelayMs = 200;
    // How long the way out of the program waits for the shut-down frame to leave the port.
    static constexpr int kFinalWriteTimeoutMs = 500;

    static FesControlDialog *getInstance();
    // Creates the instance with the given source of port names unless it exists already.
    static FesControlDialog *createInstance(std::unique_ptr<SerialPortSource> ports);
    // Whether the instance was created; asking must not create it (its construction lists ports).
    static bool exists();
    ~FesControlDialog() override;

    // Starts the link on the configured serialPortA: list ports, open, search, reconnect timer, show.
    bool startFes();
    // Fills serial_ComboBox with the ports that open; closes the link's port first.
    bool listSerialPorts();

    // ---- the adapter link ----
    bool openSerialPort(const QString &portName);
    bool isLinkOpen() const;
    // Opens a port with the adapter's fixed settings.
    static bool openAdapterPort(QSerialPort &port, const QString &portName);
    // Writes bytes and waits, bounded, until they have left: for frames sent on the way out.
    static bool writeAndWait(QSerialPort &port, const QByteArray &bytes);
    void sendData(const QByteArray &frame);
    QByteArray createFrame(const QByteArray &payload) const;
    int getSum(const QByteArray &bytes, int first, int last) const;

    void searchDevice();
    void connectDevice(const QByteArray &mac, uint8_t device);
    void disconnectOrShutdown(uint8_t device, uint8_t all);
    void queryBattery(uint8_t device);
    void setChannelAdjust(uint8_t device, uint8_t channel, uint8_t on);
    // Stimulation values are held to the safe ranges of FesProtocol before they are framed.
    void setCurrent(uint8_t device, uint8_t channel, int milliamps);
    void setFrequency(uint8_t device, uint8_t channel, int hertz);
    void setPulseWidth(uint8_t device, uint8_t channel, int microseconds);
    void switchOutput(uint8_t device, uint8_t channel, uint8_t on);
    void setRealTimeParam(uint8_t device, uint8_t channel, const FesFrame::RealTimeParam &param);
    void setCycleParam(uint8_t device, uint8_t channel, const FesFrame::CycleParam &param);
    void sendMotionData(uint8_t device, const QByteArray &motionBlock);

    bool isDeviceConnected(int device) const;
    bool isMuscleOpen(int device) const;
    void setMuscleState(int device, bool open);

signals:
    // The four connected flags of devices 1 to 4.
    void signalDeviceStateChanged(QList<uint8_t> states);
    void signalGetBattery(int deviceNo, int batteryValue);
    // The link to the adapter opened or closed (open button, refresh, a vanished adapter).
    void signalLinkStateChanged(bool open);

public slots:
    void on_openSerial_Btn_clicked();
    void on_scanDevice_Btn_clicked();
    void receiveDataInterface();
    void displayError(QSerialPort::SerialPortError error);
    void slotConnectDevice(bool connect, uint8_t device);
    void on_queryDevice_Btn_clicked();
    void on_flushSerial_Btn_clicked();
    void slotConnectFes();
    void deviceStateChanged(uint8_t deviceNo, bool state);
    void on_close_Btn_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    explicit FesControlDialog(std::unique_ptr<SerialPortSource> ports);
    static FesControlDialog *&instance();
    void sendCommand(const QByteArray &payload, const char *logPrefix = nullptr);
    void handleReply(const QByteArray &frame);
    void readRegisteredDevices();
    void deviceFound(const QByteArray &mac);
    void refreshRows();
    void setRowState(uint8_t device, bool connected);
    void closeLink();

    Ui::FesControlDialog *ui = nullptr;
    std::unique_ptr<SerialPortSource> m_portSource;
    QSerialPort *m_serialPort = nullptr;
    StreamFrameCutter m_cutter;
    std::array<uint8_t, 4> m_connected{};
    std::array<uint8_t, 4> m_muscleOpen{};

    QMap<QByteArray, int> m_registered;     // MAC -> device number
    QList<QByteArray> m_found;              // registered MACs reported by the scan
    QList<QByteArray> m_listed;             // MACs that have a row
    QMap<uint8_t, BLEItem *> m_rows;        // device number -> row
    QMap<int, QByteArray> m_deviceMacs;     // device number -> MAC
    QMap<int, bool> m_connectionMap;        // device number -> connected
    QTimer *m_reconnectTimer = nullptr;
    bool m_openButtonCloses = false;        // openSerial_Btn reads "关闭"

    void setOpenButtonCloses(bool closes);
};
