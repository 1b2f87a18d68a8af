#pragma once

#include "comm/bicycleparam.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// One frame from the host, taken apart.
struct HostCommand
{
    enum class Kind { Invalid, BicycleParam, RealTimeParam, HeartBeat, VersionQuery, Unknown };

    Kind kind = Kind::Invalid;
    uint8_t command = 0;
    ST_BicycleParam param;   // BicycleParam: bytes 0..11 as sent, trainTime left at its default
    uint8_t item = 0;        // RealTimeParam
    uint8_t value = 0;       // RealTimeParam
    QByteArray frame;        // the bytes as received
    QString problem;         // Invalid: why
};

// Reads host frames (0xAB, n, payload, 0x00, 0xCD) and renders them as one readable line.
class HostCommandDecoder
{
public:
    static HostCommand decode(const QByteArray &frame);
    static QString describe(const HostCommand &command);
};
