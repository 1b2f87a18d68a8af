// The serial link's cutter on arbitrary bytes, fed in two pieces split where the input says: the
// same frames, in the same order, and the same byte counts as the reference cutter on the whole.
#include "bench/referencecutter.h"
#include "comm/deviceprotocol.h"
#include "comm/streamframecutter.h"

#include <QByteArray>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace DeviceProtocol;
    // fromRawData: no copy and no hidden terminating zero, so over-reads are caught.
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const int split = size > 0 ? int(data[0]) % int(size + 1) : 0;
    StreamFrameCutter cutter(kStreamStart, kStreamEnd, kMachineMaxLength);
    QList<QByteArray> frames = cutter.feed(QByteArray::fromRawData(input.constData(), split));
    frames += cutter.feed(QByteArray::fromRawData(input.constData() + split, int(size) - split));

    ReferenceCutter reference(kStreamStart, kStreamEnd, kMachineMaxLength);
    if (frames != reference.feed(input) || cutter.droppedBytes() != reference.droppedBytes()
        || cutter.pendingBytes() != reference.pendingBytes())
        std::abort();
    return 0;
}
