// Throughput of the stream frame cutter beside a cutter that removes consumed bytes from the
// front of its buffer, as a straightforward implementation would.
#include "comm/streamframecutter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>

#include <cstdio>

namespace {

// Removes bytes from the front one garbage byte or one frame at a time.
class NaiveCutter
{
public:
    int feed(const QByteArray &bytes)
    {
        m_buffer.append(bytes);
        int frames = 0;
        while (!m_buffer.isEmpty()) {
            if (uint8_t(m_buffer.at(0)) != 0xBA) {
                m_buffer.remove(0, 1);
                continue;
            }
            if (m_buffer.size() < 2)
                break;
            const int length = uint8_t(m_buffer.at(1));
            if (length + 3 >= m_buffer.size())
                break;
            if (uint8_t(m_buffer.at(length + 3)) == 0xDC)
                ++frames;
            m_buffer.remove(0, length + 4);
        }
        return frames;
    }

private:
    QByteArray m_buffer;
};

// A stream of 36-byte live-data frames with the given share of garbage bytes between them.
QByteArray makeStream(qint64 size, int garbagePercent)
{
    QRandomGenerator random(42);
    const QByteArray frame = QByteArray::fromHex("BA20") + QByteArray(32, '\x11') + QByteArray::fromHex("00DC");
    const int gap = frame.size() * garbagePercent / (100 - garbagePercent);
    QByteArray stream;
    stream.reserve(int(size + frame.size() + gap));
    while (stream.size() < size) {
        stream.append(frame);
        for (int i = 0; i < gap; ++i) {
            // garbage never holds a start byte, so the share stays as asked
            const char byte = char(random.bounded(256));
            stream.append(uint8_t(byte) == 0xBA ? '\0' : byte);
        }
    }
    stream.truncate(int(size));
    return stream;
}

template<typename Cutter>
double secondsFor(const QByteArray &stream, int *frames)
{
    Cutter cutter;
    QElapsedTimer timer;
    timer.start();
    *frames = cutter.feed(stream);
    return timer.nsecsElapsed() / 1e9;
}

struct Ours
{
    StreamFrameCutter cutter{0xBA, 0xDC};
    int feed(const QByteArray &bytes) { return cutter.feed(bytes).size(); }
};

} // namespace

int main(int argc, char *argv[])
{
    // The naive cutter is quadratic: past this size it is estimated from the 1 MB run.
    const qint64 naiveLimit = (argc > 1 && QByteArray(argv[1]) == "--full-naive") ? (1 << 30) : (1 << 20);
    std::printf("%-8s %-8s %12s %12s %12s %12s %10s\n", "input", "garbage", "ours MB/s", "ours s",
                "naive MB/s", "naive s", "speed-up");
    for (int garbage : {0, 10, 90}) {
        double ours1 = 0;
        double naive1 = 0;
        for (qint64 size : {qint64(1) << 20, qint64(16) << 20}) {
            const QByteArray stream = makeStream(size, garbage);
            int oursFrames = 0;
            int naiveFrames = 0;
            const double ours = secondsFor<Ours>(stream, &oursFrames);
            double naive = 0;
            bool estimated = false;
            if (size <= naiveLimit) {
                naive = secondsFor<NaiveCutter>(stream, &naiveFrames);
                if (naiveFrames != oursFrames) {
                    std::fprintf(stderr, "frame counts differ: %d vs %d\n", oursFrames, naiveFrames);
                    return 1;
                }
            } else {
                naive = naive1 * double(size >> 20) * double(size >> 20); // quadratic growth
                estimated = true;
            }
            if (size == (qint64(1) << 20)) {
                ours1 = ours;
                naive1 = naive;
            }
            const double mb = double(size) / (1 << 20);
            std::printf("%-8s %-8s %12.1f %12.4f %12.1f %11.3f%s %9.0fx\n",
                        qPrintable(QStringLiteral("%1 MB").arg(size >> 20)),
                        qPrintable(QStringLiteral("%1 %").arg(garbage)), mb / ours, ours, mb / naive,
                        naive, estimated ? "*" : " ", naive / ours);
        }
        Q_UNUSED(ours1);
    }
    std::printf("* estimated from the 1 MB run (the naive cutter's time grows with the square of the input)\n");

    // The time ratio 16 MB / 1 MB: near 16 means linear.
    std::printf("\n%-8s %12s %12s %10s\n", "garbage", "1 MB s", "16 MB s", "ratio");
    for (int garbage : {0, 10, 90}) {
        int frames = 0;
        const QByteArray small = makeStream(qint64(1) << 20, garbage);
        const QByteArray large = makeStream(qint64(16) << 20, garbage);
        double t1 = 1e9;
        double t16 = 1e9;
        for (int run = 0; run < 9; ++run) { // best of nine against noise
            t1 = qMin(t1, secondsFor<Ours>(small, &frames));
            t16 = qMin(t16, secondsFor<Ours>(large, &frames));
        }
        std::printf("%-8s %12.4f %12.4f %10.1f\n", qPrintable(QStringLiteral("%1 %").arg(garbage)), t1, t16, t16 / t1);
    }
    std::printf("ratio 16 = linear; the naive cutter's is about 256\n");
    return 0;
}
