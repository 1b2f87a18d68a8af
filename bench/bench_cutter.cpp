// Throughput of the stream frame cutter beside the reference cutter, which removes consumed
// bytes from the front of its buffer as a straightforward implementation would. The garbage
// between frames holds start bytes (a false start every hundred garbage bytes or so).
#include "comm/deviceprotocol.h"
#include "comm/streamframecutter.h"
#include "referencecutter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>

namespace {

using namespace DeviceProtocol;

struct Stream
{
    QByteArray bytes;
    int frames = 0; // whole live-data frames put in
};

QByteArray liveFrame()
{
    return QByteArray(1, char(kStreamStart)) + char(kLiveDataLength) + QByteArray(kLiveDataLength, '\x11')
           + QByteArray(1, '\0') + char(kStreamEnd);
}

// Live-data frames with the given share of garbage bytes between them; percent -1 gives a
// stream of nothing but false starts (BA 20 BA 20 ...), each waiting for its end byte in vain.
Stream makeStream(qint64 size, int garbagePercent)
{
    Stream stream;
    stream.bytes.reserve(int(size + 64));
    if (garbagePercent < 0) {
        while (stream.bytes.size() < size)
            stream.bytes.append(char(kStreamStart)).append(char(kLiveDataLength));
        stream.bytes.truncate(int(size));
        return stream;
    }
    QRandomGenerator random(42);
    const QByteArray frame = liveFrame();
    const int gap = frame.size() * garbagePercent / (100 - garbagePercent);
    while (stream.bytes.size() + frame.size() <= size) {
        stream.bytes.append(frame);
        ++stream.frames;
        for (int i = 0; i < gap; ++i) {
            const char byte = random.bounded(100) == 0 ? char(kStreamStart) : char(random.bounded(256));
            stream.bytes.append(byte);
        }
    }
    stream.bytes.truncate(int(size));
    return stream;
}

template<typename Cutter>
double secondsFor(const QByteArray &stream, QList<QByteArray> *frames)
{
    Cutter cutter(kStreamStart, kStreamEnd, kMachineMaxLength);
    QElapsedTimer timer;
    timer.start();
    *frames = cutter.feed(stream);
    return double(timer.nsecsElapsed()) / 1e9;
}

QString garbageText(int percent)
{
    return percent < 0 ? QStringLiteral("BA20...") : QStringLiteral("%1 %").arg(percent);
}

} // namespace

int main(int argc, char *argv[])
{
    // The reference cutter is quadratic: past this size it is estimated from the 1 MB run.
    const qint64 referenceLimit = (argc > 1 && QByteArray(argv[1]) == "--full-reference") ? (1 << 30) : (1 << 20);
    const QList<int> garbages{0, 10, 90, -1};
    std::printf("%-7s %-8s %7s %7s %6s %10s %8s %9s %10s %9s\n", "input", "garbage", "frames", "good",
                "false", "ours MB/s", "ours s", "ref MB/s", "ref s", "speed-up");
    for (int garbage : garbages) {
        double reference1 = 0;
        for (qint64 size : {qint64(1) << 20, qint64(16) << 20}) {
            const Stream stream = makeStream(size, garbage);
            QList<QByteArray> oursFrames;
            QList<QByteArray> referenceFrames;
            const double ours = secondsFor<StreamFrameCutter>(stream.bytes, &oursFrames);
            double reference = 0;
            bool estimated = false;
            if (size <= referenceLimit) {
                reference = secondsFor<ReferenceCutter>(stream.bytes, &referenceFrames);
                if (referenceFrames != oursFrames) {
                    std::fprintf(stderr, "frames differ from the reference's\n");
                    return 1;
                }
            } else {
                reference = reference1 * double(size >> 20) * double(size >> 20); // quadratic growth
                estimated = true;
            }
            if (size == (qint64(1) << 20))
                reference1 = reference;
            const int good = int(oursFrames.count(liveFrame()));
            const double mb = double(size) / (1 << 20);
            std::printf("%-7s %-8s %7d %7d %6d %10.1f %8.4f %9.1f %9.3f%s %8.0fx\n",
                        qPrintable(QStringLiteral("%1 MB").arg(size >> 20)), qPrintable(garbageText(garbage)),
                        stream.frames, good, int(oursFrames.size()) - good, mb / ours, ours, mb / reference,
                        reference, estimated ? "*" : " ", reference / ours);
        }
    }
    std::printf("frames: frames put in; good: frames handed on whole; false: garbage that looks like a frame\n"
                "(start byte, length up to %d, end byte in place) and is handed on as one\n"
                "* estimated from the 1 MB run (the reference cutter's time grows with the square of the input)\n",
                kMachineMaxLength);

    // The time ratio 16 MB / 1 MB: near 16 means linear.
    std::printf("\n%-8s %12s %12s %10s\n", "garbage", "1 MB s", "16 MB s", "ratio");
    for (int garbage : garbages) {
        QList<QByteArray> frames;
        const QByteArray small = makeStream(qint64(1) << 20, garbage).bytes;
        const QByteArray large = makeStream(qint64(16) << 20, garbage).bytes;
        double t1 = 1e9;
        double t16 = 1e9;
        for (int run = 0; run < 9; ++run) { // best of nine against noise
            t1 = qMin(t1, secondsFor<StreamFrameCutter>(small, &frames));
            t16 = qMin(t16, secondsFor<StreamFrameCutter>(large, &frames));
        }
        std::printf("%-8s %12.4f %12.4f %10.1f\n", qPrintable(garbageText(garbage)), t1, t16, t16 / t1);
    }
    std::printf("ratio 16 = linear; the reference cutter's is about 256\n");
    return 0;
}
