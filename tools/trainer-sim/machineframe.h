#pragma once

#include <QByteArray>

// Frames the lower machine sends, in the two forms the host's transports accept.
namespace MachineFrame {

QByteArray heartBeatReplyPayload();                      // 0x02 0x00 0x00 0x00
QByteArray versionReplyPayload(const QByteArray &text);  // 0x08 + 4 text bytes, zero-padded
QByteArray liveDataPayload(const QByteArray &record);    // 0x01 + the 31-byte record

// Serial and TCP: 0xBA, L, payload (L bytes), 0x00, 0xDC.
QByteArray streamFrame(const QByteArray &payload);
// UDP: 0xAB, L, payload (L bytes), six 0x00 (the host wants bytes L + 6 and L + 7 zero).
QByteArray datagram(const QByteArray &payload);

} // namespace MachineFrame
