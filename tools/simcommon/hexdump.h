#pragma once

#include <QByteArray>
#include <QString>

// Bytes as the simulators print them: "ab 04 02 ...", cut after maxBytes.
class HexDump
{
public:
    static QString text(const QByteArray &bytes, int maxBytes = 48);
};
