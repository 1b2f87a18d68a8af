#include "fesframereader.h"

#include "fes/fesprotocol.h"

namespace {
// Longer than the longest frame (255 payload bytes + 4).
constexpr int kRecentBytes = 512;
} // namespace

FesFrameReader::FesFrameReader() : m_cutter(FesProtocol::kStart, FesProtocol::kEnd) {}

QList<FesFrameReader::Item> FesFrameReader::feed(const QByteArray &bytes)
{
    QList<Item> items;
    QByteArray stray;
    const auto flushStray = [&] {
        if (stray.isEmpty())
            return;
        items << Item{Item::Kind::Stray, stray};
        stray.clear();
    };
    // One byte at a time, so each drop can be told apart: a stray byte is dropped alone, a frame
    // with a bad end byte all at once when its last byte arrives. The line is slow; this is cheap.
    for (const char byte : bytes) {
        m_recent.append(byte);
        if (m_recent.size() > 2 * kRecentBytes)
            m_recent.remove(0, m_recent.size() - kRecentBytes);
        const QList<QByteArray> frames = m_cutter.feed(QByteArray(1, byte));
        const qint64 dropped = m_cutter.droppedBytes() - m_dropped;
        m_dropped = m_cutter.droppedBytes();
        if (dropped == 1) {
            stray.append(byte);
        } else if (dropped > 1) {
            flushStray();
            items << Item{Item::Kind::BadEnd, m_recent.right(int(dropped))};
        }
        for (const QByteArray &frame : frames) {
            flushStray();
            items << Item{Item::Kind::Frame, frame};
        }
    }
    flushStray();
    return items;
}
