#include "app/configmanager.h"
#include "comm/streamframecutter.h"
#include "common/drivenprogram.h"
#include "common/feslinkpty.h"
#include "common/fessimboxes.h"
#include "common/simprocess.h"
#include "common/testworkdir.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "fes/fescontroldialog.h"
#include "fes/fesframe.h"
#include "fes/fesprotocol.h"
#include "fes/fessetting.h"
#include "tools/fes-sim/fesadaptermodel.h"
#include "tools/fes-sim/fesboxoption.h"
#include "tools/fes-sim/fescommanddecoder.h"
#include "tools/fes-sim/fesconsolecommand.h"
#include "tools/fes-sim/fesframereader.h"
#include "tools/fes-sim/fesreply.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

using namespace FesProtocol;

namespace {

const QByteArray kMac1 = QByteArray::fromHex("A1B2C3D4E5F6");
const QByteArray kMac2 = QByteArray::fromHex("A1B2C3D4E5F7");

QByteArray frameOf(const QByteArray &payload)
{
    return FesFrame::createFrame(payload);
}

FesHostCommand command(const QByteArray &payload)
{
    return FesCommandDecoder::decode(FesFrame::createFrame(payload));
}

FesFrame::Reply replyOf(const QByteArray &payload)
{
    FesFrame::Reply reply;
    const bool decoded = FesFrame::decodeReply(FesFrame::createFrame(payload), &reply);
    Q_ASSERT(decoded);
    Q_UNUSED(decoded);
    return reply;
}

// A model with boxes 1 and 2 switched on, none connected.
FesAdapterModel twoBoxes(int level = 100, double drain = 1.0)
{
    FesAdapterModel model(level, drain);
    model.addBox(1, kMac1);
    model.addBox(2, kMac2);
    return model;
}

void connectBox(FesAdapterModel &model, uint8_t device, const QByteArray &mac)
{
    model.handle(command(FesFrame::connectPayload(mac, device)));
}

// The program's end of the serial line, opened by hand: QSerialPort would leave a lock file
// under /var/lock.
class HostPort
{
public:
    HostPort() : m_cutter(kStart, kEnd) {}
    ~HostPort() { close(); }

    bool open(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return false;
        termios tio{};
        if (::tcgetattr(m_fd, &tio) != 0)
            return false;
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B115200);
        return ::tcsetattr(m_fd, TCSANOW, &tio) == 0;
    }

    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    bool send(const QByteArray &payload) { return sendRaw(FesFrame::createFrame(payload)); }
    bool sendRaw(const QByteArray &bytes)
    {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
    }

    // Reads what has arrived; true once at least count frames were cut.
    bool hasFrames(int count)
    {
        char buffer[512];
        ssize_t n;
        while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0)
            m_frames += m_cutter.feed(QByteArray(buffer, int(n)));
        return m_frames.size() >= count;
    }

    QList<QByteArray> frames() const { return m_frames; }
    QList<FesFrame::Reply> replies() const
    {
        QList<FesFrame::Reply> decoded;
        for (const QByteArray &frame : m_frames) {
            FesFrame::Reply reply;
            if (FesFrame::decodeReply(frame, &reply))
                decoded << reply;
        }
        return decoded;
    }
    void clear() { m_frames.clear(); }

private:
    int m_fd = -1;
    StreamFrameCutter m_cutter;
    QList<QByteArray> m_frames;
};

// Reads a database file with a connection of its own, so the test never shares the program's.
class DbReader
{
public:
    explicit DbReader(const QString &path)
        : m_name(QStringLiteral("fessim-check-%1").arg(++s_count))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        m_open = db.open();
    }
    ~DbReader()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }

    bool isOpen() const { return m_open; }
    QStringList tables() const
    {
        QStringList names = QSqlDatabase::database(m_name).tables(QSql::Tables);
        names.sort();
        return names;
    }
    // Every row of a query as "a|b|c", in the order given.
    QStringList rows(const QString &sql) const
    {
        QStringList result;
        QSqlQuery query(QSqlDatabase::database(m_name));
        if (!query.exec(sql))
            return {QStringLiteral("error: ") + query.lastError().text()};
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < query.record().count(); ++i)
                fields << query.value(i).toString();
            result << fields.join(QLatin1Char('|'));
        }
        return result;
    }
    bool exec(const QString &sql) const
    {
        QSqlQuery query(QSqlDatabase::database(m_name));
        return query.exec(sql);
    }

private:
    static int s_count;
    QString m_name;
    bool m_open = false;
};
int DbReader::s_count = 0;

const QString kDbFile = QStringLiteral("DependFile/DBFile/Rotaflex.db");

// A configuration whose FES adapter is the given port; the lower machine's ports lead nowhere.
QByteArray configWithAdapter(const QString &adapterPort, const QString &folder)
{
    QFile shipped(QStringLiteral(ROTAFLEX_SOURCE_DIR "/DependFile/ConfigFile/config.xml"));
    if (!shipped.open(QIODevice::ReadOnly))
        return QByteArray();
    QString xml = QString::fromUtf8(shipped.readAll());
    xml.replace(QStringLiteral("/dev/ttyUSB1"), adapterPort);
    xml.replace(QStringLiteral("/dev/ttyUSB0"), folder + QStringLiteral("/no-tty0"));
    xml.replace(QStringLiteral("/dev/ttyUSB2"), folder + QStringLiteral("/no-tty2"));
    return xml.toUtf8();
}

QPushButton *okButton(FesSetting &page)
{
    return page.findChild<QPushButton *>(QStringLiteral("OK_Btn"));
}

} // namespace

// The simulated FES adapter: its model, frame reading and decoding directly, then the program as
// a real process on its pseudo-terminal with the test playing the host; and the tool that
// registers the simulated boxes in the database.
class TestFesSim : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_workDir;
    std::unique_ptr<QTemporaryDir> m_linkDir;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<HostPort> m_port;
    QString m_linkPath;

    // The box manager of this process on a simulator with boxes 1 and 2, both connected.
    std::unique_ptr<FesSimBoxes> m_boxes;

    // Starts a simulator on a pty linked at link.
    static std::unique_ptr<SimProcess> startAdapter(const QString &link, const QString &folder)
    {
        auto sim = std::make_unique<SimProcess>(QStringLiteral(FES_SIM));
        sim->start(FesSimBoxes::arguments(link), folder);
        return sim;
    }

    // Registers, finds and connects the simulator's two boxes through the program's manager.
    void connectBoxes()
    {
        if (m_boxes)
            return;
        m_boxes = std::make_unique<FesSimBoxes>(QStringLiteral(FES_SIM));
        QVERIFY(m_workDir->write(QStringLiteral("DependFile/ConfigFile/config.xml"),
                                 configWithAdapter(m_boxes->link(), QFileInfo(m_boxes->link()).path())));
        QVERIFY(ConfigManager::getInstance()->readConfigFile());
        CDatabaseInterface *db = CDatabaseInterface::getInstance();
        QVERIFY(db->openDB(m_workDir->filePath(QStringLiteral("DependFile/DBFile/boxes.db")), QStringLiteral("QSQLITE")));
        QVERIFY(DatabaseSchema::createTables(db));
        m_boxes->connectBoxes();
    }

    QString channelState(int box, int channel) { return m_boxes->channelState(box, channel); }

    // A shown pure-stimulation page with the channels of boxes A and B usable; null if the boxes
    // could not be connected.
    std::unique_ptr<FesSetting> pageOnBoxes()
    {
        connectBoxes();
        if (QTest::currentTestFailed())
            return nullptr;
        auto page = std::make_unique<FesSetting>();
        page->show();
        page->slotDeviceStateChanged({1, 1, 0, 0});
        return page;
    }

    // Starts the simulator with boxes 1 and 2 and opens its pty through the link.
    void startSim(const QStringList &extra = {})
    {
        m_linkDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/rotaflex-fes-XXXXXX"));
        QVERIFY(m_linkDir->isValid());
        m_linkPath = m_linkDir->filePath(QStringLiteral("fes-adapter.pty"));
        m_sim = std::make_unique<SimProcess>(QStringLiteral(FES_SIM));
        m_sim->start(QStringList{QStringLiteral("--box"), QStringLiteral("1=A1B2C3D4E5F6"), QStringLiteral("--box"),
                                 QStringLiteral("2=a1:b2:c3:d4:e5:f7"), QStringLiteral("--link"), m_linkPath}
                         + extra,
                     m_workDir->path());
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("ready:")), 5000);
        const QString ptyPath = m_sim->line(QStringLiteral("pty: ")).mid(5);
        QVERIFY2(ptyPath.startsWith(QStringLiteral("/dev/")), qPrintable(m_sim->output()));
        QCOMPARE(QFileInfo(m_linkPath).symLinkTarget(), ptyPath);
        m_port = std::make_unique<HostPort>();
        QVERIFY(m_port->open(m_linkPath));
    }

    void connectOverPty(uint8_t device, const QByteArray &mac)
    {
        const int before = m_port->frames().size();
        QVERIFY(m_port->send(FesFrame::connectPayload(mac, device)));
        QTRY_VERIFY_WITH_TIMEOUT(m_port->hasFrames(before + 1), 3000);
        const FesFrame::Reply reply = m_port->replies().last();
        QCOMPARE(reply.command, kReplyConnected);
        QCOMPARE(reply.device, device);
    }

    // Runs rotaflex-dbseed to its end in folder; returns its stdout.
    QString runSeed(const QString &folder, const QStringList &arguments = {}, int expectedExit = 0)
    {
        QProcess process;
        process.setWorkingDirectory(folder);
        process.start(QStringLiteral(DBSEED), arguments);
        if (!process.waitForFinished(10000))
            return QStringLiteral("(did not finish)");
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        const QString err = QString::fromUtf8(process.readAllStandardError());
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != expectedExit)
            return QStringLiteral("(exit %1) %2 %3").arg(process.exitCode()).arg(out, err);
        return out + err;
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        QVERIFY2(QFileInfo::exists(QStringLiteral(FES_SIM)), FES_SIM);
        QVERIFY2(QFileInfo::exists(QStringLiteral(DBSEED)), DBSEED);
        m_workDir = std::make_unique<TestWorkDir>();
        QVERIFY(m_workDir->isValid());
    }

    void cleanup()
    {
        m_port.reset();
        m_sim.reset();
        m_linkDir.reset();
    }

    void cleanupTestCase()
    {
        m_boxes.reset();
        m_workDir.reset();
    }

    // ---- replies, decoding and the model, without a process ----

    void repliesAreFramesTheProgramDecodes()
    {
        QCOMPARE(frameOf(FesReply::searchAcknowledged()), QByteArray::fromHex("AA047B0000017C55"));

        const QByteArray found = frameOf(FesReply::boxFound(kMac1));
        QCOMPARE(found.mid(5, 6), kMac1);
        QCOMPARE(replyOf(FesReply::boxFound(kMac1)).command, kReplyFound);
        QCOMPARE(replyOf(FesReply::boxFound(kMac1)).mac, kMac1);

        QCOMPARE(replyOf(FesReply::connected(3, kMac2)).command, kReplyConnected);
        QCOMPARE(replyOf(FesReply::connected(3, kMac2)).device, uint8_t(3));
        QCOMPARE(replyOf(FesReply::disconnected(2)).command, kReplyDisconnected);
        QCOMPARE(replyOf(FesReply::disconnected(2)).device, uint8_t(2));
        QCOMPARE(replyOf(FesReply::poweredOff(4)).command, kReplyPoweredOff);
        QCOMPARE(replyOf(FesReply::poweredOff(4)).device, uint8_t(4));

        const QByteArray battery = frameOf(FesReply::battery(1, 87));
        QCOMPARE(uint8_t(battery.at(7)), uint8_t(87));
        QCOMPARE(replyOf(FesReply::battery(1, 87)).battery, 87);
        QCOMPARE(replyOf(FesReply::battery(1, 87)).device, uint8_t(1));
    }

    void decoderReadsEveryCommand()
    {
        FesHostCommand c = command(FesFrame::searchPayload());
        QCOMPARE(int(c.kind), int(FesHostCommand::Kind::Search));
        QCOMPARE(FesCommandDecoder::describe(c), QStringLiteral("rx search"));

        c = command(FesFrame::connectPayload(kMac1, 2));
        QCOMPARE(int(c.kind), int(FesHostCommand::Kind::Connect));
        QCOMPARE(c.device, uint8_t(2));
        QCOMPARE(c.mac, kMac1);
        QCOMPARE(FesCommandDecoder::describe(c), QStringLiteral("rx dev=2 connect mac=A1B2C3D4E5F6"));

        c = command(FesFrame::disconnectPayload(1, 1));
        QCOMPARE(int(c.kind), int(FesHostCommand::Kind::Disconnect));
        QCOMPARE(c.value, 1);

        c = command(FesFrame::currentPayload(1, 2, 15));
        QCOMPARE(FesCommandDecoder::describe(c), QStringLiteral("rx dev=1 ch=2 current 15 mA"));
        c = command(FesFrame::frequencyPayload(3, 1, 300));
        QCOMPARE(FesCommandDecoder::describe(c), QStringLiteral("rx dev=3 ch=1 frequency 300 Hz"));
        c = command(FesFrame::pulseWidthPayload(3, 2, 450));
        QCOMPARE(FesCommandDecoder::describe(c), QStringLiteral("rx dev=3 ch=2 pulse width 450 us"));
        c = command(FesFrame::switchOutputPayload(4, 1, 1));
        QCOMPARE(FesCommandDecoder::describe(c), QStringLiteral("rx dev=4 ch=1 output on"));
        c = command(FesFrame::channelAdjustPayload(4, 2, 0));
        QCOMPARE(FesCommandDecoder::describe(c), QStringLiteral("rx dev=4 ch=2 adjust off"));
        c = command(FesFrame::batteryPayload(2));
        QCOMPARE(FesCommandDecoder::describe(c), QStringLiteral("rx dev=2 battery?"));

        FesFrame::RealTimeParam realTime;
        realTime.frequency = 100;
        realTime.pulseWidth = 200;
        realTime.riseTime = 2000;
        realTime.openTime = 10000;
        realTime.fallTime = 2000;
        realTime.closeTime = 10000;
        c = command(FesFrame::realTimeParamPayload(1, 1, realTime));
        QCOMPARE(FesCommandDecoder::describe(c),
                 QStringLiteral("rx dev=1 ch=1 realtime f=100Hz pw=200us rise=2000 open=10000 fall=2000 close=10000"));

        FesFrame::CycleParam cycle;
        cycle.frequency = 50;
        cycle.pulseWidth = 250;
        cycle.forwardStart = 30;
        cycle.forwardStop = 150;
        cycle.reverseStart = 210;
        cycle.reverseStop = 330;
        cycle.minCurrent = 5;
        cycle.maxCurrent = 20;
        cycle.limb = 1;
        cycle.side = 2;
        c = command(FesFrame::cycleParamPayload(2, 1, cycle));
        QCOMPARE(FesCommandDecoder::describe(c),
                 QStringLiteral("rx dev=2 ch=1 cycle f=50Hz pw=250us fwd=30..150 rev=210..330 I=5..20mA "
                                "limb=upper side=right"));

        // Record bytes 1..7: pacing 1, lower 5 r/min, upper 10 r/min, hand 123, foot 303.
        c = command(FesFrame::motionPayload(1, QByteArray::fromHex("01050a7b002f01")));
        QCOMPARE(FesCommandDecoder::describe(c),
                 QStringLiteral("rx dev=1 motion speeds=0x0a05 (upper 10, lower 5) hand=123 foot=303 pacing=1"));

        c = command(QByteArray::fromHex("990100"));
        QCOMPARE(int(c.kind), int(FesHostCommand::Kind::Unknown));
        c = command(QByteArray::fromHex("730101"));
        QCOMPARE(int(c.kind), int(FesHostCommand::Kind::Invalid));
        QVERIFY(FesCommandDecoder::describe(c).startsWith(QStringLiteral("rx invalid frame")));
    }

    void decoderReportsAWrongChecksumButStillDecodes()
    {
        QByteArray frame = FesFrame::createFrame(FesFrame::batteryPayload(1));
        QVERIFY(FesCommandDecoder::checksumNote(FesCommandDecoder::decode(frame)).isEmpty());
        frame[frame.size() - 2] = char(0x12);
        const FesHostCommand c = FesCommandDecoder::decode(frame);
        QVERIFY(!c.checksumOk);
        QCOMPARE(int(c.kind), int(FesHostCommand::Kind::Battery));
        QVERIFY(FesCommandDecoder::checksumNote(c).startsWith(QStringLiteral("rx checksum mismatch")));
    }

    void readerSaysWhatItDropped()
    {
        FesFrameReader reader;
        const QByteArray good = FesFrame::createFrame(FesFrame::searchPayload());
        QByteArray bad = FesFrame::createFrame(FesFrame::batteryPayload(1));
        bad[bad.size() - 1] = char(0x56);
        // A bad candidate that hides a good frame one byte in: only its start byte is dropped,
        // so the hidden frame comes out (catches a bad end byte dropping N + 4 bytes).
        const QByteArray hiding = QByteArray::fromHex("AA09") + good;
        // Split in the middle of the last good frame: it comes out with the second read.
        const QByteArray stream = QByteArray::fromHex("0102") + good + bad + hiding + good;
        QList<FesFrameReader::Item> items = reader.feed(stream.left(stream.size() - 3));
        items += reader.feed(stream.right(3));
        using Kind = FesFrameReader::Item::Kind;
        const QList<QPair<Kind, QByteArray>> expected{
            {Kind::Stray, QByteArray::fromHex("0102")}, {Kind::Frame, good},  {Kind::BadEnd, bad},
            {Kind::Stray, bad.mid(1)},                  {Kind::BadEnd, (hiding + good).left(13)},
            {Kind::Stray, QByteArray::fromHex("09")},   {Kind::Frame, good},  {Kind::Frame, good}};
        QCOMPARE(items.size(), expected.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(int(items.at(i).kind), int(expected.at(i).first));
            QCOMPARE(items.at(i).bytes, expected.at(i).second);
        }
    }

    void modelSearchReportsTheBoxesThatAreOn()
    {
        FesAdapterModel model = twoBoxes();
        const FesAdapterModel::Response response = model.handle(command(FesFrame::searchPayload()));
        QCOMPARE(response.replies.size(), 3);
        QCOMPARE(frameOf(response.replies.at(0)), QByteArray::fromHex("AA047B0000017C55"));
        const QList<QByteArray> macs{kMac1, kMac2};
        for (int i = 0; i < 2; ++i) {
            const QByteArray frame = frameOf(response.replies.at(i + 1));
            QCOMPARE(uint8_t(frame.at(2)), kReplyFound);
            QCOMPARE(frame.mid(5, 6), macs.at(i));
        }

        FesAdapterModel empty;
        QCOMPARE(empty.handle(command(FesFrame::searchPayload())).replies.size(), 1);
    }

    void modelConnectsKnownMacsOnly()
    {
        FesAdapterModel model = twoBoxes();
        FesAdapterModel::Response response = model.handle(command(FesFrame::connectPayload(kMac2, 1)));
        QCOMPARE(response.replies.size(), 1);
        QCOMPARE(replyOf(response.replies.first()).command, kReplyConnected);
        QCOMPARE(replyOf(response.replies.first()).device, uint8_t(1));
        QCOMPARE(model.box(2)->device, uint8_t(1));
        QCOMPARE(model.boxOnDevice(1)->number, 2);

        response = model.handle(command(FesFrame::connectPayload(QByteArray::fromHex("010203040506"), 2)));
        QVERIFY(response.replies.isEmpty());
        QVERIFY(response.notes.join(QLatin1Char(' ')).contains(QStringLiteral("010203040506")));
        QVERIFY(!model.boxOnDevice(2));

        // Connect without MAC bytes, as the program sends for a device with no registered box.
        response = model.handle(command(QByteArray::fromHex("7D0200")));
        QVERIFY(response.replies.isEmpty());
        // A device number outside 1..4 is not connected.
        response = model.handle(command(FesFrame::connectPayload(kMac1, 5)));
        QVERIFY(response.replies.isEmpty());
        QVERIFY(!model.box(1)->connected());
    }

    void modelBatteryFallsWithConnectedTime()
    {
        FesAdapterModel model = twoBoxes(100, 1.0);
        connectBox(model, 1, kMac1);
        const auto level = [&model](uint8_t device) {
            const FesAdapterModel::Response response = model.handle(command(FesFrame::batteryPayload(device)));
            return response.replies.size() == 1 ? replyOf(response.replies.first()).battery : -1;
        };
        QCOMPARE(level(1), 100);
        model.advance(59.0);
        QCOMPARE(level(1), 100);
        model.advance(1.0);
        QCOMPARE(level(1), 99);
        for (int i = 0; i < 600; ++i)
            model.advance(1.0);
        QCOMPARE(level(1), 89);
        // Box 2 is not connected: no answer for device 2, and its battery keeps its level.
        QCOMPARE(level(2), -1);
        QCOMPARE(model.box(2)->level(), 100);
        model.advance(200.0 * 60.0);
        QCOMPARE(level(1), 0);

        QVERIFY(model.setBattery(1, 42).replies.isEmpty());
        QCOMPARE(level(1), 42);
        FesAdapterModel slow = twoBoxes(80, 0.0);
        connectBox(slow, 3, kMac2);
        slow.advance(3600.0);
        QCOMPARE(slow.box(2)->level(), 80);
    }

    void modelDisconnectsAndShutsDown()
    {
        FesAdapterModel model = twoBoxes();
        connectBox(model, 1, kMac1);
        connectBox(model, 2, kMac2);

        FesAdapterModel::Response response = model.handle(command(FesFrame::disconnectPayload(2, 0)));
        QCOMPARE(response.replies.size(), 1);
        QCOMPARE(replyOf(response.replies.first()).command, kReplyDisconnected);
        QCOMPARE(replyOf(response.replies.first()).device, uint8_t(2));
        QVERIFY(!model.box(2)->connected());
        QVERIFY(model.box(2)->present);
        QVERIFY(model.handle(command(FesFrame::disconnectPayload(2, 0))).replies.isEmpty());

        connectBox(model, 2, kMac2);
        response = model.handle(command(FesFrame::disconnectPayload(1, 1)));
        QCOMPARE(response.replies.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(replyOf(response.replies.at(i)).command, kReplyPoweredOff);
            QCOMPARE(replyOf(response.replies.at(i)).device, uint8_t(i + 1));
        }
        QVERIFY(!model.box(1)->present && !model.box(2)->present);
        QVERIFY(!model.box(1)->connected() && !model.box(2)->connected());
        // Switched off: a search finds nothing, a connect gets no answer.
        QCOMPARE(model.handle(command(FesFrame::searchPayload())).replies.size(), 1);
        QVERIFY(model.handle(command(FesFrame::connectPayload(kMac1, 1))).replies.isEmpty());
    }

    void modelDropOffOn()
    {
        FesAdapterModel model = twoBoxes();
        connectBox(model, 1, kMac1);

        FesAdapterModel::Response response = model.drop(1);
        QCOMPARE(response.replies.size(), 1);
        QCOMPARE(replyOf(response.replies.first()).command, kReplyDisconnected);
        QCOMPARE(replyOf(response.replies.first()).device, uint8_t(1));
        QVERIFY(model.box(1)->present);
        QVERIFY(model.drop(1).replies.isEmpty()); // not connected any more
        // Still switched on: the program's reconnect works.
        QCOMPARE(model.handle(command(FesFrame::connectPayload(kMac1, 1))).replies.size(), 1);

        response = model.powerOff(1);
        QCOMPARE(response.replies.size(), 1);
        QCOMPARE(replyOf(response.replies.first()).command, kReplyPoweredOff);
        QCOMPARE(model.handle(command(FesFrame::searchPayload())).replies.size(), 2); // ack + box 2
        QVERIFY(model.handle(command(FesFrame::connectPayload(kMac1, 1))).replies.isEmpty());
        QVERIFY(model.powerOff(2).replies.isEmpty()); // box 2 was not connected: nothing to report
        QCOMPARE(model.handle(command(FesFrame::searchPayload())).replies.size(), 1);

        QVERIFY(model.powerOn(1).replies.isEmpty());
        response = model.handle(command(FesFrame::searchPayload()));
        QCOMPARE(response.replies.size(), 2);
        QCOMPARE(replyOf(response.replies.at(1)).mac, kMac1);
        QCOMPARE(model.handle(command(FesFrame::connectPayload(kMac1, 1))).replies.size(), 1);

        QVERIFY(!model.drop(3).notes.isEmpty()); // no box 3
    }

    void modelKeepsChannelSettings()
    {
        FesAdapterModel model = twoBoxes();
        connectBox(model, 1, kMac1);
        model.handle(command(FesFrame::currentPayload(1, 2, 15)));
        model.handle(command(FesFrame::frequencyPayload(1, 2, 40)));
        model.handle(command(FesFrame::switchOutputPayload(1, 2, 1)));
        QCOMPARE(model.box(1)->channels[1].current, 15);
        QCOMPARE(model.box(1)->channels[1].frequency, 40);
        QVERIFY(model.box(1)->channels[1].output);
        // Not connected: not relayed.
        const FesAdapterModel::Response response = model.handle(command(FesFrame::currentPayload(2, 1, 9)));
        QVERIFY(!response.notes.isEmpty());
        QCOMPARE(model.box(2)->channels[0].current, 0);
        // A drop stops the output.
        model.drop(1);
        QVERIFY(!model.box(1)->channels[1].output);
    }

    void consoleAndBoxOptions()
    {
        FesConsoleCommand c = FesConsoleCommand::parse(QStringLiteral(" drop 2 "));
        QCOMPARE(int(c.kind), int(FesConsoleCommand::Kind::Drop));
        QCOMPARE(c.box, 2);
        c = FesConsoleCommand::parse(QStringLiteral("battery 1 15"));
        QCOMPARE(int(c.kind), int(FesConsoleCommand::Kind::Battery));
        QCOMPARE(c.level, 15);
        QCOMPARE(int(FesConsoleCommand::parse(QStringLiteral("battery 1 101")).kind), int(FesConsoleCommand::Kind::Invalid));
        QCOMPARE(int(FesConsoleCommand::parse(QStringLiteral("off 5")).kind), int(FesConsoleCommand::Kind::Invalid));
        QCOMPARE(int(FesConsoleCommand::parse(QStringLiteral("on 4")).kind), int(FesConsoleCommand::Kind::On));
        QCOMPARE(int(FesConsoleCommand::parse(QString()).kind), int(FesConsoleCommand::Kind::Empty));

        FesBoxOption box;
        QString error;
        QVERIFY(FesBoxOption::parse(QStringLiteral("3=a1:b2:c3:d4:e5:f8"), &box, &error));
        QCOMPARE(box.number, 3);
        QCOMPARE(box.macText, QStringLiteral("A1B2C3D4E5F8"));
        QCOMPARE(box.mac, QByteArray::fromHex("A1B2C3D4E5F8"));
        QVERIFY(!FesBoxOption::parse(QStringLiteral("5=A1B2C3D4E5F6"), &box, &error));
        QVERIFY(!FesBoxOption::parse(QStringLiteral("1=A1B2C3D4E5"), &box, &error));
        QList<FesBoxOption> boxes;
        QVERIFY(!FesBoxOption::parseAll({QStringLiteral("1=A1B2C3D4E5F6"), QStringLiteral("1=A1B2C3D4E5F7")}, &boxes, &error));
        QVERIFY(!FesBoxOption::parseAll({QStringLiteral("1=A1B2C3D4E5F6"), QStringLiteral("2=a1b2c3d4e5f6")}, &boxes, &error));
        QCOMPARE(FesBoxOption::defaults().size(), 2);
    }

    // ---- the simulator as a process ----

    void helpListsOptionsAndCommands()
    {
        QProcess process;
        process.start(QStringLiteral(FES_SIM), {QStringLiteral("--help")});
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 0);
        const QString help = QString::fromUtf8(process.readAllStandardOutput());
        for (const char *word : {"--box", "--link", "--battery", "--drain", "--report-interval", "drop N",
                                 "off N", "on N", "battery N LEVEL", "status", "quit"})
            QVERIFY2(help.contains(QLatin1String(word)), word);

        process.start(QStringLiteral(FES_SIM), {QStringLiteral("--box"), QStringLiteral("7=A1B2C3D4E5F6")});
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 2);
    }

    void ptySearchConnectBatteryDrop()
    {
        startSim({QStringLiteral("--battery"), QStringLiteral("87")});
        if (QTest::currentTestFailed())
            return;

        QVERIFY(m_port->send(FesFrame::searchPayload()));
        QTRY_VERIFY_WITH_TIMEOUT(m_port->hasFrames(3), 3000);
        QCOMPARE(m_port->frames().first(), QByteArray::fromHex("AA047B0000017C55"));
        const QList<FesFrame::Reply> found = m_port->replies();
        QCOMPARE(found.at(0).command, kReplySearch);
        QCOMPARE(found.at(1).command, kReplyFound);
        QCOMPARE(found.at(1).mac, kMac1);
        QCOMPARE(found.at(2).command, kReplyFound);
        QCOMPARE(found.at(2).mac, kMac2);
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("rx search")), 3000);

        connectOverPty(1, kMac1);
        QVERIFY(m_port->send(FesFrame::batteryPayload(1)));
        QTRY_VERIFY_WITH_TIMEOUT(m_port->hasFrames(5), 3000);
        const QByteArray battery = m_port->frames().last();
        QCOMPARE(uint8_t(battery.at(2)), kReplyBattery);
        QCOMPARE(uint8_t(battery.at(3)), uint8_t(1));
        QCOMPARE(uint8_t(battery.at(7)), uint8_t(87));
        QCOMPARE(m_port->replies().last().battery, 87);

        // The program closes and reopens its port: the line still works.
        m_port->close();
        QTest::qWait(100);
        QVERIFY(m_port->open(m_linkPath));

        m_port->clear();
        m_sim->type(QStringLiteral("drop 1"));
        QTRY_VERIFY_WITH_TIMEOUT(m_port->hasFrames(1), 3000);
        QCOMPARE(m_port->replies().first().command, kReplyDisconnected);
        QCOMPARE(m_port->replies().first().device, uint8_t(1));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("fault drop 1")), 3000);

        // Dropped, not switched off: the reconnect is answered.
        m_port->clear();
        connectOverPty(1, kMac1);

        // An unknown MAC gets no answer, only a line.
        m_port->clear();
        QVERIFY(m_port->send(FesFrame::connectPayload(QByteArray::fromHex("010203040506"), 2)));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("  no box has MAC 010203040506")), 3000);
        QVERIFY(!m_port->hasFrames(1));

        // Shutting everything down: box 1 reports it is off, and a search finds only box 2.
        QVERIFY(m_port->send(FesFrame::disconnectPayload(1, 1)));
        QTRY_VERIFY_WITH_TIMEOUT(m_port->hasFrames(1), 3000);
        QCOMPARE(m_port->replies().first().command, kReplyPoweredOff);
        QCOMPARE(m_port->replies().first().device, uint8_t(1));
        m_port->clear();
        QVERIFY(m_port->send(FesFrame::searchPayload()));
        QTRY_VERIFY_WITH_TIMEOUT(m_port->hasFrames(2), 3000);
        QTest::qWait(300);
        QVERIFY(!m_port->hasFrames(3));
        QCOMPARE(m_port->replies().at(1).mac, kMac2);
    }

    void ptyFramesArePrinted()
    {
        startSim();
        if (QTest::currentTestFailed())
            return;
        connectOverPty(1, kMac1);
        QVERIFY(m_port->send(FesFrame::currentPayload(1, 2, 15)));
        FesFrame::RealTimeParam realTime;
        realTime.frequency = 100;
        realTime.pulseWidth = 200;
        realTime.riseTime = 2000;
        realTime.openTime = 10000;
        realTime.fallTime = 2000;
        realTime.closeTime = 10000;
        QVERIFY(m_port->send(FesFrame::realTimeParamPayload(1, 1, realTime)));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("rx dev=1 ch=2 current 15 mA")), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(
            m_sim->hasLine(QStringLiteral("rx dev=1 ch=1 realtime f=100Hz pw=200us rise=2000 open=10000 fall=2000 close=10000")),
            3000);

        // A wrong checksum is reported and acted on; a wrong end byte drops the frame.
        QByteArray wrongSum = FesFrame::createFrame(FesFrame::batteryPayload(1));
        wrongSum[wrongSum.size() - 2] = char(0x12);
        QByteArray wrongEnd = FesFrame::createFrame(FesFrame::batteryPayload(1));
        wrongEnd[wrongEnd.size() - 1] = char(0x56);
        m_port->clear();
        QVERIFY(m_port->sendRaw(wrongEnd + wrongSum));
        QTRY_VERIFY_WITH_TIMEOUT(m_port->hasFrames(1), 3000);
        QCOMPARE(m_port->replies().first().command, kReplyBattery);
        // the simulator's stdout may reach the test after its reply on the pty
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("rx checksum mismatch")), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("rx bad end byte 0x56")), 3000);
        QTest::qWait(200);
        QVERIFY(!m_port->hasFrames(2));

        m_sim->type(QStringLiteral("status"));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->hasLine(QStringLiteral("  box 1 A1B2C3D4E5F6: connected as device 1")), 3000);
    }

    void keepsRunningAfterEndOfInputAndExitsOnTerm()
    {
        startSim();
        if (QTest::currentTestFailed())
            return;
        m_sim->process().closeWriteChannel();
        QTest::qWait(200);
        QCOMPARE(m_sim->process().state(), QProcess::Running);
        QVERIFY(m_port->send(FesFrame::searchPayload()));
        QTRY_VERIFY_WITH_TIMEOUT(m_port->hasFrames(3), 3000);

        m_sim->process().terminate();
        QVERIFY(m_sim->process().waitForFinished(3000));
        QCOMPARE(m_sim->process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_sim->process().exitCode(), 0);
        QVERIFY(!QFileInfo(m_linkPath).isSymLink());
    }

    // ---- the program's FES page and dialogs against the simulated boxes ----

    void everyWayATreatmentEndsSwitchesTheBoxesOff_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("stop button") << "stop button";
        QTest::newRow("count-down end") << "count-down end";
        QTest::newRow("page closed") << "page closed";
    }

    // A channel switched off in its dialog during a treatment stops at once; the end of the
    // treatment switches off every channel switched on during it and every channel of every
    // connected box, whatever its tile shows.
    void everyWayATreatmentEndsSwitchesTheBoxesOff()
    {
        QFETCH(QString, way);
        std::unique_ptr<FesSetting> page = pageOnBoxes();
        if (!page)
            return;
        setUpChannel(*page, 1, 30);
        okButton(*page)->click();
        QTRY_VERIFY_WITH_TIMEOUT(channelState(1, 1).startsWith(QStringLiteral("ch1 30 mA 10 Hz 200 us output on")), 5000);

        whenModal([](QWidget *modal) {
            modal->findChild<QPushButton *>(QStringLiteral("switch_Btn"))->click();
            modal->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page->slotChannelWidgetClicked(1);
        QTRY_VERIFY_WITH_TIMEOUT(channelState(1, 1).contains(QStringLiteral("output off")), 5000);

        setUpChannel(*page, 2, 20); // switched on during the treatment
        FesControlDialog::getInstance()->switchOutput(2, 1, 1); // left on from elsewhere
        QTRY_VERIFY_WITH_TIMEOUT(channelState(1, 2).contains(QStringLiteral("output on"))
                                     && channelState(2, 1).contains(QStringLiteral("output on")), 5000);

        if (way == QLatin1String("stop button")) {
            okButton(*page)->click();
        } else if (way == QLatin1String("count-down end")) {
            while (page->isRunning())
                page->slotTrainTimer();
        } else {
            page.reset();
        }
        QVERIFY(!page || !page->isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(m_boxes->allOutputsOff(), 5000);
    }

    // The box's current is what the dialog shows and the page records: taps and steps reach it at
    // once, a dialog left with Esc puts it back and ends the adjustment, and a channel reset by
    // showing the page goes to 0 mA before anything else.
    void theBoxKeepsWhatThePageRecords()
    {
        std::unique_ptr<FesSetting> pageOwner = pageOnBoxes();
        if (!pageOwner)
            return;
        FesSetting &page = *pageOwner;
        setUpChannel(page, 3, 25); // box B, channel 1
        QTRY_VERIFY_WITH_TIMEOUT(channelState(2, 1).startsWith(QStringLiteral("ch1 25 mA")), 5000);
        QVERIFY(!channelState(2, 1).contains(QStringLiteral("adjusting")));

        QString during;
        whenModal([&](QWidget *modal) {
            modal->findChild<QSlider *>(QStringLiteral("maxCurrent_Slider"))->triggerAction(QAbstractSlider::SliderPageStepAdd);
            modal->findChild<QPushButton *>(QStringLiteral("maxCurrentMinus_Btn"))->click();
            const bool settled =
                QTest::qWaitFor([&] { return channelState(2, 1).startsWith(QStringLiteral("ch1 34 mA")); }, 5000);
            during = (settled ? QString() : QStringLiteral("not settled: ")) + channelState(2, 1);
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        page.slotChannelWidgetClicked(3);
        QVERIFY2(during.startsWith(QStringLiteral("ch1 34 mA")) && during.contains(QStringLiteral("adjusting")),
                 qPrintable(during));
        QTRY_VERIFY_WITH_TIMEOUT(channelState(2, 1).startsWith(QStringLiteral("ch1 25 mA")), 5000);
        QVERIFY(!channelState(2, 1).contains(QStringLiteral("adjusting")));

        page.hide();
        page.show();
        whenModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
        page.slotChannelWidgetClicked(3);
        QTRY_VERIFY_WITH_TIMEOUT(channelState(2, 1).startsWith(QStringLiteral("ch1 0 mA")), 5000);
    }

    // The adapter link closing during a treatment stops it and says so without blocking; when the
    // link is back every channel is switched off before anything else.
    void losingTheLinkStopsTheTreatment()
    {
        std::unique_ptr<FesSetting> pageOwner = pageOnBoxes();
        if (!pageOwner)
            return;
        FesSetting &page = *pageOwner;
        setUpChannel(page, 1, 30);
        okButton(page)->click();
        QTRY_VERIFY_WITH_TIMEOUT(channelState(1, 1).contains(QStringLiteral("output on")), 5000);

        FesControlDialog *manager = FesControlDialog::getInstance();
        manager->findChild<QPushButton *>(QStringLiteral("flushSerial_Btn"))->click(); // refresh: the link closes
        QVERIFY(!page.isRunning());
        QCOMPARE(okButton(page)->text(), QStringLiteral("开始"));
        auto *box = page.findChild<QMessageBox *>(QStringLiteral("linkLost_MessageBox"));
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowTitle(), QStringLiteral("警告"));
        QVERIFY(channelState(1, 1).contains(QStringLiteral("output on"))); // the stop could not reach it
        box->close();
        okButton(page)->click(); // nothing starts while a box may still stimulate
        QVERIFY(!page.isRunning());
        QVERIFY(box->isVisible());

        const int before = m_boxes->sim().lines().size();
        QVERIFY(manager->openSerialPort(m_boxes->link()));
        manager->searchDevice();
        QTRY_VERIFY_WITH_TIMEOUT(m_boxes->allOutputsOff(), 5000);
        QStringList received;
        for (const QString &line : m_boxes->sim().lines().mid(before)) {
            if (line.startsWith(QStringLiteral("rx ")))
                received << line;
        }
        QStringList offFirst;
        for (int device = 1; device <= 4; ++device) {
            for (int channel = 1; channel <= 2; ++channel)
                offFirst << QStringLiteral("rx dev=%1 ch=%2 output off").arg(device).arg(channel);
        }
        QCOMPARE(received.mid(0, 8), offFirst);
        box->close();
    }

    void quittingSwitchesTheBoxesOff_data()
    {
        QTest::addColumn<QString>("drive");
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("mainShown");
        // Each row catches a way out that leaves a box stimulating, or switches it off twice.
        QTest::newRow("SIGTERM at the login") << "" << int(SIGTERM) << false;
        QTest::newRow("SIGINT at the login") << "" << int(SIGINT) << false;
        QTest::newRow("SIGTERM in the main window") << "login" << int(SIGTERM) << true;
        QTest::newRow("shut-down button") << "login,shutdown" << 0 << true;
        QTest::newRow("main window closed") << "login,close" << 0 << true;
        // Also catches an escaped login that lets the user in.
        QTest::newRow("escape, then SIGTERM at the login") << "escape" << int(SIGTERM) << false;
        QTest::newRow("ten taps on the login's logo") << "taps" << 0 << false;
    }

    // The program as a real process, a driver playing the user: however it is asked to quit, the
    // all-off frame reaches the adapter once before the process ends. The main window is built
    // before the login shows and is shown only after a login.
    void quittingSwitchesTheBoxesOff()
    {
        QFETCH(QString, drive);
        QFETCH(int, signalNumber);
        QFETCH(bool, mainShown);
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/rotaflex-quit-XXXXXX"));
        QVERIFY(folder.isValid());
        const QString link = folder.filePath(QStringLiteral("adapter.pty"));
        std::unique_ptr<SimProcess> sim = startAdapter(link, folder.path());
        QTRY_VERIFY_WITH_TIMEOUT(sim->hasLine(QStringLiteral("ready:")), 5000);

        const auto write = [&folder](const QString &relative, const QByteArray &bytes) {
            QDir(folder.path()).mkpath(QFileInfo(relative).path());
            QFile file(folder.filePath(relative));
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        const auto shipped = [](const QString &relative) {
            QFile file(QStringLiteral(ROTAFLEX_SOURCE_DIR "/") + relative);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QVERIFY(write(QStringLiteral("DependFile/ConfigFile/config.xml"), configWithAdapter(link, folder.path())));
        for (const char *file : {"DependFile/ConfigFile/gameListConfig.xml", "DependFile/QSS/app.txt"})
            QVERIFY(write(QLatin1String(file), shipped(QLatin1String(file))));
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("DependFile/DBFile")));
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("tmp")));

        // A copy of its own: the program keeps its language file beside itself.
        const ProgramCopy copy(QStringLiteral(ROTAFLEX_DRIVEN));
        QVERIFY(copy.isValid());
        QProcess program;
        QProcessEnvironment offscreen;
        offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        startDriven(program, copy.path(), folder.path(), drive, offscreen);
        QVERIFY(program.waitForStarted(10000));
        QByteArray output;
        if (signalNumber) {
            const bool up = QTest::qWaitFor([&] {
                output += program.readAll();
                return output.contains("driver: steps done");
            }, 15000);
            QVERIFY2(up, output.constData());
            ::kill(static_cast<pid_t>(program.processId()), signalNumber);
        }
        QVERIFY2(program.waitForFinished(15000), output.constData());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        output += program.readAll();
        QVERIFY2(output.contains("FES boxes are switched off at quit through"), output.constData());
        QVERIFY2(output.contains("driver: login shown; main window built, hidden"), output.constData());
        QCOMPARE(output.contains("driver: main window shown"), mainShown);
        QCOMPARE(output.count("关闭所有设备"), 1);
        QTRY_VERIFY2_WITH_TIMEOUT(sim->hasLine(QStringLiteral("rx dev=1 shut down all boxes")), qPrintable(sim->output()), 3000);
        QTest::qWait(100);
        QCOMPARE(sim->countLines(QStringLiteral("rx dev=1 shut down all boxes")), 1);
    }

    // ---- the seeding tool ----

    void seedNewDatabaseGetsTablesAndBoxes()
    {
        TestWorkDir dir;
        QVERIFY(dir.isValid());
        const QString out = runSeed(dir.path());
        QVERIFY2(out.contains(QStringLiteral("registered MAC A1B2C3D4E5F6 as device 1")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("registered MAC A1B2C3D4E5F7 as device 2")), qPrintable(out));

        {
            DbReader db(dir.filePath(kDbFile));
            QVERIFY(db.isOpen());
            QCOMPARE(db.tables(), (QStringList{QStringLiteral("BLEDeviceMsg"), QStringLiteral("PatientTable"),
                                               QStringLiteral("TrainParamTable"), QStringLiteral("TrainRecordTable"),
                                               QStringLiteral("TrainReportTable")}));
            QCOMPARE(db.rows(QStringLiteral("select deviceNo, deviceMac from BLEDeviceMsg order by deviceNo")),
                     (QStringList{QStringLiteral("1|A1B2C3D4E5F6"), QStringLiteral("2|A1B2C3D4E5F7")}));
        }

        // A second run finds both and adds nothing.
        const QString again = runSeed(dir.path());
        QVERIFY2(again.contains(QStringLiteral("MAC A1B2C3D4E5F6 is registered already as device 1")), qPrintable(again));
        QVERIFY2(!again.contains(QStringLiteral("new database")), qPrintable(again));
        DbReader db(dir.filePath(kDbFile));
        QCOMPARE(db.rows(QStringLiteral("select count(*) from BLEDeviceMsg")), QStringList{QStringLiteral("2")});
        QCOMPARE(db.tables().size(), 5);
    }

    void seedLeavesExistingRowsAlone()
    {
        TestWorkDir dir;
        QVERIFY(dir.isValid());
        {
            DbReader db(dir.filePath(kDbFile));
            QVERIFY(db.isOpen());
            QVERIFY(db.exec(QStringLiteral("create table PatientTable (ID INTEGER PRIMARY KEY, name TEXT)")));
            QVERIFY(db.exec(QStringLiteral("insert into PatientTable values (7, 'Wang')")));
            QVERIFY(db.exec(QStringLiteral("create table BLEDeviceMsg (deviceNo INTEGER, deviceMac TEXT)")));
            QVERIFY(db.exec(QStringLiteral("insert into BLEDeviceMsg values (4, 'a1b2c3d4e5f6')")));
            QVERIFY(db.exec(QStringLiteral("insert into BLEDeviceMsg values (3, '112233445566')")));
        }
        const QString out = runSeed(dir.path(), {QStringLiteral("--box"), QStringLiteral("1=A1B2C3D4E5F6"),
                                                 QStringLiteral("--box"), QStringLiteral("2=A1B2C3D4E5F9")});
        QVERIFY2(out.contains(QStringLiteral("MAC A1B2C3D4E5F6 is registered already as device 4")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("registered MAC A1B2C3D4E5F9 as device 2")), qPrintable(out));

        DbReader db(dir.filePath(kDbFile));
        // An existing file gets no new tables, and its rows stay as they were.
        QCOMPARE(db.tables(), (QStringList{QStringLiteral("BLEDeviceMsg"), QStringLiteral("PatientTable")}));
        QCOMPARE(db.rows(QStringLiteral("select ID, name from PatientTable")), QStringList{QStringLiteral("7|Wang")});
        QCOMPARE(db.rows(QStringLiteral("select deviceNo, deviceMac from BLEDeviceMsg order by rowid")),
                 (QStringList{QStringLiteral("4|a1b2c3d4e5f6"), QStringLiteral("3|112233445566"),
                              QStringLiteral("2|A1B2C3D4E5F9")}));
    }

    void seedAddsAMissingBoxTableOnly()
    {
        TestWorkDir dir;
        QVERIFY(dir.isValid());
        {
            DbReader db(dir.filePath(kDbFile));
            QVERIFY(db.exec(QStringLiteral("create table PatientTable (ID INTEGER PRIMARY KEY, name TEXT)")));
        }
        const QString out = runSeed(dir.path());
        QVERIFY2(out.contains(QStringLiteral("created the table BLEDeviceMsg")), qPrintable(out));
        DbReader db(dir.filePath(kDbFile));
        QCOMPARE(db.tables(), (QStringList{QStringLiteral("BLEDeviceMsg"), QStringLiteral("PatientTable")}));
        QCOMPARE(db.rows(QStringLiteral("select count(*) from BLEDeviceMsg")), QStringList{QStringLiteral("2")});
    }

    void seedRefusesAFolderWithoutDatabaseFolder()
    {
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/rotaflex-seed-XXXXXX"));
        QVERIFY(dir.isValid());
        const QString out = runSeed(dir.path(), {}, 1);
        QVERIFY2(out.contains(QStringLiteral("build/run")), qPrintable(out));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("DependFile"))));
    }
};

QTEST_MAIN(TestFesSim)
#include "tst_fessim.moc"
