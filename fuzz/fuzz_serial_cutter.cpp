// The serial link's cutter on arbitrary bytes: every frame handed on is start, L, L + 1 bytes,
// end; nothing is handed on twice or invented, and the consumed bytes add up.
#include "comm/deviceprotocol.h"
#include "comm/streamframecutter.h"

#include <QByteArray>
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
    // fromRawData: no copy and no hidden terminating zero, so over-reads are caught.
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    StreamFrameCutter cutter(DeviceProtocol::kStreamStart, DeviceProtocol::kStreamEnd);
    qint64 handedOn = 0;
    for (const QByteArray &frame : cutter.feed(input)) {
        check(frame);
        handedOn += frame.size();
    }
    if (handedOn + cutter.droppedBytes() + cutter.pendingBytes() != qint64(size))
        std::abort();
    return 0;
}
