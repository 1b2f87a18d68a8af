#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>

// Cuts frames of the form start, L, L + 1 bytes, end (L + 4 bytes in all) out of a byte stream.
// Bytes before a start byte are skipped. A start byte whose length byte is above the largest
// frame the peer sends, or whose frame has a wrong end byte, is a false start: only that one byte
// is dropped and the scan goes on at the next byte, so noise never swallows the frames behind it.
// Runs in time linear in its input: the scan position only moves forward, a candidate waiting for
// its end byte costs one comparison per feed, and consumed bytes are compacted away in bulk.
class StreamFrameCutter
{
public:
    // What one step of the scan took off the front of the stream.
    enum class Step {
        NeedMore,   // nothing decided until more bytes arrive
        Frame,      // a whole frame
        Skipped,    // a run of bytes that holds no start byte
        FalseStart, // a start byte whose length byte is above the largest length
        BadEnd      // a start byte whose frame has a wrong end byte
    };

    StreamFrameCutter(uint8_t startByte, uint8_t endByte, int maxLength = 255);

    // Appends bytes and returns the frames completed by them, in order.
    QList<QByteArray> feed(const QByteArray &bytes);

    // The same in single steps, for readers that report what was dropped: append, then call
    // next() until it gives NeedMore. *bytes receives the frame, the skipped run, the dropped
    // start byte, or for BadEnd the whole candidate (of which only its start byte is consumed).
    void append(const QByteArray &bytes);
    Step next(QByteArray *bytes = nullptr);

    void clear();
    int pendingBytes() const;
    // Bytes consumed without being part of a frame.
    qint64 droppedBytes() const { return m_dropped; }

private:
    Step step(QByteArray *frame, QByteArray *dropped);

    uint8_t m_start;
    uint8_t m_end;
    int m_maxLength;
    QByteArray m_buffer;
    int m_pos = 0;
    qint64 m_dropped = 0;
};
