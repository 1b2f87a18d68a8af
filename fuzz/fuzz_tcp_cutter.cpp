// The TCP link's cutter fed in pieces whose sizes the input chooses: the frames must be the same
// as for the stream in one piece, each well formed.
#include "comm/deviceprotocol.h"
#include "comm/streamframecutter.h"

#include <QByteArray>
#include <QList>
#include <cstdlib>

namespace {
void check(const QByteArray &frame)
{
    if (frame.size() < 4 || uint8_t(frame.at(0)) != DeviceProtocol::kStreamStart
        || uint8_t(frame.at(frame.size() - 1)) != DeviceProtocol::kStreamEnd
        || frame.size() != uint8_t(frame.at(1)) + 4)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte seeds the piece sizes; the rest is the stream.
    unsigned seed = data[0];
    const QByteArray stream = QByteArray::fromRawData(reinterpret_cast<const char *>(data + 1), int(size - 1));

    StreamFrameCutter whole(DeviceProtocol::kStreamStart, DeviceProtocol::kStreamEnd);
    const QList<QByteArray> expected = whole.feed(stream);

    StreamFrameCutter pieces(DeviceProtocol::kStreamStart, DeviceProtocol::kStreamEnd);
    QList<QByteArray> got;
    int pos = 0;
    while (pos < stream.size()) {
        seed = seed * 1103515245u + 12345u;
        const int piece = 1 + int((seed >> 16) % 64);
        got += pieces.feed(stream.mid(pos, piece));
        pos += piece;
    }
    for (const QByteArray &frame : got)
        check(frame);
    if (got != expected || pieces.droppedBytes() != whole.droppedBytes())
        std::abort();
    return 0;
}
