#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>

// Cuts frames of the form start, L, L + 1 bytes, end (L + 4 bytes in all) out of a byte stream.
// Bytes before a start byte are skipped; a frame whose end byte is wrong is dropped whole
// (L + 4 bytes) and the scan resumes behind it. Runs in time linear in its input: consumed bytes
// are only counted, and the buffer is compacted when the consumed part outweighs the rest.
class StreamFrameCutter
{
public:
    StreamFrameCutter(uint8_t startByte, uint8_t endByte);

    // Appends bytes and returns the frames completed by them, in order.
    QList<QByteArray> feed(const QByteArray &bytes);

    void clear();
    int pendingBytes() const;
    qint64 droppedBytes() const { return m_dropped; }

private:
    uint8_t m_start;
    uint8_t m_end;
    QByteArray m_buffer;
    int m_pos = 0;
    qint64 m_dropped = 0;
};
