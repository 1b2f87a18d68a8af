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

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include <algorithm>
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

    static MuscleButton *channel(FesSetting &page, const char *name)
    {
        return page.findChild<MuscleButton *>(QLatin1String(name));
    }
    static QTimer *timer(FesSetting &page, const char *name) { return page.findChild<QTimer *>(QLatin1String(name)); }
    static QPushButton *okButton(FesSetting &page) { return page.findChild<QPushButton *>(QStringLiteral("OK_Btn")); }
    static int trainTime(FesSetting &page) { return page.findChild<FesParamBtn *>(QStringLiteral("trainTime_Btn"))->value(); }

    // The output-switch frames (0x72) among frames, as "device channel on".
    static QStringList switches(const QList<QByteArray> &frames)
    {
        QStringList result;
        for (const QByteArray &f : frames) {
            if (uint8_t(f.at(2)) == FesProtocol::kCmdSwitchOutput)
                result << QStringLiteral("%1 %2 %3").arg(int(f.at(3))).arg(int(f.at(4))).arg(int(f.at(5)));
        }
        return result;
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
            if (uint8_t(f.at(2)) == FesProtocol::kCmdCurrent)
                continue; // the reset channels' current going to 0 first
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
        QList<QByteArray> frames = sentFrames();
        frames.erase(std::remove_if(frames.begin(), frames.end(),
                                    [](const QByteArray &f) { return uint8_t(f.at(2)) != FesProtocol::kCmdRealTimeParam; }),
                     frames.end());
        QCOMPARE(frames.size(), 2); // both channels of box A
        for (const QByteArray &f : frames)
            QVERIFY2((uint8_t(f.at(8)) << 8 | uint8_t(f.at(9))) <= 20, f.toHex().constData());
    }

    // A treatment of one minute stops after one timer period, switching the outputs off; the
    // treatment-time tile then shows the chosen time again, so the next start is not 0 minutes.
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

        setUpChannel(page, 1, 20); // A1 switched on at 20 mA; the others stay off
        sentFrames();

        QPushButton *ok = okButton(page);
        QCOMPARE(ok->text(), QStringLiteral("开始"));
        ok->click();
        QVERIFY(page.isRunning());
        QCOMPARE(ok->text(), QStringLiteral("结束"));
        QVERIFY(timer(page, "train_Timer")->isActive());
        QCOMPARE(timer(page, "train_Timer")->interval(), FesSetting::kTrainTimerMs);
        QCOMPARE(sentFrames(), QList<QByteArray>{frame(FesFrame::switchOutputPayload(1, 1, 1))});

        page.slotTrainTimer(); // one period
        QVERIFY(!page.isRunning());
        QCOMPARE(ok->text(), QStringLiteral("开始"));
        QVERIFY(!timer(page, "train_Timer")->isActive());
        QCOMPARE(sentFrames(), QList<QByteArray>{frame(FesFrame::switchOutputPayload(1, 1, 0))});
        QCOMPARE(trainTime(page), 1); // the chosen time again, not the 0 left
        ok->click();
        QVERIFY(page.isRunning());
        page.slotTrainTimer();
        QVERIFY(!page.isRunning());
        sentFrames();
    }

    // Showing the page again resets a channel together with its selection: start does not switch
    // a tile showing 0 mA on, and the box's current there goes to 0 before anything else.
    void showingThePageAgainResetsTheChannels()
    {
        FesSetting page;
        page.show();
        page.slotDeviceStateChanged({1, 0, 0, 0});
        setUpChannel(page, 1, 30);
        QCOMPARE(channel(page, "channelA1_Widget")->getData().switchFlag, 1);
        sentFrames();
        page.hide();
        page.show();
        QCOMPARE(channel(page, "channelA1_Widget")->getData().maxCurrent, 0);
        QCOMPARE(channel(page, "channelA1_Widget")->getData().switchFlag, 0);
        okButton(page)->click();
        QCOMPARE(switches(sentFrames()), QStringList());
        okButton(page)->click();
        sentFrames();
        whenModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
        page.slotChannelWidgetClicked(1);
        const QList<QByteArray> frames = sentFrames();
        QVERIFY(!frames.isEmpty());
        QCOMPARE(frames.first(), frame(FesFrame::currentPayload(1, 1, 0)));
    }

    // A channel dialog opens on the channel's record, so opening it changes nothing on the box, and
    // one that is not confirmed leaves the record as it was.
    void aChannelDialogOpensOnTheRecord()
    {
        FesSetting page;
        page.show();
        page.slotDeviceStateChanged({1, 0, 0, 0});
        setUpChannel(page, 2, 30);
        sentFrames();
        QString shown;
        whenModal([&shown](QWidget *modal) {
            shown = modal->findChild<QLabel *>(QStringLiteral("maxCurrent_Label"))->text();
            modal->findChild<QSlider *>(QStringLiteral("maxCurrent_Slider"))->setValue(45);
            qobject_cast<QDialog *>(modal)->reject();
        });
        page.slotChannelWidgetClicked(2);
        QCOMPARE(shown, QStringLiteral("30"));
        QCOMPARE(channel(page, "channelA2_Widget")->getData().maxCurrent, 30);
        QCOMPARE(sentFrames().last(), frame(FesFrame::currentPayload(1, 2, 30)));
    }

    // While a treatment runs the stop button stops it, whichever mode the page shows; it never
    // starts a cycling training then.
    void theStopButtonStopsWhicheverModeIsShown_data()
    {
        QTest::addColumn<bool>("cyclingTreatment");
        QTest::addColumn<int>("shownMode");
        QTest::newRow("pure treatment, cycling page") << false << int(FesSetting::FesCycling_E);
        QTest::newRow("cycling treatment, cycling page") << true << int(FesSetting::FesCycling_E);
        QTest::newRow("cycling treatment, pure page") << true << int(FesSetting::PureStimulation_E);
    }

    void theStopButtonStopsWhicheverModeIsShown()
    {
        QFETCH(bool, cyclingTreatment);
        QFETCH(int, shownMode);
        FesSetting page;
        page.setFesType(cyclingTreatment ? FesSetting::FesCycling_E : FesSetting::PureStimulation_E);
        page.show();
        page.slotDeviceStateChanged({1, 0, 0, 0});
        setUpChannel(page, 1, 25, 9);
        if (cyclingTreatment)
            page.slotCyclingStateChanged(true);
        else
            okButton(page)->click();
        QVERIFY(page.isRunning());
        sentFrames();
        page.setFesType(shownMode);
        QSignalSpy starts(&page, &FesSetting::signalStartGame);
        okButton(page)->click();
        QVERIFY(!page.isRunning());
        QCOMPARE(starts.count(), 0);
        QCOMPARE(switches(sentFrames()), QStringList{QStringLiteral("1 1 0")});
    }

    // A cycling treatment locks the dialog's controls like any running one, and its end switches
    // its channels off.
    void aCyclingTreatmentLocksAndEndsLikeAnother()
    {
        FesSetting page;
        page.setFesType(FesSetting::FesCycling_E);
        page.show();
        page.slotDeviceStateChanged({0, 1, 0, 0});
        setUpChannel(page, 4, 20, 12);
        page.slotCyclingStateChanged(true);
        bool locked = false;
        whenModal([&locked](QWidget *modal) {
            locked = !modal->findChild<QSlider *>(QStringLiteral("frequent_Slider"))->isEnabled();
            modal->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotChannelWidgetClicked(4);
        QVERIFY(locked);
        sentFrames();
        page.slotCyclingStateChanged(false);
        QVERIFY(!page.isRunning());
        QCOMPARE(switches(sentFrames()), QStringList{QStringLiteral("2 2 0")});
    }

    // During a treatment a channel confirmed with its switch off goes off on the box at once.
    void aChannelSwitchedOffDuringATreatmentGoesOffAtOnce()
    {
        FesSetting page;
        page.show();
        page.slotDeviceStateChanged({1, 0, 0, 0});
        setUpChannel(page, 1, 30);
        okButton(page)->click();
        sentFrames();
        whenModal([](QWidget *modal) {
            modal->findChild<QPushButton *>(QStringLiteral("switch_Btn"))->click();
            modal->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        page.slotChannelWidgetClicked(1);
        QCOMPARE(switches(sentFrames()), QStringList{QStringLiteral("1 1 0")});
        okButton(page)->click();
        QCOMPARE(switches(sentFrames()), QStringList{QStringLiteral("1 1 0")}); // still, at the end
    }

    // Showing the page while a treatment runs keeps it stoppable.
    void showingTheRunningPageKeepsTheStopButton()
    {
        FesSetting page;
        page.show();
        QPushButton *ok = okButton(page);
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
        QCOMPARE(timer(page, "battery_Timer")->interval(), FesSetting::kBatteryTimerMs);
        QVERIFY(timer(page, "battery_Timer")->isActive());
        // nothing connected in the manager: no battery queries go out
        page.slotGetBattery();
        QVERIFY(sentFrames(30).isEmpty());
    }

    void aMuscleWithoutRecipeCannotCycle_data()
    {
        QTest::addColumn<QByteArray>("recipes");
        QTest::newRow("no recipe file") << QByteArray();
        QTest::newRow("angle outside 0..359")
            << QByteArray("<list><m ID=\"1\" name=\"a\" startAngle=\"10\" stopAngle=\"100\"/>"
                          "<m ID=\"2\" name=\"b\" startAngle=\"10\" stopAngle=\"400\"/></list>");
        QTest::newRow("no entry for the muscle")
            << QByteArray("<list><m ID=\"1\" name=\"a\" startAngle=\"10\" stopAngle=\"100\"/></list>");
    }

    // A muscle without a usable recipe window gets no cycling frame: its tile says why, the fault
    // is logged, and start refuses instead of asking for the training.
    void aMuscleWithoutRecipeCannotCycle()
    {
        QFETCH(QByteArray, recipes);
        const QString file = QStringLiteral("DependFile/ConfigFile/FESRecipeList.xml");
        if (recipes.isEmpty())
            QFile::remove(m_dir->filePath(file));
        else
            QVERIFY(m_dir->write(file, recipes));
        auto page = std::make_unique<FesSetting>();
        QVERIFY(m_dir->copyFromRepo(QStringLiteral("ConfigFile/FESRecipeList.xml")));
        page->setFesType(FesSetting::FesCycling_E);
        page->show();
        page->slotDeviceStateChanged({1, 0, 0, 0});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^no recipe for muscle 17")));
        setUpChannel(*page, 1, 20, 17); // entry 2 on the right
        for (const QByteArray &f : sentFrames())
            QVERIFY2(uint8_t(f.at(2)) != FesProtocol::kCmdCycleParam, f.toHex().constData());
        QCOMPARE(channel(*page, "channelA1_Widget")->findChild<QLabel *>(QStringLiteral("notice_Label"))->text(),
                 QStringLiteral("无配方"));
        QSignalSpy starts(page.get(), &FesSetting::signalStartGame);
        okButton(*page)->click();
        QCOMPARE(starts.count(), 0);
        auto *refusal = page->findChild<QMessageBox *>(QStringLiteral("refusal_MessageBox"));
        QVERIFY(refusal && refusal->isVisible());
        refusal->close();
    }
};

QTEST_MAIN(TestFesSetting)
#include "tst_fessetting.moc"
