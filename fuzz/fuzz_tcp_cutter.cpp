// The stream cutter fed in pieces whose sizes the input chooses, with a largest length the input
// chooses too: the same frames, in the same order, and the same byte counts as the reference
// cutter on the stream in one piece.
#include "bench/referencecutter.h"
#include "comm/deviceprotocol.h"
#include "comm/streamframecutter.h"

#include <QByteArray>
#include <QList>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace DeviceProtocol;
    if (size < 2)
        return 0;
    // The first byte seeds the piece sizes, the second is the largest length; the rest is the stream.
    unsigned seed = data[0];
    const int maxLength = data[1];
    const QByteArray stream = QByteArray::fromRawData(reinterpret_cast<const char *>(data + 2), int(size - 2));

    StreamFrameCutter pieces(kStreamStart, kStreamEnd, maxLength);
    QList<QByteArray> got;
    int pos = 0;
    while (pos < stream.size()) {
        seed = seed * 1103515245u + 12345u;
        const int piece = qMin(1 + int((seed >> 16) % 64), stream.size() - pos);
        got += pieces.feed(QByteArray::fromRawData(stream.constData() + pos, piece));
        pos += piece;
    }

    ReferenceCutter reference(kStreamStart, kStreamEnd, maxLength);
    if (got != reference.feed(stream) || pieces.droppedBytes() != reference.droppedBytes()
        || pieces.pendingBytes() != reference.pendingBytes())
        std::abort();
    return 0;
}
