#pragma once

#include "comm/streamframecutter.h"

#include <QByteArray>
#include <QList>

// Cuts the host's frames out of the byte stream with the program's own rule (StreamFrameCutter)
// and tells, in stream order, what it threw away: runs of bytes outside frames, and candidate
// frames whose end byte is not 0x55 (of which only the start byte is dropped; the bytes behind it
// are scanned again).
class FesFrameReader
{
public:
    struct Item
    {
        enum class Kind { Frame, BadEnd, Stray };
        Kind kind = Kind::Frame;
        QByteArray bytes; // the frame, the candidate with the bad end byte, or the run of stray bytes
    };

    FesFrameReader();

    QList<Item> feed(const QByteArray &bytes);

private:
    StreamFrameCutter m_cutter;
};
