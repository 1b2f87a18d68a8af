#include "fesreply.h"

#include "fes/fesprotocol.h"

using namespace FesProtocol;

namespace FesReply {

namespace {

QByteArray bytes(std::initializer_list<uint8_t> values)
{
    QByteArray result;
    for (uint8_t value : values)
        result.append(char(value));
    return result;
}

// Always six bytes, so a reply never carries a short MAC.
QByteArray sixBytes(const QByteArray &mac)
{
    return mac.left(6) + QByteArray(qMax(0, 6 - mac.size()), '\0');
}

} // namespace

QByteArray searchAcknowledged()
{
    return bytes({kReplySearch, 0x00, 0x00, 0x01});
}

QByteArray boxFound(const QByteArray &mac)
{
    return bytes({kReplyFound, 0x00, 0x00}) + sixBytes(mac);
}

QByteArray connected(uint8_t device, const QByteArray &mac)
{
    return bytes({kReplyConnected, device, 0x00}) + sixBytes(mac);
}

QByteArray disconnected(uint8_t device)
{
    return bytes({kReplyDisconnected, device, 0x00, 0x00});
}

QByteArray poweredOff(uint8_t device)
{
    return bytes({kReplyPoweredOff, device, 0x00, 0x00});
}

QByteArray battery(uint8_t device, uint8_t level)
{
    return bytes({kReplyBattery, device, 0x00, 0x00, 0x00, level});
}

QString describe(const QByteArray &payload)
{
    if (payload.size() < 2)
        return QStringLiteral("tx %1").arg(QString::fromLatin1(payload.toHex(' ')));
    const uint8_t code = uint8_t(payload.at(0));
    const QString dev = QStringLiteral("tx dev=%1 ").arg(uint8_t(payload.at(1)));
    const QString mac = QString::fromLatin1(payload.mid(3, 6).toHex()).toUpper();
    switch (code) {
    case kReplySearch:
        return QStringLiteral("tx search acknowledged");
    case kReplyFound:
        return QStringLiteral("tx found %1").arg(mac);
    case kReplyConnected:
        return dev + QStringLiteral("connected (%1)").arg(mac);
    case kReplyDisconnected:
        return dev + QStringLiteral("disconnected");
    case kReplyPoweredOff:
        return dev + QStringLiteral("powered off");
    case kReplyBattery:
        return dev + QStringLiteral("battery %1 %").arg(payload.size() > 5 ? uint8_t(payload.at(5)) : 0);
    default:
        break;
    }
    return QStringLiteral("tx %1").arg(QString::fromLatin1(payload.toHex(' ')));
}

} // namespace FesReply
