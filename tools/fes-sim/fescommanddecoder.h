#pragma once

#include "fes/fesframe.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// One frame from the host, taken apart.
struct FesHostCommand
{
    enum class Kind {
        Invalid, Search, Connect, Disconnect, Battery, ChannelAdjust, Current, Frequency, PulseWidth,
        SwitchOutput, RealTimeParam, CycleParam, Motion, Unknown
    };

    Kind kind = Kind::Invalid;
    uint8_t command = 0;
    uint8_t device = 0;
    uint8_t channel = 0;
    // Disconnect: the all flag; ChannelAdjust, SwitchOutput: on; Current: mA; Frequency: Hz;
    // PulseWidth: µs.
    int value = 0;
    QByteArray mac;                    // Connect: the bytes after "7D dev 00", at most 6
    FesFrame::RealTimeParam realTime;  // RealTimeParam
    FesFrame::CycleParam cycle;        // CycleParam
    uint16_t motionWords[3] = {0, 0, 0};
    uint8_t motionPacing = 0;
    bool checksumOk = true;
    uint8_t checksum = 0;         // as received
    uint8_t expectedChecksum = 0; // low 8 bits of the payload's sum
    QByteArray frame;             // the bytes as received
    QString problem;              // Invalid: why
};

// Reads host frames (0xAA, N, payload, checksum, 0x55) and renders them as one readable line.
// A wrong checksum is reported but the frame is still decoded, as the program's own receiver
// does not check it either.
class FesCommandDecoder
{
public:
    static FesHostCommand decode(const QByteArray &frame);
    static QString describe(const FesHostCommand &command);
    // "rx checksum mismatch ..." for a frame whose checksum is wrong, else an empty string.
    static QString checksumNote(const FesHostCommand &command);
    static QString macText(const QByteArray &mac);
};
