#include "app/languagemanager.h"
#include "common/testworkdir.h"
#include "platform/nullvolumebackend.h"
#include "platform/posix/alsavolumebackend.h"
#include "platform/posix/pulsevolumebackend.h"
#include "platform/volumebackendfactory.h"
#include "shell/soundcontroller.h"
#include "shell/sounddialog.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

#include <signal.h>

namespace {

// A sound system in memory that records every call the dialog makes.
class FakeVolumeBackend : public platform::VolumeBackend
{
public:
    struct State
    {
        double level = 0.5;
        bool answers = true;
        QStringList calls;
    };
    explicit FakeVolumeBackend(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    std::string name() const override { return "fake"; }
    bool readLevel(double &level) override
    {
        if (!m_state->answers)
            return fail("fake: no answer");
        level = m_state->level;
        return succeed();
    }
    bool setLevel(double level) override
    {
        m_state->calls << QStringLiteral("level %1").arg(level, 0, 'f', 2);
        m_state->level = level;
        return succeed();
    }
    bool setMute(bool mute) override
    {
        m_state->calls << (mute ? QStringLiteral("mute") : QStringLiteral("unmute"));
        return succeed();
    }

private:
    std::shared_ptr<State> m_state;
};

template<typename T>
T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

QString shownText(QObject *dialog) { return child<QLabel>(dialog, "value_Label")->text(); }
int sliderValue(QObject *dialog) { return child<QSlider>(dialog, "slider")->value(); }
void click(QObject *dialog, const char *button) { child<QPushButton>(dialog, button)->click(); }

// The user drags the slider to a value.
void drag(QObject *dialog, int value)
{
    auto *slider = child<QSlider>(dialog, "slider");
    slider->setSliderDown(true);
    slider->setSliderPosition(value);
    slider->setSliderDown(false);
}

// A dialog on the fake system, opened as its owner opens it.
std::unique_ptr<SoundDialog> openDialog(const std::shared_ptr<FakeVolumeBackend::State> &state)
{
    auto dialog = std::make_unique<SoundDialog>(std::make_unique<FakeVolumeBackend>(state));
    dialog->open();
    return dialog;
}

// Makes `value` the process-wide last confirmed value, as a user would.
void confirmValue(int value)
{
    auto state = std::make_shared<FakeVolumeBackend::State>();
    auto dialog = openDialog(state);
    drag(dialog.get(), value);
    click(dialog.get(), "confirm_Btn");
}

// A PulseAudio server of the test's own with one null sink, on a socket below /tmp; the test
// process reaches no other sound system (see initTestCase()).
class PrivateSoundServer
{
public:
    explicit PrivateSoundServer(const QString &folder) : m_folder(folder) {}
    ~PrivateSoundServer() { stop(); }

    QString socket() const { return m_folder + QStringLiteral("/native"); }

    // Empty when the server answers, else why it could not start.
    QString start()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (program.isEmpty())
            return QStringLiteral("pulseaudio is not installed");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Its state, runtime files and cookie stay in the test's folder, and it finds no D-Bus.
        for (const char *name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "PULSE_STATE_PATH", "PULSE_RUNTIME_PATH"})
            env.insert(QLatin1String(name), m_folder + QStringLiteral("/server"));
        for (const char *name : {"DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS"})
            env.insert(QLatin1String(name), QStringLiteral("unix:path=%1/no-bus").arg(m_folder));
        env.remove(QStringLiteral("DISPLAY"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        QStringList arguments = QStringLiteral("-n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --system=no "
                                               "--high-priority=no --realtime=no --disable-shm=yes --log-target=stderr")
                                    .split(QLatin1Char(' '));
        arguments << QStringLiteral("-L") << QStringLiteral("module-null-sink sink_name=ci_null") << QStringLiteral("-L")
                  << QStringLiteral("module-native-protocol-unix socket=%1 auth-anonymous=1").arg(socket());
        m_process.start(program, arguments);
        if (!m_process.waitForStarted(5000))
            return QStringLiteral("pulseaudio did not start: ") + m_process.errorString();
        platform::PulseVolumeBackend probe(serverAddress().toStdString());
        double level = 0;
        for (int tries = 0; tries < 100 && m_process.state() == QProcess::Running; ++tries) {
            if (probe.readLevel(level))
                return {};
            QTest::qWait(50);
        }
        return QStringLiteral("pulseaudio did not answer: ") + QString::fromLocal8Bit(m_process.readAll());
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    QString serverAddress() const { return QStringLiteral("unix:") + socket(); }
    bool signal(int number) { return ::kill(pid_t(m_process.processId()), number) == 0; }

    // The default sink's mute state as PulseAudio's own client reports it.
    QString muteState() const
    {
        QProcess pactl;
        pactl.start(QStringLiteral("pactl"), {QStringLiteral("get-sink-mute"), QStringLiteral("@DEFAULT_SINK@")});
        if (!pactl.waitForFinished(5000))
            return QStringLiteral("pactl failed");
        return QString::fromLocal8Bit(pactl.readAllStandardOutput()).trimmed();
    }

private:
    QString m_folder;
    QProcess m_process;
};

} // namespace

class TestSound : public QObject
{
    Q_OBJECT

    QTemporaryDir m_sound{QStringLiteral("/tmp/rotaflex-sound-XXXXXX")};
    std::unique_ptr<PrivateSoundServer> m_server;
    QString m_serverProblem;

    bool serverRuns()
    {
        if (!m_server) {
            m_server = std::make_unique<PrivateSoundServer>(m_sound.path());
            m_serverProblem = m_server->start();
        }
        return m_serverProblem.isEmpty();
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        QVERIFY(m_sound.isValid());
        // Before any sound library is used: this process reaches only the private server (once it
        // runs) and an ALSA configuration that knows no card, only the private server's mixer.
        qputenv("PULSE_SERVER", (QStringLiteral("unix:") + m_sound.path() + QStringLiteral("/native")).toLocal8Bit());
        qputenv("PULSE_COOKIE", (m_sound.path() + QStringLiteral("/cookie")).toLocal8Bit());
        const QString alsaConfig = m_sound.path() + QStringLiteral("/alsa.conf");
        QFile config(alsaConfig);
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("ctl.rotaflex_private { type pulse }\n");
        config.close();
        qputenv("ALSA_CONFIG_PATH", alsaConfig.toLocal8Bit());
    }

    void cleanupTestCase() { m_server.reset(); }

    // ---- the dialog on a fake sound system ----

    void dialogShowsTheSystemVolume_data()
    {
        QTest::addColumn<double>("level"); // NAN: the level cannot be read
        QTest::addColumn<int>("lastConfirmed");
        QTest::addColumn<int>("shown");
        QTest::newRow("50 % shows 51") << 0.5 << 30 << 51;
        // Catches the truncation of 28.999...: the dialog showed 29 and confirming set 28 %.
        QTest::newRow("29 % read back a hair low shows 30") << 0.29 << 30 << 30;
        QTest::newRow("full volume shows 100") << 1.0 << 30 << 100;
        // Catches a shown value of 2 for 1 %: only below 1 % is the confirmed value shown.
        QTest::newRow("1 % shows 2") << 0.01 << 30 << 2;
        QTest::newRow("below 1 % shows the last confirmed value") << 0.009 << 37 << 37;
        QTest::newRow("0 % shows the last confirmed value") << 0.0 << 0 << 0;
        QTest::newRow("an unreadable level shows the last confirmed value") << double(NAN) << 64 << 64;
    }

    void dialogShowsTheSystemVolume()
    {
        QFETCH(double, level);
        QFETCH(int, lastConfirmed);
        QFETCH(int, shown);
        confirmValue(lastConfirmed);
        auto state = std::make_shared<FakeVolumeBackend::State>();
        state->level = std::isnan(level) ? 0.5 : level;
        state->answers = !std::isnan(level);
        auto dialog = openDialog(state);
        QCOMPARE(shownText(dialog.get()), QString::number(shown));
        QCOMPARE(sliderValue(dialog.get()), shown);
        QVERIFY(child<QPushButton>(dialog.get(), "cancel_Btn")->isHidden());
        QVERIFY(state->calls.isEmpty()); // opening never changes the volume
    }

    void confirmingSetsTheShownValueMinusOne_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("51 sets 50 %") << 51 << QStringList{"unmute", "level 0.50"};
        QTest::newRow("1 sets 0 % unmuted") << 1 << QStringList{"unmute", "level 0.00"};
        QTest::newRow("100 sets 99 %") << 100 << QStringList{"unmute", "level 0.99"};
        QTest::newRow("0 mutes and keeps the level") << 0 << QStringList{"mute"};
    }

    void confirmingSetsTheShownValueMinusOne()
    {
        QFETCH(int, value);
        QFETCH(QStringList, calls);
        auto state = std::make_shared<FakeVolumeBackend::State>();
        state->level = 0.2; // shows 21, a value no row drags to
        auto dialog = openDialog(state);
        drag(dialog.get(), value);
        QCOMPARE(shownText(dialog.get()), QString::number(value));
        QCOMPARE(state->calls, QStringList{QStringLiteral("level %1").arg(value / 100.0, 0, 'f', 2)});
        state->calls.clear();
        click(dialog.get(), "confirm_Btn");
        QCOMPARE(state->calls, calls);
        QVERIFY(!dialog->isVisible());
        // The next dialog reads the system again: 50 % shows 51.
        state->level = 0.5;
        auto next = openDialog(state);
        QCOMPARE(shownText(next.get()), QStringLiteral("51"));
    }

    void stepButtonsMoveOneAndStopAtTheEnds_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<int>("value");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("plus") << 50 << QByteArray("plus_Btn") << 51 << QStringList{"level 0.51"};
        QTest::newRow("minus") << 50 << QByteArray("minus_Btn") << 49 << QStringList{"level 0.49"};
        QTest::newRow("plus at 100 does nothing") << 100 << QByteArray("plus_Btn") << 100 << QStringList{};
        QTest::newRow("minus at 0 does nothing") << 0 << QByteArray("minus_Btn") << 0 << QStringList{};
    }

    void stepButtonsMoveOneAndStopAtTheEnds()
    {
        QFETCH(int, start);
        QFETCH(QByteArray, button);
        QFETCH(int, value);
        QFETCH(QStringList, calls);
        auto state = std::make_shared<FakeVolumeBackend::State>();
        auto dialog = openDialog(state);
        drag(dialog.get(), start);
        state->calls.clear();
        click(dialog.get(), button.constData());
        QCOMPARE(sliderValue(dialog.get()), value);
        QCOMPARE(shownText(dialog.get()), QString::number(value));
        QCOMPARE(state->calls, calls);
    }

    // A language change retranslates the texts and reads the system volume again.
    void languageChangeRetranslatesAndReadsAgain()
    {
        TestWorkDir dir;
        for (const char *file : {"Rotaflex_EN.qm", "Rotaflex_CN.qm"})
            QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_RUN_DIR "/") + QLatin1String(file), dir.filePath(QLatin1String(file))));
        auto state = std::make_shared<FakeVolumeBackend::State>();
        auto dialog = openDialog(state);
        QCOMPARE(child<QLabel>(dialog.get(), "title_Label")->text(), QStringLiteral("提示：音量调节"));
        state->level = 0.3;
        LanguageManager::getInstance()->setLanguage(English_E);
        // The application posts the change to every window.
        QTRY_COMPARE(child<QLabel>(dialog.get(), "title_Label")->text(), QStringLiteral("Tip: adjust the volume"));
        QCOMPARE(child<QPushButton>(dialog.get(), "confirm_Btn")->text(), QStringLiteral("Confirm"));
        QCOMPARE(shownText(dialog.get()), QStringLiteral("31"));
        QVERIFY(child<QPushButton>(dialog.get(), "cancel_Btn")->isHidden());
        LanguageManager::getInstance()->setLanguage(Chinese_E);
        QTRY_COMPARE(child<QPushButton>(dialog.get(), "confirm_Btn")->text(), QStringLiteral("确认"));
        QVERIFY(state->calls.isEmpty());
    }

    // ---- no sound system ----

    // With nothing to reach, the null backend is chosen, at once, and the dialog still works.
    void withoutASoundSystemTheDialogStillWorks()
    {
        QVERIFY2(!QFile::exists(m_sound.path() + QStringLiteral("/native")), "the private server must not run yet");
        platform::VolumeBackendChoice choice = platform::chooseVolumeBackend();
        QCOMPARE(choice.backend->name(), std::string("none"));
        QVERIFY(!choice.answered);
        QCOMPARE(int(choice.notes.size()), 2);
        // A refused connection, not a time-out: the choice never waits.
        QVERIFY2(QString::fromStdString(choice.notes[0]).contains(QStringLiteral("Connection refused")), choice.notes[0].c_str());
        QVERIFY2(QString::fromStdString(choice.notes[1]).startsWith(QStringLiteral("ALSA: ")), choice.notes[1].c_str());

        confirmValue(42);
        SoundDialog dialog(std::move(choice.backend));
        dialog.open();
        QCOMPARE(shownText(&dialog), QStringLiteral("42"));
        click(&dialog, "plus_Btn");
        drag(&dialog, 20);
        QCOMPARE(shownText(&dialog), QStringLiteral("20"));
        click(&dialog, "confirm_Btn");
        QVERIFY(!dialog.isVisible());
        SoundDialog again(std::make_unique<platform::NullVolumeBackend>());
        again.open();
        QCOMPARE(shownText(&again), QStringLiteral("20"));
    }

    // ---- real sound systems on the private server ----

    void pulseAudioLevelsRoundTrip_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("shown");
        QTest::newRow("50 %") << 50 << 51;
        // Catches 16-bit volume steps that read 29 % back as 28.99 %.
        QTest::newRow("29 %") << 29 << 30;
        QTest::newRow("0 %") << 0 << 1;
        QTest::newRow("100 %") << 100 << 100;
    }

    void pulseAudioLevelsRoundTrip()
    {
        if (!serverRuns())
            QSKIP(qPrintable(QStringLiteral("no private PulseAudio server: ") + m_serverProblem));
        QFETCH(int, percent);
        QFETCH(int, shown);
        SoundController controller(std::make_unique<platform::PulseVolumeBackend>());
        QVERIFY(controller.setVolume(percent));
        QCOMPARE(controller.getVolume(), shown);
        // The ALSA mixer fallback reads and sets the same sink through the server's mixer.
        SoundController alsa(std::make_unique<platform::AlsaVolumeBackend>("rotaflex_private"));
        QCOMPARE(alsa.getVolume(), shown);
        QVERIFY(alsa.setVolume(percent == 100 ? 0 : 100));
        QCOMPARE(controller.getVolume(), percent == 100 ? 1 : 100);
    }

    // The dialog end to end on the server: it opens on the system's volume, and confirming sets
    // the level and the mute state.
    void dialogDrivesThePrivateServer()
    {
        if (!serverRuns())
            QSKIP(qPrintable(QStringLiteral("no private PulseAudio server: ") + m_serverProblem));
        platform::VolumeBackendChoice choice = platform::chooseVolumeBackend();
        QCOMPARE(choice.backend->name(), std::string("PulseAudio"));
        QVERIFY(choice.backend->setLevel(0.5));
        SoundDialog dialog(std::move(choice.backend));
        dialog.open();
        QCOMPARE(shownText(&dialog), QStringLiteral("51"));
        click(&dialog, "plus_Btn");
        click(&dialog, "confirm_Btn");
        SoundController check(std::make_unique<platform::PulseVolumeBackend>());
        QCOMPARE(check.getVolume(), 52);
        QCOMPARE(m_server->muteState(), QStringLiteral("Mute: no"));

        SoundDialog mute(std::make_unique<platform::PulseVolumeBackend>());
        mute.open();
        drag(&mute, 0);
        click(&mute, "confirm_Btn");
        QCOMPARE(m_server->muteState(), QStringLiteral("Mute: yes"));
        SoundDialog unmute(std::make_unique<platform::PulseVolumeBackend>());
        unmute.open();
        drag(&unmute, 30);
        click(&unmute, "confirm_Btn");
        QCOMPARE(m_server->muteState(), QStringLiteral("Mute: no"));
        QCOMPARE(check.getVolume(), 30);
    }

    // A server that hangs or goes away is reported without waiting on, and one that comes (back)
    // is used.
    void aHungOrLostServerIsGivenUpAndFoundAgain()
    {
        if (!serverRuns())
            QSKIP(qPrintable(QStringLiteral("no private PulseAudio server: ") + m_serverProblem));
        platform::PulseVolumeBackend backend;
        double level = 0;
        QVERIFY(backend.readLevel(level));
        // Catches a call that waits for a hung server: it gives up after the fixed time.
        QVERIFY(m_server->signal(SIGSTOP));
        QVERIFY(!backend.readLevel(level));
        QCOMPARE(backend.lastError(), std::string("PulseAudio: no answer within 300 ms"));
        QVERIFY(m_server->signal(SIGCONT));
        QVERIFY2(backend.readLevel(level), backend.lastError().c_str());
        m_server->stop();
        QVERIFY(!backend.readLevel(level));
        QVERIFY2(backend.lastError().find("no answer") == std::string::npos, backend.lastError().c_str());
        SoundController searching;
        QCOMPARE(searching.backendName(), QStringLiteral("none"));
        m_server.reset();
        QVERIFY2(serverRuns(), qPrintable(m_serverProblem));
        QVERIFY2(backend.readLevel(level), backend.lastError().c_str());
        // Catches a controller that keeps the null backend after a server has come up.
        QVERIFY(searching.getVolume() > 0);
        QCOMPARE(searching.backendName(), QStringLiteral("PulseAudio"));
    }
};

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
