#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// Payloads of the adapter's replies; FesFrame::createFrame frames them for the line.
namespace FesReply {

QByteArray searchAcknowledged();                                // 7B 00 00 01
QByteArray boxFound(const QByteArray &mac);                     // 7C 00 00 m0..m5: MAC at frame bytes 5..10
QByteArray connected(uint8_t device, const QByteArray &mac);    // 7D dev 00 m0..m5
QByteArray disconnected(uint8_t device);                        // 7E dev 00 00
QByteArray poweredOff(uint8_t device);                          // 7A dev 00 00
QByteArray battery(uint8_t device, uint8_t level);              // 78 dev 00 00 00 level: level at frame byte 7

// One readable line for a reply payload, e.g. "tx dev=1 connected".
QString describe(const QByteArray &payload);

} // namespace FesReply
