#include "comm/streamframecutter.h"

#include <cstring>

StreamFrameCutter::StreamFrameCutter(uint8_t startByte, uint8_t endByte)
    : m_start(startByte), m_end(endByte)
{
}

QList<QByteArray> StreamFrameCutter::feed(const QByteArray &bytes)
{
    QList<QByteArray> frames;
    m_buffer.append(bytes);
    const char *data = m_buffer.constData();
    const int size = m_buffer.size();

    while (m_pos < size) {
        if (uint8_t(data[m_pos]) != m_start) {
            const void *next = std::memchr(data + m_pos, m_start, size_t(size - m_pos));
            const int found = next ? int(static_cast<const char *>(next) - data) : size;
            m_dropped += found - m_pos;
            m_pos = found;
            continue;
        }
        if (size - m_pos < 2)
            break; // the length byte has not arrived
        const int length = uint8_t(data[m_pos + 1]);
        if (length + 3 >= size - m_pos)
            break; // incomplete frame: wait for more
        if (uint8_t(data[m_pos + length + 3]) == m_end)
            frames.append(QByteArray(data + m_pos, length + 4));
        else
            m_dropped += length + 4;
        m_pos += length + 4;
    }

    if (m_pos == size) {
        m_buffer.clear();
        m_pos = 0;
    } else if (m_pos > 4096 && m_pos > size / 2) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
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
