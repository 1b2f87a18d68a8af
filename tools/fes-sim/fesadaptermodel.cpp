#include "fesadaptermodel.h"

#include "fes/fesprotocol.h"
#include "fesreply.h"

#include <cmath>

namespace {

QString macText(const QByteArray &mac)
{
    return FesCommandDecoder::macText(mac);
}

} // namespace

int FesAdapterModel::Box::level() const
{
    // A level counts as left until it is used up, so a full box reads 100 for its first minute;
    // the epsilon keeps sums of small drains from reading one percent high.
    return qBound(0, int(std::ceil(battery - 1e-9)), kMaxLevel);
}

FesAdapterModel::FesAdapterModel(int initialLevel, double drainPerMinute)
    : m_initialLevel(qBound(0, initialLevel, kMaxLevel)), m_drainPerMinute(qMax(0.0, drainPerMinute))
{
}

bool FesAdapterModel::addBox(int number, const QByteArray &mac)
{
    if (number < 1 || number > FesProtocol::kDeviceCount || m_boxes.contains(number) || mac.size() != 6)
        return false;
    Box box;
    box.number = number;
    box.mac = mac;
    box.battery = m_initialLevel;
    m_boxes.insert(number, box);
    return true;
}

FesAdapterModel::Box *FesAdapterModel::findBox(int number)
{
    auto it = m_boxes.find(number);
    return it == m_boxes.end() ? nullptr : &it.value();
}

FesAdapterModel::Box *FesAdapterModel::findBoxOnDevice(uint8_t device)
{
    if (device == 0)
        return nullptr;
    for (Box &box : m_boxes)
        if (box.device == device)
            return &box;
    return nullptr;
}

FesAdapterModel::Box *FesAdapterModel::findBoxByMac(const QByteArray &mac)
{
    for (Box &box : m_boxes)
        if (box.mac == mac)
            return &box;
    return nullptr;
}

const FesAdapterModel::Box *FesAdapterModel::box(int number) const
{
    return const_cast<FesAdapterModel *>(this)->findBox(number);
}

const FesAdapterModel::Box *FesAdapterModel::boxOnDevice(uint8_t device) const
{
    return const_cast<FesAdapterModel *>(this)->findBoxOnDevice(device);
}

void FesAdapterModel::switchOffOutputs(Box &box)
{
    for (Channel &channel : box.channels) {
        channel.output = false;
        channel.adjusting = false;
    }
}

FesAdapterModel::Response FesAdapterModel::handle(const FesHostCommand &command)
{
    using Kind = FesHostCommand::Kind;
    switch (command.kind) {
    case Kind::Search:
        return search();
    case Kind::Connect:
        return connectBox(command);
    case Kind::Disconnect:
        return disconnect(command);
    case Kind::Battery: {
        Response response;
        const Box *box = findBoxOnDevice(command.device);
        if (!box)
            response.notes << QStringLiteral("no box is connected as device %1: no reply").arg(command.device);
        else
            response.replies << FesReply::battery(command.device, uint8_t(box->level()));
        return response;
    }
    case Kind::ChannelAdjust:
    case Kind::Current:
    case Kind::Frequency:
    case Kind::PulseWidth:
    case Kind::SwitchOutput:
    case Kind::RealTimeParam:
    case Kind::CycleParam:
        return channelSetting(command);
    case Kind::Motion: {
        Response response;
        if (!findBoxOnDevice(command.device))
            response.notes << QStringLiteral("no box is connected as device %1: not relayed").arg(command.device);
        return response;
    }
    case Kind::Unknown:
    case Kind::Invalid:
        break;
    }
    return Response();
}

FesAdapterModel::Response FesAdapterModel::search()
{
    Response response;
    response.replies << FesReply::searchAcknowledged();
    for (const Box &box : qAsConst(m_boxes))
        if (box.present)
            response.replies << FesReply::boxFound(box.mac);
    if (response.replies.size() == 1)
        response.notes << QStringLiteral("no box is switched on: nothing found");
    return response;
}

FesAdapterModel::Response FesAdapterModel::connectBox(const FesHostCommand &command)
{
    Response response;
    const uint8_t device = command.device;
    if (device < 1 || device > FesProtocol::kDeviceCount) {
        response.notes << QStringLiteral("device number %1 is outside 1..%2: no reply").arg(device).arg(FesProtocol::kDeviceCount);
        return response;
    }
    Box *box = command.mac.size() == 6 ? findBoxByMac(command.mac) : nullptr;
    if (!box) {
        response.notes << QStringLiteral("no box has MAC %1: no reply").arg(macText(command.mac));
        return response;
    }
    if (!box->present) {
        response.notes << QStringLiteral("box %1 (%2) is switched off: no reply").arg(box->number).arg(macText(box->mac));
        return response;
    }
    Box *previous = findBoxOnDevice(device);
    if (previous && previous != box) {
        // One BLE link per device number: the adapter lets go of the box that held it.
        previous->device = 0;
        switchOffOutputs(*previous);
        response.notes << QStringLiteral("box %1 gives up device %2 to box %3").arg(previous->number).arg(device).arg(box->number);
    }
    if (box->connected() && box->device != device)
        response.notes << QStringLiteral("box %1 moves from device %2 to device %3").arg(box->number).arg(box->device).arg(device);
    box->device = device;
    response.replies << FesReply::connected(device, box->mac);
    return response;
}

FesAdapterModel::Response FesAdapterModel::disconnect(const FesHostCommand &command)
{
    Response response;
    if (command.value == 1) {
        // Shut down: every connected box switches itself off.
        for (Box &box : m_boxes) {
            if (!box.connected())
                continue;
            response.replies << FesReply::poweredOff(box.device);
            response.notes << QStringLiteral("box %1 switched off (on %1 brings it back)").arg(box.number);
            box.device = 0;
            box.present = false;
            switchOffOutputs(box);
        }
        if (response.replies.isEmpty())
            response.notes << QStringLiteral("no box is connected: nothing switched off");
        return response;
    }
    Box *box = findBoxOnDevice(command.device);
    if (!box) {
        response.notes << QStringLiteral("no box is connected as device %1: no reply").arg(command.device);
        return response;
    }
    response.replies << FesReply::disconnected(box->device);
    box->device = 0;
    switchOffOutputs(*box);
    return response;
}

FesAdapterModel::Response FesAdapterModel::channelSetting(const FesHostCommand &command)
{
    using Kind = FesHostCommand::Kind;
    Response response;
    Box *box = findBoxOnDevice(command.device);
    if (!box) {
        response.notes << QStringLiteral("no box is connected as device %1: not relayed").arg(command.device);
        return response;
    }
    if (command.channel < 1 || command.channel > 2) {
        response.notes << QStringLiteral("channel %1 does not exist: ignored").arg(command.channel);
        return response;
    }
    Channel &channel = box->channels[command.channel - 1];
    switch (command.kind) {
    case Kind::ChannelAdjust:
        channel.adjusting = command.value != 0;
        break;
    case Kind::Current:
        channel.current = command.value;
        break;
    case Kind::Frequency:
        channel.frequency = command.value;
        break;
    case Kind::PulseWidth:
        channel.pulseWidth = command.value;
        break;
    case Kind::SwitchOutput:
        channel.output = command.value != 0;
        break;
    case Kind::RealTimeParam:
        channel.mode = QStringLiteral("realtime");
        channel.frequency = command.realTime.frequency;
        channel.pulseWidth = command.realTime.pulseWidth;
        break;
    case Kind::CycleParam:
        channel.mode = QStringLiteral("cycle");
        channel.frequency = command.cycle.frequency;
        channel.pulseWidth = command.cycle.pulseWidth;
        break;
    default:
        break;
    }
    return response;
}

void FesAdapterModel::advance(double seconds)
{
    if (seconds <= 0.0)
        return;
    for (Box &box : m_boxes)
        if (box.connected())
            box.battery = qMax(0.0, box.battery - m_drainPerMinute * seconds / 60.0);
}

FesAdapterModel::Response FesAdapterModel::drop(int number)
{
    Response response;
    Box *box = findBox(number);
    if (!box) {
        response.notes << QStringLiteral("there is no box %1").arg(number);
    } else if (!box->connected()) {
        response.notes << QStringLiteral("box %1 is not connected").arg(number);
    } else {
        response.replies << FesReply::disconnected(box->device);
        response.notes << QStringLiteral("box %1 dropped its link (device %2); it stays switched on")
                              .arg(number).arg(box->device);
        box->device = 0;
        switchOffOutputs(*box);
    }
    return response;
}

FesAdapterModel::Response FesAdapterModel::powerOff(int number)
{
    Response response;
    Box *box = findBox(number);
    if (!box) {
        response.notes << QStringLiteral("there is no box %1").arg(number);
        return response;
    }
    if (!box->present) {
        response.notes << QStringLiteral("box %1 is already switched off").arg(number);
        return response;
    }
    if (box->connected())
        response.replies << FesReply::poweredOff(box->device);
    response.notes << QStringLiteral("box %1 switched off%2").arg(number)
                          .arg(box->connected() ? QString() : QStringLiteral(" (it was not connected: no reply)"));
    box->device = 0;
    box->present = false;
    switchOffOutputs(*box);
    return response;
}

FesAdapterModel::Response FesAdapterModel::powerOn(int number)
{
    Response response;
    Box *box = findBox(number);
    if (!box)
        response.notes << QStringLiteral("there is no box %1").arg(number);
    else if (box->present)
        response.notes << QStringLiteral("box %1 is already switched on").arg(number);
    else {
        box->present = true;
        response.notes << QStringLiteral("box %1 switched on; the next search reports it").arg(number);
    }
    return response;
}

FesAdapterModel::Response FesAdapterModel::setBattery(int number, int level)
{
    Response response;
    Box *box = findBox(number);
    if (!box) {
        response.notes << QStringLiteral("there is no box %1").arg(number);
    } else if (level < 0 || level > kMaxLevel) {
        response.notes << QStringLiteral("battery level %1 is outside 0..%2").arg(level).arg(kMaxLevel);
    } else {
        box->battery = level;
        response.notes << QStringLiteral("box %1 battery %2 %").arg(number).arg(level);
    }
    return response;
}

QStringList FesAdapterModel::statusLines() const
{
    QStringList lines;
    for (const Box &box : m_boxes) {
        QString line = QStringLiteral("box %1 %2: %3, battery %4 %")
                           .arg(box.number)
                           .arg(macText(box.mac))
                           .arg(!box.present     ? QStringLiteral("switched off")
                                : box.connected() ? QStringLiteral("connected as device %1").arg(box.device)
                                                  : QStringLiteral("on, not connected"))
                           .arg(box.level());
        for (int i = 0; i < 2; ++i) {
            const Channel &c = box.channels[i];
            line += QStringLiteral("; ch%1 %2 mA %3 Hz %4 us output %5%6%7")
                        .arg(i + 1).arg(c.current).arg(c.frequency).arg(c.pulseWidth)
                        .arg(c.output ? QStringLiteral("on") : QStringLiteral("off"))
                        .arg(c.adjusting ? QStringLiteral(" adjusting") : QString())
                        .arg(c.mode.isEmpty() ? QString() : QLatin1Char(' ') + c.mode);
        }
        lines << line;
    }
    if (lines.isEmpty())
        lines << QStringLiteral("no boxes");
    return lines;
}
