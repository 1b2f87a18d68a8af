#include "fesframereader.h"

#include "fes/fesprotocol.h"

FesFrameReader::FesFrameReader() : m_cutter(FesProtocol::kStart, FesProtocol::kEnd, FesProtocol::kHostMaxPayload) {}

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
    m_cutter.append(bytes);
    QByteArray piece;
    for (;;) {
        switch (m_cutter.next(&piece)) {
        case StreamFrameCutter::Step::NeedMore:
            flushStray();
            return items;
        case StreamFrameCutter::Step::Skipped:
        case StreamFrameCutter::Step::FalseStart:
            stray += piece;
            break;
        case StreamFrameCutter::Step::BadEnd:
            flushStray();
            items << Item{Item::Kind::BadEnd, piece};
            break;
        case StreamFrameCutter::Step::Frame:
            flushStray();
            items << Item{Item::Kind::Frame, piece};
            break;
        }
    }
}
