#include "referencecutter.h"

ReferenceCutter::ReferenceCutter(uint8_t startByte, uint8_t endByte, int maxLength)
    : m_start(startByte), m_end(endByte), m_maxLength(maxLength)
{
}

QList<QByteArray> ReferenceCutter::feed(const QByteArray &bytes)
{
    m_buffer.append(bytes);
    QList<QByteArray> frames;
    while (!m_buffer.isEmpty()) {
        // Anything but a start byte is dropped.
        if (uint8_t(m_buffer.at(0)) != m_start) {
            m_buffer.remove(0, 1);
            ++m_dropped;
            continue;
        }
        if (m_buffer.size() < 2)
            break;
        const int length = uint8_t(m_buffer.at(1));
        // A length above the largest frame: the start byte was noise.
        if (length > m_maxLength) {
            m_buffer.remove(0, 1);
            ++m_dropped;
            continue;
        }
        if (m_buffer.size() < length + 4)
            break;
        // A wrong end byte: the start byte was noise, scanning goes on at the next byte.
        if (uint8_t(m_buffer.at(length + 3)) != m_end) {
            m_buffer.remove(0, 1);
            ++m_dropped;
            continue;
        }
        frames.append(m_buffer.left(length + 4));
        m_buffer.remove(0, length + 4);
    }
    return frames;
}
