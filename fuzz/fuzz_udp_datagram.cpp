// The UDP datagram check on arbitrary datagrams: a frame handed on starts with 0xAB, is L + 8
// bytes long and ends with two zero bytes; nothing else is handed on.
#include "comm/deviceframe.h"
#include "comm/deviceprotocol.h"

#include <QByteArray>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray datagram = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    if (DeviceFrame::checkDatagram(datagram) != DeviceFrame::DatagramVerdict::Frame)
        return 0;
    const QByteArray frame = DeviceFrame::datagramFrame(datagram);
    if (frame.size() < 8 || uint8_t(frame.at(0)) != DeviceProtocol::kDatagramStart
        || frame.size() != uint8_t(frame.at(1)) + 8 || frame.at(frame.size() - 1) != 0
        || frame.at(frame.size() - 2) != 0 || !datagram.startsWith(frame))
        std::abort();
    return 0;
}
