#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>

// Frames of the FES adapter link, built, cut and read without any port.
namespace FesFrame {

// Sum of bytes first..last inclusive; 0 for an empty array, first > last, or an index past the end.
int getSum(const QByteArray &bytes, int first, int last);

// 0xAA, N, payload, low 8 bits of the payload's sum, 0x55.
QByteArray createFrame(const QByteArray &payload);

// Payloads of the commands (device 1..4, channel 1..2); values are encoded as given.
QByteArray searchPayload();                                             // 7B 00 00 01
QByteArray connectPayload(const QByteArray &mac, uint8_t device);       // 7D dev 00 mac...
QByteArray disconnectPayload(uint8_t device, uint8_t all);              // 7A dev 00 all
QByteArray batteryPayload(uint8_t device);                              // 78 dev 00 00
QByteArray channelAdjustPayload(uint8_t device, uint8_t channel, uint8_t on);
QByteArray currentPayload(uint8_t device, uint8_t channel, uint8_t milliamps);
QByteArray frequencyPayload(uint8_t device, uint8_t channel, uint16_t hertz);
QByteArray pulseWidthPayload(uint8_t device, uint8_t channel, uint16_t microseconds);
QByteArray switchOutputPayload(uint8_t device, uint8_t channel, uint8_t on);

struct RealTimeParam
{
    uint16_t frequency = 0;  // Hz
    uint16_t pulseWidth = 0; // µs
    uint16_t riseTime = 0;   // ms
    uint16_t openTime = 0;   // ms
    uint16_t fallTime = 0;   // ms
    uint16_t closeTime = 0;  // ms
};
QByteArray realTimeParamPayload(uint8_t device, uint8_t channel, const RealTimeParam &param); // 18 bytes

struct CycleParam
{
    uint16_t frequency = 0;
    uint16_t pulseWidth = 0;
    uint16_t forwardStart = 0;
    uint16_t forwardStop = 0;
    uint16_t reverseStart = 0;
    uint16_t reverseStop = 0;
    uint8_t minCurrent = 0;
    uint8_t maxCurrent = 0;
    uint8_t limb = 0; // 1 upper, 2 lower
    uint8_t side = 0; // 1 left, 2 right
};
QByteArray cycleParamPayload(uint8_t device, uint8_t channel, const CycleParam &param); // 22 bytes

// The motion block is bytes 1..7 of the trainer's live-data record; its three little-endian
// words go out high byte first, then record byte 1.
QByteArray motionPayload(uint8_t device, const QByteArray &motionBlock); // 10 bytes

// MAC text of 12 hexadecimal digits, first pair first; always 6 bytes (missing pairs give 0).
QByteArray macFromText(const QString &text);

// The receive path cuts frames with StreamFrameCutter(kStart, kEnd, kAdapterMaxPayload): N + 4
// bytes with the end byte at N + 3; the checksum is not checked.

// One decoded reply.
struct Reply
{
    uint8_t command = 0;
    uint8_t device = 0;   // 0 when the frame is shorter than 4 bytes
    int battery = 0;      // 0x78: frame byte 7, 0 when shorter than 8 bytes
    QByteArray mac;       // 0x7C: frame bytes 5..10
};
// False for frames of two bytes or fewer, which carry nothing to act on.
bool decodeReply(const QByteArray &frame, Reply *reply);

} // namespace FesFrame
