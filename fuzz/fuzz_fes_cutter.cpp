// The FES adapter's receive path on arbitrary bytes, fed in two pieces split where the input
// says: the same frames, in the same order, and the same byte counts as the reference cutter on
// the whole; decoding a frame, the input or any short prefix of it stays inside its bytes and
// reads the fields where they are.
#include "bench/referencecutter.h"
#include "comm/streamframecutter.h"
#include "fes/fesframe.h"
#include "fes/fesprotocol.h"

#include <QByteArray>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
void decode(const QByteArray &bytes)
{
    FesFrame::Reply reply;
    const bool acted = FesFrame::decodeReply(bytes, &reply);
    if (acted != (bytes.size() > 2))
        std::abort();
    if (!acted)
        return;
    const int size = bytes.size();
    const auto byte = [&bytes](int i) { return int(uint8_t(bytes.at(i))); };
    if (reply.command != byte(2) || reply.device != (size >= 4 ? byte(3) : 0))
        std::abort();
    const int battery = reply.command == FesProtocol::kReplyBattery && size >= 8 ? byte(7) : 0;
    if (reply.battery != battery)
        std::abort();
    if (reply.command == FesProtocol::kReplyFound ? reply.mac != bytes.mid(5, 6) : !reply.mac.isEmpty())
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // fromRawData: no copy and no hidden terminating zero, so over-reads are caught.
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    StreamFrameCutter cutter(FesProtocol::kStart, FesProtocol::kEnd, FesProtocol::kAdapterMaxPayload);
    const int split = size > 0 ? int(data[0]) % int(size + 1) : 0;
    QList<QByteArray> frames = cutter.feed(QByteArray::fromRawData(input.constData(), split));
    frames += cutter.feed(QByteArray::fromRawData(input.constData() + split, int(size) - split));
    ReferenceCutter reference(FesProtocol::kStart, FesProtocol::kEnd, FesProtocol::kAdapterMaxPayload);
    if (frames != reference.feed(input) || cutter.droppedBytes() != reference.droppedBytes()
        || cutter.pendingBytes() != reference.pendingBytes())
        std::abort();
    for (const QByteArray &frame : frames)
        decode(frame);
    // The decoder also on raw, unframed input; short prefixes get buffers of their exact size
    // so that a read past their end is caught.
    decode(input);
    for (size_t length = 0; length <= size && length <= 12; ++length) {
        std::unique_ptr<char[]> copy(new char[length > 0 ? length : 1]);
        if (length > 0)
            std::memcpy(copy.get(), data, length);
        decode(QByteArray::fromRawData(copy.get(), int(length)));
    }
    return 0;
}
