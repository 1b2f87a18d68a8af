#pragma once

#include <QByteArray>
#include <cstdint>

struct ST_BicycleParam;

// Frames of the link to the lower machine, built and checked without any port.
namespace DeviceFrame {

// 0xAB, n, payload, 0x00, 0xCD.
QByteArray wrap(const QByteArray &payload);

// The payloads of the commands the host sends.
QByteArray bicycleParamPayload(const ST_BicycleParam &param); // 0x01 + record bytes 0..11
QByteArray realTimeParamPayload(uint8_t item, uint8_t value); // 0x02 item value 0x00
QByteArray heartBeatPayload();                                // 0x05 0x00 0x00 0x00
QByteArray versionQueryPayload();                             // 0x08 0x00 0x00 0x00

// What the UDP transport does with one datagram.
enum class DatagramVerdict {
    Frame,    // hand on the first L + 8 bytes
    BadStart, // first byte is not 0xAB
    TooShort, // L + 7 bytes or fewer
    BadTail   // byte L + 6 or L + 7 is not 0
};

DatagramVerdict checkDatagram(const QByteArray &datagram);
// The frame handed on for a datagram whose verdict is Frame.
QByteArray datagramFrame(const QByteArray &datagram);

} // namespace DeviceFrame
