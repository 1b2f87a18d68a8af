#include "comm/streamframecutter.h"

#include <cstring>

namespace {
// Consumed bytes are removed from the buffer only once they are many and outweigh the rest, so
// removal costs O(1) per byte over time.
constexpr int kCompactAbove = 4096;
} // namespace

StreamFrameCutter::StreamFrameCutter(uint8_t startByte, uint8_t endByte, int maxLength)
    : m_start(startByte), m_end(endByte), m_maxLength(maxLength)
{
}

void StreamFrameCutter::append(const QByteArray &bytes)
{
    if (m_pos == m_buffer.size()) {
        m_buffer.clear();
        m_pos = 0;
    } else if (m_pos > kCompactAbove && m_pos > m_buffer.size() / 2) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    m_buffer.append(bytes);
}

StreamFrameCutter::Step StreamFrameCutter::next(QByteArray *bytes)
{
    return step(bytes, bytes);
}

StreamFrameCutter::Step StreamFrameCutter::step(QByteArray *frame, QByteArray *dropped)
{
    const char *data = m_buffer.constData();
    const int size = m_buffer.size();
    if (m_pos >= size)
        return Step::NeedMore;

    if (uint8_t(data[m_pos]) != m_start) {
        const void *found = std::memchr(data + m_pos, m_start, size_t(size - m_pos));
        const int end = found ? int(static_cast<const char *>(found) - data) : size;
        if (dropped)
            *dropped = QByteArray(data + m_pos, end - m_pos);
        m_dropped += end - m_pos;
        m_pos = end;
        return Step::Skipped;
    }
    if (size - m_pos < 2)
        return Step::NeedMore; // the length byte has not arrived
    const int length = uint8_t(data[m_pos + 1]);
    if (length > m_maxLength) {
        if (dropped)
            *dropped = QByteArray(data + m_pos, 1);
        ++m_dropped;
        ++m_pos;
        return Step::FalseStart;
    }
    if (length + 3 >= size - m_pos)
        return Step::NeedMore; // the end byte has not arrived
    if (uint8_t(data[m_pos + length + 3]) == m_end) {
        if (frame)
            *frame = QByteArray(data + m_pos, length + 4);
        m_pos += length + 4;
        return Step::Frame;
    }
    if (dropped)
        *dropped = QByteArray(data + m_pos, length + 4);
    ++m_dropped;
    ++m_pos;
    return Step::BadEnd;
}

QList<QByteArray> StreamFrameCutter::feed(const QByteArray &bytes)
{
    append(bytes);
    QList<QByteArray> frames;
    QByteArray frame;
    // Dropped bytes are only counted here, not copied.
    for (Step found = step(&frame, nullptr); found != Step::NeedMore; found = step(&frame, nullptr)) {
        if (found == Step::Frame)
            frames.append(frame);
    }
    return frames;
}

void StreamFrameCutter::clear()
{
    m_buffer.clear();
    m_pos = 0;
}

int StreamFrameCutter::pendingBytes() const
{
    return m_buffer.size() - m_pos;
}
