#include "fes/fescontroldialog.h"

#include "app/configmanager.h"
#include "database/bledevice.h"
#include "database/cdatabaseinterface.h"
#include "fes/bleitem.h"
#include "fes/fesprotocol.h"
#include "fes/qtserialportsource.h"
#include "ui_fescontroldialog.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QEvent>
#include <QListWidgetItem>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QtGlobal>

using namespace FesProtocol;

FesControlDialog *&FesControlDialog::instance()
{
    static FesControlDialog *single = nullptr;
    return single;
}

FesControlDialog *FesControlDialog::getInstance()
{
    return createInstance(std::make_unique<QtSerialPortSource>());
}

FesControlDialog *FesControlDialog::createInstance(std::unique_ptr<SerialPortSource> ports)
{
    // No parent and never deleted: the quit paths still send through it late in shutdown.
    FesControlDialog *&single = instance();
    if (!single)
        single = new FesControlDialog(std::move(ports));
    return single;
}

bool FesControlDialog::exists()
{
    return instance() != nullptr;
}

FesControlDialog::FesControlDialog(std::unique_ptr<SerialPortSource> ports)
    : DimmedDialog(nullptr), ui(new Ui::FesControlDialog), m_portSource(std::move(ports)), m_cutter(kStart, kEnd, kAdapterMaxPayload)
{
    // Named so that queued connections and signal spies of other parts can carry them.
    qRegisterMetaType<uint8_t>("uint8_t");
    qRegisterMetaType<QList<uint8_t>>("QList<uint8_t>");

    ui->setupUi(this);
    ui->queryDevice_Btn->hide();
    setAttribute(Qt::WA_QuitOnClose, false);

    m_reconnectTimer = new QTimer(this);
    m_reconnectTimer->setObjectName(QStringLiteral("reconnect_Timer"));
    m_reconnectTimer->setInterval(kReconnectIntervalMs);
    connect(m_reconnectTimer, &QTimer::timeout, this, &FesControlDialog::slotConnectFes);

    listSerialPorts();
}

FesControlDialog::~FesControlDialog()
{
    delete ui;
}

bool FesControlDialog::startFes()
{
    ST_SerialPortConfig config;
    if (!ConfigManager::getInstance()->getSerialPortAConfig(config))
        return false;
    if (!listSerialPorts())
        return false;
    if (!openSerialPort(config.portName)) {
        QMessageBox::warning(this, tr("警告"), tr("FES串口打开失败"));
        return false;
    }
    setOpenButtonCloses(true);
    searchDevice();
    m_reconnectTimer->start();
    show();
    return true;
}

bool FesControlDialog::listSerialPorts()
{
    if (!m_serialPort) {
        m_serialPort = new QSerialPort(this);
        m_serialPort->setObjectName(QStringLiteral("fesLink_SerialPort"));
        connect(m_serialPort, &QSerialPort::readyRead, this, &FesControlDialog::receiveDataInterface);
        connect(m_serialPort, &QSerialPort::errorOccurred, this, &FesControlDialog::displayError);
    }
    closeLink();

    const auto opens = [](const QString &name) {
        QSerialPort probe;
        probe.setPortName(name);
        if (!probe.open(QIODevice::ReadWrite))
            return false;
        probe.close();
        return true;
    };

    QStringList usable;
    for (const QString &name : m_portSource->portNames()) {
        if (opens(name))
            usable << name;
    }
    // Pseudo-terminals and some adapters are never listed by the system; the configured
    // port is offered as well when it opens.
    ST_SerialPortConfig config;
    ConfigManager::getInstance()->getSerialPortAConfig(config);
    const QString configured = config.portName;
    const QString shortName = configured.startsWith(QLatin1String("/dev/")) ? configured.mid(5) : configured;
    if (!configured.isEmpty() && !usable.contains(configured) && !usable.contains(shortName)
        && opens(configured))
        usable << configured;

    if (usable.isEmpty()) {
        QMessageBox::warning(this, tr("警告"), tr("FES无可用串口"));
        return false;
    }
    ui->serial_ComboBox->clear();
    ui->serial_ComboBox->addItems(usable);
    return true;
}

bool FesControlDialog::openAdapterPort(QSerialPort &port, const QString &portName)
{
    if (portName.isEmpty())
        return false;
    port.close();
    port.setPortName(portName);
    port.setReadBufferSize(kReadBufferSize);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    port.setBaudRate(kBaudRate, QSerialPort::AllDirections);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

bool FesControlDialog::writeAndWait(QSerialPort &port, const QByteArray &bytes)
{
    if (!port.isOpen() || port.write(bytes) != bytes.size())
        return false;
    port.flush();
    QDeadlineTimer deadline(kFinalWriteTimeoutMs);
    while (port.bytesToWrite() > 0 && !deadline.hasExpired())
        port.waitForBytesWritten(int(deadline.remainingTime()));
    return port.bytesToWrite() == 0;
}

bool FesControlDialog::openSerialPort(const QString &portName)
{
    if (!m_serialPort || portName.isEmpty())
        return false;
    closeLink();
    if (!openAdapterPort(*m_serialPort, portName))
        return false;
    emit signalLinkStateChanged(true);
    return true;
}

bool FesControlDialog::isLinkOpen() const
{
    return m_serialPort && m_serialPort->isOpen();
}

void FesControlDialog::closeLink()
{
    if (!isLinkOpen())
        return;
    m_serialPort->close();
    emit signalLinkStateChanged(false);
}

void FesControlDialog::sendData(const QByteArray &frame)
{
    if (isLinkOpen())
        m_serialPort->write(frame);
    else
        qWarning().noquote() << QStringLiteral("FES link closed, frame dropped:") << frame.toHex();
}

QByteArray FesControlDialog::createFrame(const QByteArray &payload) const
{
    return FesFrame::createFrame(payload);
}

int FesControlDialog::getSum(const QByteArray &bytes, int first, int last) const
{
    return FesFrame::getSum(bytes, first, last);
}

void FesControlDialog::sendCommand(const QByteArray &payload, const char *logPrefix)
{
    const QByteArray frame = createFrame(payload);
    sendData(frame);
    if (logPrefix)
        qDebug().noquote() << QString::fromUtf8(logPrefix) << frame.toHex();
}

void FesControlDialog::searchDevice()
{
    sendCommand(FesFrame::searchPayload());
}

void FesControlDialog::connectDevice(const QByteArray &mac, uint8_t device)
{
    sendCommand(FesFrame::connectPayload(mac, device));
}

void FesControlDialog::disconnectOrShutdown(uint8_t device, uint8_t all)
{
    const QByteArray frame = createFrame(FesFrame::disconnectPayload(device, all));
    if (all != 1) {
        sendData(frame);
        return;
    }
    // The program quits right after this one: it must leave the port before the process ends.
    if (isLinkOpen())
        writeAndWait(*m_serialPort, frame);
    else
        sendData(frame);
    qDebug().noquote() << QStringLiteral("关闭所有设备");
}

void FesControlDialog::queryBattery(uint8_t device)
{
    sendCommand(FesFrame::batteryPayload(device));
}

void FesControlDialog::setChannelAdjust(uint8_t device, uint8_t channel, uint8_t on)
{
    sendCommand(FesFrame::channelAdjustPayload(device, channel, on));
}

void FesControlDialog::setCurrent(uint8_t device, uint8_t channel, int milliamps)
{
    const int safe = qBound(kCurrentMin, milliamps, kCurrentMax);
    sendCommand(FesFrame::currentPayload(device, channel, uint8_t(safe)));
}

void FesControlDialog::setFrequency(uint8_t device, uint8_t channel, int hertz)
{
    const int safe = qBound(kFrequencyMin, hertz, kFrequencyMax);
    sendCommand(FesFrame::frequencyPayload(device, channel, uint16_t(safe)), "发送频率：");
}

void FesControlDialog::setPulseWidth(uint8_t device, uint8_t channel, int microseconds)
{
    const int safe = qBound(kPulseWidthMin, microseconds, kPulseWidthMax);
    sendCommand(FesFrame::pulseWidthPayload(device, channel, uint16_t(safe)), "发送带宽：");
}

void FesControlDialog::switchOutput(uint8_t device, uint8_t channel, uint8_t on)
{
    sendCommand(FesFrame::switchOutputPayload(device, channel, on), "发送FES输出开关指令：");
}

void FesControlDialog::setRealTimeParam(uint8_t device, uint8_t channel, const FesFrame::RealTimeParam &param)
{
    FesFrame::RealTimeParam safe = param;
    safe.frequency = uint16_t(qBound(kFrequencyMin, int(param.frequency), kFrequencyMax));
    safe.pulseWidth = uint16_t(qBound(kPulseWidthMin, int(param.pulseWidth), kPulseWidthMax));
    sendCommand(FesFrame::realTimeParamPayload(device, channel, safe), "发送实时参数：");
}

void FesControlDialog::setCycleParam(uint8_t device, uint8_t channel, const FesFrame::CycleParam &param)
{
    FesFrame::CycleParam safe = param;
    safe.frequency = uint16_t(qBound(kFrequencyMin, int(param.frequency), kFrequencyMax));
    safe.pulseWidth = uint16_t(qBound(kPulseWidthMin, int(param.pulseWidth), kPulseWidthMax));
    safe.maxCurrent = uint8_t(qBound(kCurrentMin, int(param.maxCurrent), kCurrentMax));
    // A minimum above the maximum would stimulate harder than the maximum allows.
    safe.minCurrent = uint8_t(qBound(kCurrentMin, int(param.minCurrent), int(safe.maxCurrent)));
    sendCommand(FesFrame::cycleParamPayload(device, channel, safe), "发送数据：");
}

void FesControlDialog::sendMotionData(uint8_t device, const QByteArray &motionBlock)
{
    sendCommand(FesFrame::motionPayload(device, motionBlock), "电刺激实时数据：");
}

bool FesControlDialog::isDeviceConnected(int device) const
{
    return device >= 1 && device <= kDeviceCount && m_connected[size_t(device - 1)] != 0;
}

bool FesControlDialog::isMuscleOpen(int device) const
{
    return device >= 1 && device <= kDeviceCount && m_muscleOpen[size_t(device - 1)] != 0;
}

void FesControlDialog::setMuscleState(int device, bool open)
{
    if (device < 1 || device > kDeviceCount)
        return;
    m_muscleOpen[size_t(device - 1)] = open ? 1 : 0;
    qDebug().noquote() << (open ? QStringLiteral("打开设备的肌肉：") : QStringLiteral("关闭设备的肌肉："))
                       << device;
}

void FesControlDialog::receiveDataInterface()
{
    if (!m_serialPort)
        return;
    const QList<QByteArray> frames = m_cutter.feed(m_serialPort->readAll());
    // Handled from the event loop, not inside the port's ready-read: a receiver that opens a
    // prompt or otherwise runs a nested loop must not stop the port from reading.
    for (const QByteArray &frame : frames)
        QMetaObject::invokeMethod(this, [this, frame] { handleReply(frame); }, Qt::QueuedConnection);
}

void FesControlDialog::handleReply(const QByteArray &frame)
{
    qDebug().noquote() << QStringLiteral("FES所有数据：") << frame.toHex();
    FesFrame::Reply reply;
    if (!FesFrame::decodeReply(frame, &reply))
        return;
    const uint8_t device = reply.device;
    const bool known = device >= 1 && device <= kDeviceCount;
    switch (reply.command) {
    case kReplyBattery:
        if (device <= kDeviceCount)
            emit signalGetBattery(device, reply.battery);
        break;
    case kReplyPoweredOff:
        // The connection map keeps its value: a box switched off is not called back.
        if (known)
            m_connected[device - 1] = 0;
        qDebug().noquote() << int(device) << QStringLiteral("关机断开");
        if (m_rows.contains(device))
            setRowState(device, false);
        break;
    case kReplySearch:
        qDebug().noquote() << QStringLiteral("搜索设备");
        break;
    case kReplyFound:
        deviceFound(reply.mac);
        break;
    case kReplyConnected:
        if (m_rows.contains(device)) {
            if (known)
                m_connected[device - 1] = 1;
            m_connectionMap[device] = true;
            setRowState(device, true);
        }
        break;
    case kReplyDisconnected:
        qDebug().noquote() << int(device) << QStringLiteral("断开");
        if (m_rows.contains(device)) {
            if (known)
                m_connected[device - 1] = 0;
            m_connectionMap[device] = false;
            setRowState(device, false);
        }
        break;
    default:
        break;
    }
}

void FesControlDialog::displayError(QSerialPort::SerialPortError error)
{
    // A vanished adapter (cable pulled) keeps reporting its read error in a tight loop while
    // the port stays open; close it so the user can reopen it. Other errors are ignored.
    if ((error == QSerialPort::ReadError || error == QSerialPort::ResourceError) && isLinkOpen()) {
        setOpenButtonCloses(false);
        closeLink();
        qDebug().noquote() << QStringLiteral("FES串口已断开");
        // Without the adapter no box is reachable: show them disconnected, and let the
        // reconnect timer call them back once the link is open again.
        for (int device = 1; device <= FesProtocol::kDeviceCount; ++device) {
            m_connected[size_t(device - 1)] = 0;
            if (m_connectionMap.contains(device))
                m_connectionMap[device] = false;
            setRowState(uint8_t(device), false);
        }
        emit signalDeviceStateChanged({m_connected[0], m_connected[1], m_connected[2], m_connected[3]});
    }
}

void FesControlDialog::readRegisteredDevices()
{
    m_registered.clear();
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!db->execQuery(QStringLiteral("select * from  BLEDeviceMsg")))
        return;
    const int count = db->getValuesSize();
    if (count <= 0)
        return;
    const QList<QVariantMap> rows = db->getValues(0, count);
    for (const QVariantMap &row : rows) {
        const ST_BLEDevice device = variantMapToBLEDevice(row);
        // Another number would be cut to a byte on its way to a row and take a real box's place.
        if (device.deviceNo < 1 || device.deviceNo > kDeviceCount) {
            qWarning().noquote() << QStringLiteral("BLEDeviceMsg: device number %1 of MAC %2 is outside 1..%3, skipped")
                                        .arg(device.deviceNo).arg(device.deviceMac).arg(kDeviceCount);
            continue;
        }
        m_registered.insert(FesFrame::macFromText(device.deviceMac), device.deviceNo);
    }
}

void FesControlDialog::deviceFound(const QByteArray &mac)
{
    if (!m_registered.contains(mac) || m_found.contains(mac))
        return;
    const int number = m_registered.value(mac);
    m_deviceMacs[number] = mac;
    m_connectionMap[number] = false;
    m_found.append(mac);
    refreshRows();
}

void FesControlDialog::refreshRows()
{
    for (const QByteArray &mac : qAsConst(m_found)) {
        if (m_listed.contains(mac))
            continue;
        const uint8_t number = uint8_t(m_registered.value(mac));
        auto *row = new BLEItem;
        row->setDeviceNo(number);
        m_rows.insert(number, row);
        connect(row, &BLEItem::signalConnectDevice, this, &FesControlDialog::slotConnectDevice);
        connect(row, &BLEItem::signalBtnStateChanged, this, &FesControlDialog::deviceStateChanged);
        auto *item = new QListWidgetItem(ui->listWidget);
        item->setSizeHint(QSize(100, 65));
        ui->listWidget->setItemWidget(item, row);
        m_listed.append(mac);
    }
}

void FesControlDialog::setRowState(uint8_t device, bool connected)
{
    if (BLEItem *row = m_rows.value(device))
        row->setConnectState(connected);
}

void FesControlDialog::slotConnectDevice(bool connect, uint8_t device)
{
    if (connect) {
        QByteArray mac;
        for (auto it = m_registered.constBegin(); it != m_registered.constEnd(); ++it) {
            if (it.value() == device) {
                mac = it.key();
                break;
            }
        }
        connectDevice(mac, device);
    } else {
        disconnectOrShutdown(device, 0);
        setMuscleState(device, false);
    }
}

void FesControlDialog::slotConnectFes()
{
    for (auto it = m_connectionMap.constBegin(); it != m_connectionMap.constEnd(); ++it) {
        if (it.value())
            continue;
        const int number = it.key();
        QTimer::singleShot(kConnectDelayMs, this, [this, number]() {
            // The box may have come back on its own meanwhile.
            if (!m_connectionMap.value(number, true))
                connectDevice(m_deviceMacs.value(number), uint8_t(number));
        });
        return; // one box per tick
    }
}

void FesControlDialog::deviceStateChanged(uint8_t deviceNo, bool state)
{
    qDebug().noquote() << QStringLiteral("设备状态发生变化") << int(deviceNo) << state;
    emit signalDeviceStateChanged(QList<uint8_t>{m_connected[0], m_connected[1], m_connected[2], m_connected[3]});
}

void FesControlDialog::setOpenButtonCloses(bool closes)
{
    m_openButtonCloses = closes;
    ui->openSerial_Btn->setText(closes ? tr("关闭") : tr("打开"));
}

void FesControlDialog::on_openSerial_Btn_clicked()
{
    const QString text = ui->openSerial_Btn->text();
    if (text == tr("打开")) {
        if (openSerialPort(ui->serial_ComboBox->currentText()))
            setOpenButtonCloses(true);
        else
            QMessageBox::warning(this, tr("警告"), tr("串口打开失败"));
    } else if (text == tr("关闭")) {
        setOpenButtonCloses(false);
        closeLink();
        listSerialPorts();
    }
}

void FesControlDialog::on_scanDevice_Btn_clicked()
{
    searchDevice();
}

void FesControlDialog::on_queryDevice_Btn_clicked()
{
    queryBattery(1);
}

void FesControlDialog::on_flushSerial_Btn_clicked()
{
    listSerialPorts();
}

void FesControlDialog::on_close_Btn_clicked()
{
    hide();
}

void FesControlDialog::showEvent(QShowEvent *event)
{
    readRegisteredDevices();
    // The dimmed backdrop covers the whole screen; the panel sits in its middle.
    if (QScreen *screen = this->screen())
        setGeometry(screen->geometry());
    QDialog::showEvent(event);
}

void FesControlDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        // The form resets the open button to "打开"; keep what the link's state says.
        setOpenButtonCloses(m_openButtonCloses);
    }
    QDialog::changeEvent(event);
}
