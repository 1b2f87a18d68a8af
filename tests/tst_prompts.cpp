#include "app/configmanager.h"
#include "comm/ccommunicateapi.h"
#include "common/testworkdir.h"
#include "training/emergencystopdialog.h"
#include "training/horizontaltoverticaldialog.h"
#include "training/machinestartdialog.h"
#include "training/paramtipsdialog.h"
#include "training/prescriptiondialog.h"
#include "training/protectgamestart.h"
#include "training/quitbyspeeddialog.h"
#include "training/quitgamedialog.h"
#include "training/spasmtipsdialog.h"
#include "training/verticaltohorizondialog.h"

#include <QApplication>
#include <QAudioDecoder>
#include <QLabel>
#include <QMediaPlayer>
#include <QMovie>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QTranslator>
#include <QUdpSocket>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QLabel *label(QObject *dialog, const char *name)
{
    return dialog->findChild<QLabel *>(QLatin1String(name));
}

QPushButton *button(QObject *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QLatin1String(name));
}

using DialogFactory = std::function<QDialog *(QWidget *)>;

template<typename T>
DialogFactory make()
{
    return [](QWidget *parent) -> QDialog * { return new T(parent); };
}

// Counts the log lines that say the spasm alarm could not be played.
struct AlarmLog
{
    static void count(QtMsgType, const QMessageLogContext &, const QString &message)
    {
        lines += message.startsWith(QLatin1String("alarm sound not played: \"./DependFile/Music/spasmTips.wav\""));
    }
    static inline int lines = 0;
};

} // namespace
Q_DECLARE_METATYPE(DialogFactory)

// The training prompts against a real link: the protocol singleton sends over loopback UDP to a
// socket of the test, which plays the machine. Sounds and the animation are the shipped files.
class TestPrompts : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<QUdpSocket> m_machine;
    std::unique_ptr<QWidget> m_page;

    // The frames the machine received since the last call.
    QList<QByteArray> received(int atLeast)
    {
        QList<QByteArray> frames;
        const bool arrived = QTest::qWaitFor([&] {
            while (m_machine->hasPendingDatagrams())
                frames << m_machine->receiveDatagram().data();
            return frames.size() >= atLeast;
        }, 2000);
        Q_UNUSED(arrived) // the caller compares what came
        QTest::qWait(atLeast == 0 ? 50 : 0); // nothing else arrives late
        while (m_machine->hasPendingDatagrams())
            frames << m_machine->receiveDatagram().data();
        return frames;
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        Q_INIT_RESOURCE(resources);
        m_dir = std::make_unique<TestWorkDir>();
        for (const char *file : {"Music/spasmTips.wav", "Music/emergency.wav", "Source/dialog/waiting.gif"})
            QVERIFY(m_dir->copyFromRepo(QLatin1String(file)));
        m_machine = std::make_unique<QUdpSocket>();
        QVERIFY(m_machine->bind(QHostAddress(QHostAddress::LocalHost), 0));
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress(QHostAddress::LocalHost), 0));
        const quint16 ownPort = probe.localPort();
        probe.close();
        QVERIFY(m_dir->write(QStringLiteral("DependFile/ConfigFile/config.xml"),
                             QStringLiteral("<config><communicateType type=\"1\"/>"
                                            "<udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>"
                                            "<udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/></config>")
                                 .arg(ownPort)
                                 .arg(m_machine->localPort())
                                 .toUtf8()));
        QVERIFY(ConfigManager::getInstance()->readConfigFile());
        QCOMPARE(CCommunicateAPI::getInstance()->communicateType(), int(CCommunicateAPI::Udp));
        // The training page the prompts dim and block.
        m_page = std::make_unique<QWidget>();
        m_page->resize(1024, 600);
        m_page->show();
    }

    void init() { received(0); }

    void cleanupTestCase()
    {
        m_page.reset();
        m_dir.reset();
    }

    // ---- spasm and emergency: opened from live data ----

    // Catches a prompt that runs its own event loop: the call must come back with the prompt
    // still open, modal over the page, its alarm ringing on past the file's end; Escape does
    // not dismiss it, closing it silences the alarm.
    void liveDataPromptsReturnAtOnceWithTheAlarmOn_data()
    {
        QTest::addColumn<bool>("emergency");
        QTest::newRow("spasm") << false;
        QTest::newRow("emergency") << true;
    }

    void liveDataPromptsReturnAtOnceWithTheAlarmOn()
    {
        QFETCH(bool, emergency);
        SpasmTipsDialog spasm(m_page.get());
        EmergencyStopDialog stop(m_page.get());
        QDialog *dialog = emergency ? static_cast<QDialog *>(&stop) : &spasm;
        const auto playing = [&] { return emergency ? stop.isSoundPlaying() : spasm.isSoundPlaying(); };
        // Should the call block, this ends it so that the test fails instead of hanging.
        QTimer::singleShot(3000, dialog, &QDialog::reject);
        if (emergency)
            stop.showPrompt();
        else
            spasm.showCount(1);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(QApplication::activeModalWidget(), dialog);
        QCOMPARE(dialog->geometry(), m_page->geometry());
        QTRY_VERIFY(playing());
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        const QMediaPlayer *player = dialog->findChild<QMediaPlayer *>();
        qint64 furthest = 0;
        const bool startedAgain = QTest::qWaitFor([&] {
            furthest = qMax(furthest, player->position());
            return furthest > 500 && player->position() < furthest - 300;
        }, 8000);
        QVERIFY2(startedAgain, qPrintable(QString::number(furthest)));
        QVERIFY(playing());
        if (emergency)
            stop.closePrompt();
        else
            spasm.close(); // as the page does when an emergency arrives
        QVERIFY(!dialog->isVisible());
        QVERIFY(!playing());
    }

    // Catches an alarm that retries a missing file for ever: the prompt still opens, the
    // failure is logged once and the sound counts as off.
    void missingAlarmFileIsLoggedOnce()
    {
        TestWorkDir empty; // no sound files here
        SpasmTipsDialog dialog(m_page.get());
        const QtMessageHandler previous = qInstallMessageHandler(AlarmLog::count);
        dialog.showCount(1);
        QTRY_COMPARE(AlarmLog::lines, 1);
        QTest::qWait(500); // time for attempts that should not come
        qInstallMessageHandler(previous);
        QCOMPARE(AlarmLog::lines, 1);
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.isSoundPlaying());
    }

    // Catches a wrong or stale count text: each showing says which spasm it is.
    void spasmTextForCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("first") << 1 << QStringLiteral("请注意发生1次痉挛!");
        QTest::newRow("second") << 2 << QStringLiteral("请注意发生2次痉挛!");
        QTest::newRow("third stops") << 3 << QStringLiteral("请注意发生3次痉挛,训练将停止!");
    }

    void spasmTextForCount()
    {
        QFETCH(int, count);
        QFETCH(QString, text);
        SpasmTipsDialog dialog(m_page.get());
        dialog.showCount(2); // a text from an earlier showing must go
        dialog.close();
        dialog.showCount(count);
        QCOMPARE(label(&dialog, "tips_Label")->text(), text);
    }

    // Catches a confirm that sends another item or direction than the one held, or leaves the
    // alarm on: the machine gets item 0x10 with the direction set before the showing.
    void spasmConfirmSendsTheHeldDirection_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("forward") << 1 << QByteArray::fromHex("AB040210010000CD");
        QTest::newRow("backward") << 0 << QByteArray::fromHex("AB040210000000CD");
    }

    void spasmConfirmSendsTheHeldDirection()
    {
        QFETCH(int, direction);
        QFETCH(QByteArray, frame);
        SpasmTipsDialog dialog(m_page.get());
        dialog.setDirection(uint8_t(1 - direction)); // set when the parameters came
        dialog.setDirection(uint8_t(direction));     // and again before the showing
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.showCount(1);
        QTRY_VERIFY(dialog.isSoundPlaying());
        QVERIFY(received(0).isEmpty()); // showing alone sends nothing
        button(&dialog, "confirm_Btn")->click();
        QVERIFY(!dialog.isSoundPlaying());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(received(1), QList<QByteArray>{frame});
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), 1);
    }

    // Catches a counter per dialog or one that does not restart: 30 taps, on any emergency
    // prompt, leave it open; the 31st closes it, and the next round needs 31 again.
    void emergencyButtonClosesOnThe31stClick()
    {
        EmergencyStopDialog dialog(m_page.get());
        EmergencyStopDialog other(m_page.get());
        for (int round = 0; round < 2; ++round) {
            dialog.showPrompt();
            QTRY_VERIFY(dialog.isSoundPlaying());
            for (int i = 0; i < 30; ++i)
                (round == 1 && i < 10 ? other : dialog).on_emergency_Btn_clicked();
            QVERIFY(dialog.isVisible());
            button(&dialog, "emergency_Btn")->click();
            QVERIFY(!dialog.isVisible());
            QVERIFY(!dialog.isSoundPlaying());
        }
    }

    // ---- over-speed ----

    // Catches a count that skips or repeats a second, or a stop that still ends the training:
    // the prompt shows 5, 5, 4, 3, 2, 1, 0 and then closes with signalClosed(); stopped in
    // between, it closes without it.
    void overSpeedCountsDown_data()
    {
        QTest::addColumn<int>("stopAfterTicks"); // -1: never
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("runs out") << -1 << QStringList{"5", "5", "4", "3", "2", "1", "0"};
        QTest::newRow("slow record after 3 s") << 3 << QStringList{"5", "5", "4", "3"};
    }

    void overSpeedCountsDown()
    {
        QFETCH(int, stopAfterTicks);
        QFETCH(QStringList, shown);
        QuitBySpeedDialog dialog(m_page.get());
        auto *timer = dialog.findChild<QTimer *>(QStringLiteral("downTimer"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 1000);
        timer->setInterval(5);
        QStringList seen;
        connect(timer, &QTimer::timeout, &dialog, [&] {
            seen << label(&dialog, "downTime_Label")->text();
            if (seen.size() - 1 == stopAfterTicks)
                dialog.stopCountDown();
        });
        QSignalSpy closed(&dialog, &QuitBySpeedDialog::signalClosed);
        dialog.startCountDown();
        seen << label(&dialog, "downTime_Label")->text();
        QTest::keyClick(&dialog, Qt::Key_Escape); // only the count or a slow record ends it
        QVERIFY(dialog.isVisible());
        QTRY_VERIFY(!dialog.isVisible());
        QTest::qWait(50); // no tick after the end
        QCOMPARE(seen, shown);
        QCOMPARE(closed.count(), stopAfterTicks < 0 ? 1 : 0);
        QVERIFY(!timer->isActive());
    }

    // ---- questions and notices ----

    // Catches swapped or lost results: "确认" ends with 1, "取消" with 0, and both close.
    void questionResults_data()
    {
        QTest::addColumn<DialogFactory>("factory");
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<int>("result");
        const struct
        {
            const char *name;
            DialogFactory factory;
        } dialogs[] = {{"speed question", make<ParamTipsDialog>()},
                       {"quit game", make<QuitGameDialog>()},
                       {"horizontal to vertical", make<HorizontalToVerticalDialog>()},
                       {"vertical to horizontal", make<VerticalToHorizonDialog>()}};
        for (const auto &d : dialogs) {
            QTest::addRow("%s confirmed", d.name) << d.factory << QStringLiteral("confirm_Btn") << 1;
            QTest::addRow("%s cancelled", d.name) << d.factory << QStringLiteral("cancel_Btn") << 0;
        }
        QTest::newRow("no prescription") << make<PrescriptionDialog>() << QStringLiteral("confirm_Btn") << 1;
    }

    void questionResults()
    {
        QFETCH(DialogFactory, factory);
        QFETCH(QString, pressed);
        QFETCH(int, result);
        std::unique_ptr<QDialog> dialog(factory(m_page.get()));
        QSignalSpy finished(dialog.get(), &QDialog::finished);
        dialog->open();
        QVERIFY(dialog->isVisible());
        button(dialog.get(), qPrintable(pressed))->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), result);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), result);
    }

    // Catches a wrong mounting value or a start button that closes the dialog: each button
    // sends item 0x12 with its value, and only "结束上机" closes it.
    void mountingSendsItem0x12_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("closes");
        QTest::newRow("upper limb start") << QStringLiteral("UpLimbOnClick_Btn") << QByteArray::fromHex("AB040212020000CD") << false;
        QTest::newRow("lower limb start") << QStringLiteral("confirm_Btn") << QByteArray::fromHex("AB040212010000CD") << false;
        QTest::newRow("end mounting") << QStringLiteral("cancel_Btn") << QByteArray::fromHex("AB040212000000CD") << true;
        // Catches a dialog that goes away and leaves the machine mounting.
        QTest::newRow("escape ends mounting too") << QStringLiteral("Escape") << QByteArray::fromHex("AB040212000000CD") << true;
    }

    void mountingSendsItem0x12()
    {
        QFETCH(QString, pressed);
        QFETCH(QByteArray, frame);
        QFETCH(bool, closes);
        MachineStartDialog dialog(m_page.get());
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.open();
        // This trainer mounts the upper limb only.
        QVERIFY(button(&dialog, "cancel_Btn")->isVisible());
        QVERIFY(button(&dialog, "UpLimbOnClick_Btn")->isVisible());
        QVERIFY(!button(&dialog, "confirm_Btn")->isVisible());
        if (pressed == QLatin1String("Escape"))
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            button(&dialog, qPrintable(pressed))->click();
        QCOMPARE(received(1), QList<QByteArray>{frame});
        QCOMPARE(dialog.isVisible(), !closes);
        QCOMPARE(finished.count(), closes ? 1 : 0);
        if (closes)
            QCOMPARE(dialog.result(), 0);
    }

    // Catches texts that fall back to Chinese or vanish on a language change: the form's lines,
    // the spasm text set at showing and the caller's question are all in the new language.
    void promptsFollowTheLanguage_data()
    {
        QTest::addColumn<DialogFactory>("factory");
        QTest::addColumn<QString>("labelName");
        QTest::addColumn<QString>("english");
        QTest::newRow("horizontal to vertical, first line") << make<HorizontalToVerticalDialog>() << "tips1_Label"
                                                            << "Please rotate the upper limb training part";
        QTest::newRow("horizontal to vertical, second line") << make<HorizontalToVerticalDialog>() << "tips2_Label"
                                                             << "from horizontal to vertical for training";
        QTest::newRow("vertical to horizontal, first line") << make<VerticalToHorizonDialog>() << "tips1_Label"
                                                            << "Please rotate the upper limb training part";
        const DialogFactory thirdSpasm = [](QWidget *parent) -> QDialog * {
            auto *dialog = new SpasmTipsDialog(parent);
            dialog->showCount(3);
            return dialog;
        };
        QTest::newRow("third spasm") << thirdSpasm << "tips_Label"
                                     << "Attention: spasm 3 detected, the training will stop!";
        const DialogFactory speedQuestion = [](QWidget *parent) -> QDialog * {
            auto *dialog = new ParamTipsDialog(parent);
            dialog->setMessage(QStringLiteral("Train at 40 r/min?"));
            return dialog;
        };
        QTest::newRow("caller's question stays") << speedQuestion << "tipMsg_Label" << "Train at 40 r/min?";
    }

    void promptsFollowTheLanguage()
    {
        QFETCH(DialogFactory, factory);
        QFETCH(QString, labelName);
        QFETCH(QString, english);
        std::unique_ptr<QDialog> dialog(factory(m_page.get()));
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(ROTAFLEX_RUN_DIR "/Rotaflex_EN.qm")));
        QCoreApplication::installTranslator(&translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        const QString shown = label(dialog.get(), qPrintable(labelName))->text();
        QCoreApplication::removeTranslator(&translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(shown, english);
    }

    // ---- loading ----

    // Catches a still or missing animation: it runs, fitted to its label, each time the dialog
    // is shown, and stops when it is hidden.
    void loadingAnimationRunsWhileShown()
    {
        ProtectGameStart dialog(m_page.get());
        QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(label(&dialog, "text_Label")->text(), QStringLiteral("加载中..."));
        for (int showing = 0; showing < 2; ++showing) {
            dialog.show();
            QCOMPARE(dialog.movie()->state(), QMovie::Running);
            QCOMPARE(dialog.movie()->scaledSize(), label(&dialog, "gif_Label")->size());
            QVERIFY(dialog.movie()->frameCount() > 1);
            const int first = dialog.movie()->currentFrameNumber();
            QTRY_VERIFY(dialog.movie()->currentFrameNumber() != first);
            dialog.close();
            QCOMPARE(dialog.movie()->state(), QMovie::NotRunning);
        }
    }

    // ---- shipped files ----

    // Catches a missing, broken, cut or silent sound file: each one decodes to a few seconds
    // of sound that is clearly heard.
    void shippedSoundsPlay_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *file : {"startTraining.mp3", "startTraining_En.mp3", "pauseTraining.mp3",
                                 "pauseTraining_En.mp3", "stopTraining.mp3", "stopTraining_En.mp3", "sitdown.MP3",
                                 "sitdown_En.MP3", "spasmTips.wav", "emergency.wav"})
            QTest::newRow(file) << QString::fromLatin1(file);
    }

    void shippedSoundsPlay()
    {
        QFETCH(QString, file);
        QAudioFormat format;
        format.setSampleRate(16000);
        format.setChannelCount(1);
        format.setSampleSize(16);
        format.setSampleType(QAudioFormat::SignedInt);
        format.setByteOrder(QAudioFormat::LittleEndian);
        format.setCodec(QStringLiteral("audio/pcm"));
        QAudioDecoder decoder;
        decoder.setAudioFormat(format);
        decoder.setSourceFilename(QStringLiteral(ROTAFLEX_SOURCE_DIR "/DependFile/Music/") + file);
        qint64 samples = 0;
        int peak = 0;
        connect(&decoder, &QAudioDecoder::bufferReady, this, [&] {
            const QAudioBuffer buffer = decoder.read();
            const qint16 *data = buffer.constData<qint16>();
            for (int i = 0; i < buffer.sampleCount(); ++i)
                peak = qMax(peak, qAbs(int(data[i])));
            samples += buffer.sampleCount();
        });
        QSignalSpy done(&decoder, &QAudioDecoder::finished);
        QSignalSpy failed(&decoder, QOverload<QAudioDecoder::Error>::of(&QAudioDecoder::error));
        decoder.start();
        QTRY_VERIFY_WITH_TIMEOUT(done.count() + failed.count() > 0, 10000);
        QCOMPARE(failed.count(), 0);
        const double seconds = double(samples) / format.sampleRate();
        QVERIFY2(seconds > 0.8 && seconds < 8, qPrintable(QString::number(seconds)));
        QVERIFY2(peak > 8000, qPrintable(QString::number(peak))); // louder than -12 dBFS somewhere
    }
};

QTEST_MAIN(TestPrompts)
#include "tst_prompts.moc"
