#include "common/modalcloser.h"
#include "common/feslinkpty.h"
#include "common/testworkdir.h"
#include "fes/channeldialog.h"
#include "fes/channelonlydialog.h"
#include "fes/fescontroldialog.h"
#include "fes/fesframe.h"
#include "fes/fesparambtn.h"
#include "fes/fesprotocol.h"
#include "fes/fessetting.h"
#include "fes/festotalparamdialog.h"
#include "fes/musclebutton.h"
#include "fes/recipexmlcontrol.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

// The FES page over a real pseudo-terminal: the test plays the Bluetooth adapter and reads every
// frame the page sends.
class TestFesSetting : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<FesLinkPty> m_link;

    static QByteArray frame(const QByteArray &payload) { return FesFrame::createFrame(payload); }

    // Every frame the page put on the line since the last call.
    QList<QByteArray> sentFrames(int waitMs = 100) { return m_link->sentFrames(waitMs); }

    // Runs a modal dialog's answer from inside its event loop.
    static void whenModal(std::function<void(QWidget *)> answer)
    {
        auto *timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                timer->stop();
                timer->deleteLater();
                answer(modal);
            }
        });
        timer->start();
    }

    static MuscleButton *channel(FesSetting &page, const char *name)
    {
        return page.findChild<MuscleButton *>(QLatin1String(name));
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        prepareTestEnvironment();
        m_dir = std::make_unique<TestWorkDir>();
        QVERIFY(m_dir->copyFromRepo(QStringLiteral("ConfigFile/FESRecipeList.xml")));
        QVERIFY(m_dir->copyFromRepo(QStringLiteral("ConfigFile/FESRecipeListReverse.xml")));
        m_link = std::make_unique<FesLinkPty>();
        QVERIFY(m_link->open());
    }

    void cleanupTestCase()
    {
        m_link.reset();
        m_dir.reset();
    }

    void init() { sentFrames(20); }

    // Mode 1: muscle 20 (right side) uses recipe entry 5, upper limb, right side.
    void cyclingChannelCarriesItsRecipeWindow()
    {
        FesSetting page;
        page.setFesType(FesSetting::FesCycling_E);
        page.show();
        page.slotDeviceStateChanged({1, 1, 0, 0});
        const RecipeXmlControl recipes;
        whenModal([](QWidget *modal) {
            auto *dialog = qobject_cast<ChannelDialog *>(modal);
            dialog->selectMuscle(20);
            dialog->setMaxCurrentValue(30);
            dialog->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotChannelWidgetClicked(3); // B1: device 2, channel 1
        const QList<QByteArray> frames = sentFrames();
        FesFrame::CycleParam expected;
        expected.frequency = 10;
        expected.pulseWidth = 200;
        expected.forwardStart = uint16_t(recipes.getRecipeList().at(4).startAngle);
        expected.forwardStop = uint16_t(recipes.getRecipeList().at(4).stopAngle);
        expected.reverseStart = uint16_t(recipes.getRecipeReverseList().at(4).startAngle);
        expected.reverseStop = uint16_t(recipes.getRecipeReverseList().at(4).stopAngle);
        expected.minCurrent = 0;
        expected.maxCurrent = 30;
        expected.limb = 1;
        expected.side = 2;
        QVERIFY2(frames.contains(frame(FesFrame::cycleParamPayload(2, 1, expected))),
                 qPrintable(QString::fromLatin1(frames.isEmpty() ? QByteArray() : frames.last().toHex())));
        QVERIFY(channel(page, "channelB1_Widget")->getData().muscleId == 20);

        // muscle 9: entry 9, lower limb, left side
        whenModal([](QWidget *modal) {
            auto *dialog = qobject_cast<ChannelDialog *>(modal);
            dialog->selectMuscle(9);
            dialog->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotChannelWidgetClicked(1);
        const QList<QByteArray> second = sentFrames();
        QVERIFY(!second.isEmpty());
        const QByteArray cycle = second.last();
        QCOMPARE(uint8_t(cycle.at(2)), FesProtocol::kCmdCycleParam);
        QCOMPARE(uint8_t(cycle.at(8 + 4)), uint8_t(recipes.getRecipeList().at(8).startAngle >> 8));
        QCOMPARE(uint8_t(cycle.at(cycle.size() - 4)), uint8_t(2)); // limb: lower
        QCOMPARE(uint8_t(cycle.at(cycle.size() - 3)), uint8_t(1)); // side: left
    }

    // A channel without a muscle does not inherit the muscle chosen for the previous channel.
    void newChannelStartsWithoutAMuscle()
    {
        FesSetting page;
        page.setFesType(FesSetting::FesCycling_E);
        page.show();
        page.slotDeviceStateChanged({1, 0, 0, 0});
        whenModal([](QWidget *modal) {
            auto *dialog = qobject_cast<ChannelDialog *>(modal);
            dialog->selectMuscle(20);
            dialog->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotChannelWidgetClicked(1);
        int preselected = -1;
        whenModal([&preselected](QWidget *modal) {
            auto *dialog = qobject_cast<ChannelDialog *>(modal);
            preselected = dialog->getData().muscleId;
            dialog->selectMuscle(5);
            dialog->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotChannelWidgetClicked(2);
        QCOMPARE(preselected, 0);
        QCOMPARE(channel(page, "channelA2_Widget")->getData().muscleId, 5);
        QCOMPARE(channel(page, "channelA1_Widget")->getData().muscleId, 20);
        sentFrames();
    }

    // A channel confirmed with its switch off sends no parameter frame.
    void channelWithSwitchOffSendsNoParameters()
    {
        FesSetting page;
        page.show();
        page.slotDeviceStateChanged({1, 0, 0, 0});
        whenModal([](QWidget *modal) {
            auto *dialog = qobject_cast<ChannelOnlyDialog *>(modal);
            dialog->findChild<QPushButton *>(QStringLiteral("switch_Btn"))->click(); // on -> off
            dialog->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotChannelWidgetClicked(2);
        for (const QByteArray &f : sentFrames())
            QVERIFY2(uint8_t(f.at(2)) != FesProtocol::kCmdRealTimeParam, f.toHex().constData());
        QCOMPARE(channel(page, "channelA2_Widget")->getData().switchFlag, 0);
    }

    // A global frequency change sends one 0x71 per enabled channel, switched on or not.
    void globalFrequencyChangeReachesEveryEnabledChannel()
    {
        FesSetting page;
        page.show();
        page.slotDeviceStateChanged({1, 0, 1, 0}); // A and C: channels 1, 2, 5, 6
        whenModal([](QWidget *modal) {
            auto *dialog = qobject_cast<FesTotalParamDialog *>(modal);
            dialog->setValue(60);
            dialog->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotFrequentBtnClicked();
        QCOMPARE(page.findChild<FesParamBtn *>(QStringLiteral("frequent_Btn"))->value(), 60);
        QList<int> devicesAndChannels;
        for (const QByteArray &f : sentFrames()) {
            QCOMPARE(uint8_t(f.at(2)), FesProtocol::kCmdRealTimeParam);
            QCOMPARE(f.size(), 18 + 4);
            devicesAndChannels << uint8_t(f.at(3)) * 10 + uint8_t(f.at(4));
            // never outside what the page allows: 10..60 Hz now, 50..500 us
            const int frequency = uint8_t(f.at(8)) << 8 | uint8_t(f.at(9));
            const int pulseWidth = uint8_t(f.at(10)) << 8 | uint8_t(f.at(11));
            QVERIFY(frequency >= 10 && frequency <= 60);
            QVERIFY(pulseWidth >= 50 && pulseWidth <= 500);
            // rise 2 s, open 10 s, fall 2 s, close 10 s in milliseconds, high byte first
            QCOMPARE(f.mid(2 + 10, 8), QByteArray::fromHex("07D02710 07D02710"));
        }
        QCOMPARE(devicesAndChannels, (QList<int>{11, 12, 31, 32}));
    }

    // Lowering the global frequency brings a channel set above it down, on the button and on the line.
    void loweredGlobalFrequencyIsTheChannelsCeiling()
    {
        FesSetting page;
        page.show();
        page.slotDeviceStateChanged({1, 0, 0, 0});
        whenModal([](QWidget *modal) {
            auto *dialog = qobject_cast<ChannelOnlyDialog *>(modal);
            dialog->setFrequentValue(90);
            dialog->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotChannelWidgetClicked(1);
        QCOMPARE(channel(page, "channelA1_Widget")->getData().frequency, 90);
        sentFrames();
        whenModal([](QWidget *modal) {
            auto *dialog = qobject_cast<FesTotalParamDialog *>(modal);
            dialog->setValue(20);
            dialog->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotFrequentBtnClicked();
        QCOMPARE(channel(page, "channelA1_Widget")->getData().frequency, 20);
        const QList<QByteArray> frames = sentFrames();
        QCOMPARE(frames.size(), 2); // both channels of box A
        for (const QByteArray &f : frames)
            QVERIFY2((uint8_t(f.at(8)) << 8 | uint8_t(f.at(9))) <= 20, f.toHex().constData());
    }

    // A treatment of one minute stops after one timer period, switching the outputs off.
    void oneMinuteTreatmentStopsAfterOnePeriod()
    {
        FesSetting page;
        page.show();
        page.slotDeviceStateChanged({1, 0, 0, 0});
        whenModal([](QWidget *modal) {
            auto *dialog = qobject_cast<FesTotalParamDialog *>(modal);
            dialog->setValue(1);
            dialog->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotTrainTimeBtnClicked();
        QVERIFY(sentFrames(30).isEmpty()); // the treatment time sends nothing

        // channel A1 set up with its switch on; the others stay off
        whenModal([](QWidget *modal) {
            modal->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotChannelWidgetClicked(1);
        sentFrames();

        auto *ok = page.findChild<QPushButton *>(QStringLiteral("OK_Btn"));
        QCOMPARE(ok->text(), QStringLiteral("开始"));
        ok->click();
        QVERIFY(page.isRunning());
        QCOMPARE(ok->text(), QStringLiteral("结束"));
        QVERIFY(page.trainTimer()->isActive());
        QCOMPARE(page.trainTimer()->interval(), FesSetting::kTrainTimerMs);
        QCOMPARE(sentFrames(), QList<QByteArray>{frame(FesFrame::switchOutputPayload(1, 1, 1))});

        page.slotTrainTimer(); // one period
        QVERIFY(!page.isRunning());
        QCOMPARE(page.remainingMinutes(), 0);
        QCOMPARE(ok->text(), QStringLiteral("开始"));
        QVERIFY(!page.trainTimer()->isActive());
        QCOMPARE(sentFrames(), QList<QByteArray>{frame(FesFrame::switchOutputPayload(1, 1, 0))});
    }

    // Showing the page while a treatment runs keeps it stoppable.
    void showingTheRunningPageKeepsTheStopButton()
    {
        FesSetting page;
        page.show();
        auto *ok = page.findChild<QPushButton *>(QStringLiteral("OK_Btn"));
        ok->click();
        sentFrames();
        page.hide();
        page.show();
        QCOMPARE(ok->text(), QStringLiteral("结束"));
        QVERIFY(page.isRunning());
        ok->click();
        QVERIFY(!page.isRunning());
    }

    // Mode 1 start emits the signal and sends nothing itself.
    void cyclingStartAsksForTheTraining()
    {
        FesSetting page;
        page.setFesType(FesSetting::FesCycling_E);
        page.show();
        QSignalSpy spy(&page, &FesSetting::signalStartGame);
        page.findChild<QPushButton *>(QStringLiteral("OK_Btn"))->click();
        QCOMPARE(spy.count(), 1);
        QVERIFY(!page.isRunning());
        QVERIFY(sentFrames(30).isEmpty());
    }

    // Connected boxes enable their channels; battery levels go to both channels of a connected box.
    void connectionsAndBatteriesReachTheChannels()
    {
        FesSetting page;
        page.slotDeviceStateChanged({0, 1, 0, 0});
        QVERIFY(!channel(page, "channelA1_Widget")->isEnabled());
        QVERIFY(channel(page, "channelB1_Widget")->isEnabled());
        QVERIFY(channel(page, "channelB2_Widget")->isEnabled());
        QCOMPARE(page.batteryTimer()->interval(), FesSetting::kBatteryTimerMs);
        QVERIFY(page.batteryTimer()->isActive());
        // nothing connected in the manager: no battery queries go out
        page.slotGetBattery();
        QVERIFY(sentFrames(30).isEmpty());
    }

    // Without recipes the cycling frame still goes out, with an empty angle window.
    void missingRecipesGiveAnEmptyAngleWindow()
    {
        QFile::remove(m_dir->filePath(QStringLiteral("DependFile/ConfigFile/FESRecipeList.xml")));
        QTest::ignoreMessage(QtDebugMsg, "read FESRecipeList failed");
        FesSetting page;
        page.setFesType(FesSetting::FesCycling_E);
        page.show();
        page.slotDeviceStateChanged({1, 0, 0, 0});
        whenModal([](QWidget *modal) {
            auto *dialog = qobject_cast<ChannelDialog *>(modal);
            dialog->selectMuscle(20);
            dialog->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        QTest::ignoreMessage(QtDebugMsg, "XML为空");
        page.slotChannelWidgetClicked(1);
        QVERIFY(m_dir->copyFromRepo(QStringLiteral("ConfigFile/FESRecipeList.xml")));
        const QList<QByteArray> frames = sentFrames();
        QVERIFY(!frames.isEmpty());
        const QByteArray cycle = frames.last();
        QCOMPARE(uint8_t(cycle.at(2)), FesProtocol::kCmdCycleParam);
        QCOMPARE(cycle.mid(12, 8), QByteArray(8, '\0'));
        QCOMPARE(uint8_t(cycle.at(cycle.size() - 4)), uint8_t(1)); // upper limb (entry 5)
        QCOMPARE(uint8_t(cycle.at(cycle.size() - 3)), uint8_t(2)); // right side
    }
};

QTEST_MAIN(TestFesSetting)
#include "tst_fessetting.moc"
