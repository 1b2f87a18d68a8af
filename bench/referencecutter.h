#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>

// The stream cutting rules written as plainly as possible, as the yardstick for the real cutter:
// the benchmark times it, the fuzz targets compare frames with it. It removes consumed bytes from
// the front of its buffer one decision at a time, so it is quadratic on large input.
class ReferenceCutter
{
public:
    ReferenceCutter(uint8_t startByte, uint8_t endByte, int maxLength = 255);

    QList<QByteArray> feed(const QByteArray &bytes);
    qint64 droppedBytes() const { return m_dropped; }
    int pendingBytes() const { return m_buffer.size(); }

private:
    uint8_t m_start;
    uint8_t m_end;
    int m_maxLength;
    QByteArray m_buffer;
    qint64 m_dropped = 0;
};
