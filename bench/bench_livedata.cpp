// The cost of one live-data frame on a running training page: decoding, labels, statistics and
// the game message, as the median per frame over batches of 1,000 frames, and the resident memory
// before and after. The page runs offscreen on a UDP link to loopback addresses of its own (no
// trainer answers); frames go straight into its receive slot.
//   QT_QPA_PLATFORM=offscreen build/bench/bench_livedata [FRAMES]
#include "app/configmanager.h"
#include "comm/deviceprotocol.h"
#include "training/gamedisplaypage.h"
#include "training/icemodule.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kBatch = 1000;
constexpr int kWarmUpBatches = 10;
constexpr int kDefaultFrames = 100000;

long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return probe.localPort();
}

// Frame i of a session that speeds up and slows down, with moving angles, distances and balance.
QByteArray frame(int i)
{
    using namespace DeviceProtocol;
    QByteArray f(kLiveFrameSize, '\0');
    f[0] = char(kDatagramStart);
    f[1] = char(kLiveFrameSize - 8);
    f[2] = char(kReplyLiveData1);
    auto put = [&f](int offset, int value) { f[3 + offset] = char(value); };
    auto putWord = [&](int offset, int value) {
        put(offset, value & 0xFF);
        put(offset + 1, (value >> 8) & 0xFF);
    };
    put(Live::kStage, 1);
    put(Live::kDownSpeed, 10 + i % 30);
    put(Live::kUpSpeed, 5 + i % 20);
    putWord(Live::kLeftHandAngle, i % 360);
    putWord(Live::kLeftFootAngle, (i + 180) % 360);
    put(Live::kUpBalance, 40 + i % 20);
    put(Live::kDownBalance, 60 - i % 20);
    putWord(Live::kUpDistance, i / 10);
    putWord(Live::kDownDistance, i / 8);
    putWord(Live::kUpPower, 20 + i % 50);
    putWord(Live::kDownPower, 30 + i % 40);
    return f;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(kBatch, atoi(argv[1]) / kBatch * kBatch) : kDefaultFrames;

    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/rotaflex-bench-XXXXXX"));
    QDir(work.path()).mkpath(QStringLiteral("DependFile/ConfigFile"));
    QDir::setCurrent(work.path());
    QFile config(QStringLiteral("DependFile/ConfigFile/config.xml"));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    config.write(QStringLiteral("<config><communicateType type=\"1\"/><udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>"
                                "<udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/></config>")
                     .arg(freePort()).arg(freePort()).toUtf8());
    config.close();
    ConfigManager::getInstance()->readConfigFile();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    GameDisplayPage page;
    page.findChild<QTimer *>(QStringLiteral("countDownTimer"))->setInterval(3600 * 1000);
    page.show();
    ST_BicycleParam param;
    param.trainLimp = 2;
    param.trainMode = 7;
    IceModule::getInstance()->setBicycleParam(param);
    page.on_start_Btn_clicked();

    std::vector<QByteArray> input;
    for (int i = 0; i < kBatch; ++i)
        input.push_back(frame(i));
    // Warm up: the first frames fill caches, the sampling starts and the allocator settles.
    for (int batch = 0; batch < kWarmUpBatches; ++batch) {
        for (const QByteArray &f : input)
            page.slotReceiveData(f);
        QCoreApplication::processEvents();
    }

    const long before = residentKiB();
    std::vector<double> perFrame;
    QElapsedTimer clock;
    for (int done = 0; done < frames; done += kBatch) {
        clock.start();
        for (const QByteArray &f : input)
            page.slotReceiveData(f);
        perFrame.push_back(double(clock.nsecsElapsed()) / kBatch / 1000.0);
        QCoreApplication::processEvents(); // the socket writes and repaints of a real event loop
    }
    const long after = residentKiB();

    std::printf("live-data frames on the running page (limb 2, mode 7), %d frames in batches of %d\n", frames, kBatch);
    std::printf("%-34s %12s\n", "figure", "value");
    std::printf("%-34s %12.2f\n", "median per frame (us)", median(perFrame));
    std::printf("%-34s %12.2f\n", "fastest batch per frame (us)", *std::min_element(perFrame.begin(), perFrame.end()));
    std::printf("%-34s %12.2f\n", "slowest batch per frame (us)", *std::max_element(perFrame.begin(), perFrame.end()));
    std::printf("%-34s %12ld\n", "resident before (KiB)", before);
    std::printf("%-34s %12ld\n", "resident after (KiB)", after);
    std::printf("%-34s %12ld\n", "growth (KiB)", after - before);
    return 0;
}
