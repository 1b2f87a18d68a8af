#include "comm/streamframecutter.h"
#include "common/modalcloser.h"
#include "common/feslinkpty.h"
#include "common/testworkdir.h"
#include "fes/channeldialog.h"
#include "fes/channelonlydialog.h"
#include "fes/fescontroldialog.h"
#include "fes/fesframe.h"
#include "fes/fesparambtn.h"
#include "fes/fesprotocol.h"
#include "fes/festotalparamdialog.h"
#include "fes/musclebutton.h"
#include "training/icemodule.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const char *const kStems[15] = {"gongEr", "gongSan", "qianSanJiao", "houSanJiao", "quWan",
                                "shenWan", "jianJia", "gangShang", "guoSheng", "tunDa",
                                "jingQian", "feiChang", "fuJi", "shuJi", "guSiTou"};
const char *const kMuscleNames[15] = {"肱二头肌", "肱三头肌", "前三角肌", "后三角肌", "屈腕肌",
                                      "伸腕肌", "肩胛肌", "冈上肌", "腘绳肌", "臀大肌",
                                      "胫前肌", "腓肠肌", "腹肌", "竖脊肌", "股四头肌"};

QByteArray currentFrame(int device, int channel, int milliamps)
{
    return FesFrame::createFrame(FesFrame::currentPayload(uint8_t(device), uint8_t(channel), uint8_t(milliamps)));
}

QByteArray frequencyFrame(int device, int channel, int hertz)
{
    return FesFrame::createFrame(FesFrame::frequencyPayload(uint8_t(device), uint8_t(channel), uint16_t(hertz)));
}

QByteArray pulseWidthFrame(int device, int channel, int microseconds)
{
    return FesFrame::createFrame(
        FesFrame::pulseWidthPayload(uint8_t(device), uint8_t(channel), uint16_t(microseconds)));
}

QByteArray adjustFrame(int device, int channel, int on)
{
    return FesFrame::createFrame(FesFrame::channelAdjustPayload(uint8_t(device), uint8_t(channel), uint8_t(on)));
}

template<typename T>
T *child(QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qWarning("no child %s", qPrintable(name));
    return found;
}

QSlider *slider(QObject *dialog, const char *name) { return child<QSlider>(dialog, QLatin1String(name)); }
QPushButton *button(QObject *dialog, const char *name) { return child<QPushButton>(dialog, QLatin1String(name)); }
QLabel *label(QObject *dialog, const char *name) { return child<QLabel>(dialog, QLatin1String(name)); }

QImage labelImage(QObject *widget, const char *name)
{
    return label(widget, name)->pixmap(Qt::ReturnByValue).toImage();
}

QImage resourceImage(const QString &path)
{
    return QPixmap(path).toImage();
}

// A drag as the slider reports it: pressed, a run of values, released.
void drag(QSlider *s, int from, int to, bool release = true)
{
    s->setSliderDown(true);
    const int step = from <= to ? 1 : -1;
    for (int value = from; value != to + step; value += step)
        s->setValue(value);
    if (release)
        s->setSliderDown(false);
}

// Both channel dialogs take the same setters; the tests run against either.
template<typename Dialog>
void prepare(Dialog &dialog, int id, bool switchOn)
{
    dialog.setTitle(id);
    dialog.setFrequentRange(10, 100);
    dialog.setPlusRange(50, 500);
    dialog.setFrequentValue(10);
    dialog.setPlusValue(200);
    dialog.setMinCurrentValue(0);
    dialog.setMaxCurrentValue(0);
    dialog.setSwitch(switchOn);
}

std::unique_ptr<QDialog> makeChannelDialog(int kind, int id, bool switchOn)
{
    if (kind == 0) {
        auto dialog = std::make_unique<ChannelOnlyDialog>();
        prepare(*dialog, id, switchOn);
        return dialog;
    }
    auto dialog = std::make_unique<ChannelDialog>();
    prepare(*dialog, id, switchOn);
    return dialog;
}

void setRanges(QDialog *dialog, int frequencyMin, int frequencyMax, int pulseWidthMin, int pulseWidthMax)
{
    if (auto *only = qobject_cast<ChannelOnlyDialog *>(dialog)) {
        only->setFrequentRange(frequencyMin, frequencyMax);
        only->setPlusRange(pulseWidthMin, pulseWidthMax);
    } else if (auto *cycling = qobject_cast<ChannelDialog *>(dialog)) {
        cycling->setFrequentRange(frequencyMin, frequencyMax);
        cycling->setPlusRange(pulseWidthMin, pulseWidthMax);
    }
}

ST_ChannelParam dataOf(QDialog *dialog)
{
    if (auto *only = qobject_cast<ChannelOnlyDialog *>(dialog))
        return only->getData();
    return qobject_cast<ChannelDialog *>(dialog)->getData();
}

} // namespace

// The FES widgets and channel dialogs; the channel dialogs talk to the box manager over a real
// pseudo-terminal, the test reading every frame on the device side.
class TestFesDialogs : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<FesLinkPty> m_link;

    // Every frame put on the line since the last call.
    QList<QByteArray> sentFrames(int waitMs = 100) { return m_link->sentFrames(waitMs); }

    static void addDialogKinds()
    {
        QTest::addColumn<int>("kind");
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        prepareTestEnvironment();
        m_dir = std::make_unique<TestWorkDir>();
        for (const char *stem : kStems)
            QVERIFY(m_dir->copyFromRepo(QStringLiteral("Image/leftMuscle/%1.png").arg(QLatin1String(stem))));
        m_link = std::make_unique<FesLinkPty>();
        QVERIFY(m_link->open());
    }

    void cleanupTestCase()
    {
        m_link.reset();
        m_dir.reset();
    }

    void init() { sentFrames(20); }

    // ---- pictures ----

    // A missing or misnamed picture would leave a blank where the widgets show state.
    void everyNamedPictureIsBuiltIn_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        const QString source = QStringLiteral(":/DependFile/Source/");
        for (const char *name : {"channel/left.png", "channel/right.png"})
            QTest::newRow(name) << source + QLatin1String(name) << QSize(48, 48);
        for (const char *name : {"channel/connected.png", "channel/disconnected.png"})
            QTest::newRow(name) << source + QLatin1String(name) << QSize(32, 32);
        for (int level : {0, 25, 50, 75, 100}) {
            const QString name = QStringLiteral("Fes/battery_%1.png").arg(level);
            QTest::newRow(qPrintable(name)) << source + name << QSize(48, 24);
        }
        for (const char *name : {"gamePage/switchOn.png", "gamePage/switchOff.png"})
            QTest::newRow(name) << source + QLatin1String(name) << QSize(120, 60);
        for (const char *stem : kStems)
            QTest::newRow(stem) << QStringLiteral(ROTAFLEX_SOURCE_DIR "/DependFile/Image/leftMuscle/%1.png")
                                           .arg(QLatin1String(stem))
                                << QSize(400, 600);
    }

    void everyNamedPictureIsBuiltIn()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), size);
    }

    // ---- FesParamBtn ----

    void paramButtonShowsValueAndReportsAPress()
    {
        FesParamBtn tile;
        tile.setTitleAndUnit(QStringLiteral("全局频率"), QStringLiteral("Hz"));
        tile.setValue(100);
        QCOMPARE(label(&tile, "title_Label")->text(), QStringLiteral("全局频率"));
        QCOMPARE(label(&tile, "unit_Label")->text(), QStringLiteral("Hz"));
        QCOMPARE(label(&tile, "data_Label")->text(), QStringLiteral("100"));
        QCOMPARE(tile.value(), 100);
        QSignalSpy clicked(&tile, &FesParamBtn::fesButtonClicked);
        tile.show();
        QTest::mousePress(&tile, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&tile, &change);
        QCOMPARE(tile.value(), 100);
        QCOMPARE(label(&tile, "title_Label")->text(), QStringLiteral("全局频率"));
    }

    // ---- MuscleButton ----

    void muscleButtonShowsAndReadsBackItsRecord()
    {
        MuscleButton channel;
        channel.setTitle(QStringLiteral("C2"), 6);
        ST_ChannelParam param;
        param.muscleName = QStringLiteral("屈腕肌");
        param.muscleId = 20;
        param.frequency = 35;
        param.pulseWidth = 250;
        param.minCurrent = 4;
        param.maxCurrent = 18;
        channel.setData(param);
        QCOMPARE(channel.id(), 6);
        QCOMPARE(label(&channel, "current_Label")->text(), QStringLiteral("4~18mA"));
        QCOMPARE(label(&channel, "plus_Label")->text(), QStringLiteral("250us"));
        QCOMPARE(label(&channel, "frequent_Label")->text(), QStringLiteral("35Hz"));
        QCOMPARE(label(&channel, "muscle_Label")->text(), QStringLiteral("屈腕肌"));

        channel.setSelected(true);
        ST_ChannelParam back = channel.getData();
        QCOMPARE(back.muscleName, param.muscleName);
        QCOMPARE(back.muscleId, 20);
        QCOMPARE(back.switchFlag, 1);
        QCOMPARE(back.frequency, 35);
        QCOMPARE(back.pulseWidth, 250);
        QCOMPARE(back.minCurrent, 4);
        QCOMPARE(back.maxCurrent, 18);
        QCOMPARE(channel.styleSheet(), QStringLiteral("#groupBox{background: #E4F4FC;border-radius: 6px;}"));
        channel.setSelected(false);
        QCOMPARE(channel.getData().switchFlag, 0);
        QCOMPARE(channel.styleSheet(), QStringLiteral("#groupBox{background: #EFEFEF;border-radius: 6px;}"));
        QVERIFY(child<QGroupBox>(&channel, QStringLiteral("groupBox")));

        QSignalSpy clicked(&channel, &MuscleButton::muscleButtonClicked);
        channel.show();
        QTest::mousePress(&channel, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().first().toInt(), 6);
    }

    // The page hands records around through the labels; the current text is the one to split.
    void muscleButtonCurrentTextSplitsAtTheTilde()
    {
        MuscleButton channel;
        ST_ChannelParam param;
        param.minCurrent = 1;
        param.maxCurrent = 2;
        channel.setData(param);
        label(&channel, "current_Label")->setText(QStringLiteral("5~20mA"));
        QCOMPARE(channel.getData().minCurrent, 5);
        QCOMPARE(channel.getData().maxCurrent, 20);
        label(&channel, "current_Label")->setText(QStringLiteral("7mA"));
        QCOMPARE(channel.getData().minCurrent, 1);
        QCOMPARE(channel.getData().maxCurrent, 2);
    }

    void muscleButtonSidePicture_data()
    {
        QTest::addColumn<int>("muscleId");
        QTest::addColumn<QString>("picture");
        const QString left = QStringLiteral(":/DependFile/Source/channel/left.png");
        const QString right = QStringLiteral(":/DependFile/Source/channel/right.png");
        QTest::newRow("none") << 0 << left;
        QTest::newRow("first left") << 1 << left;
        QTest::newRow("last left") << 15 << left;
        QTest::newRow("first right") << 16 << right;
        QTest::newRow("last right") << 30 << right;
        QTest::newRow("beyond") << 31 << QString();
    }

    void muscleButtonSidePicture()
    {
        QFETCH(int, muscleId);
        QFETCH(QString, picture);
        MuscleButton channel;
        ST_ChannelParam param;
        param.muscleId = muscleId;
        channel.setData(param);
        const QImage shown = labelImage(&channel, "side_Label");
        if (picture.isEmpty())
            QVERIFY(shown.isNull());
        else
            QCOMPARE(shown, resourceImage(picture));
    }

    void muscleButtonBatteryPicture_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("picture");
        const auto battery = [](int step) { return QStringLiteral(":/DependFile/Source/Fes/battery_%1.png").arg(step); };
        QTest::newRow("0") << 0 << battery(0);
        QTest::newRow("1") << 1 << battery(25);
        QTest::newRow("24") << 24 << battery(25);
        QTest::newRow("25") << 25 << battery(50);
        QTest::newRow("49") << 49 << battery(50);
        QTest::newRow("50") << 50 << battery(75);
        QTest::newRow("74") << 74 << battery(75);
        QTest::newRow("75") << 75 << battery(100);
        QTest::newRow("100") << 100 << battery(100);
        QTest::newRow("101") << 101 << QString();
        QTest::newRow("255") << 255 << QString();
        QTest::newRow("-1") << -1 << QString();
    }

    void muscleButtonBatteryPicture()
    {
        QFETCH(int, level);
        QFETCH(QString, picture);
        MuscleButton channel;
        channel.setBattery(50); // a picture that a clearing level has to remove
        channel.setBattery(level);
        const QImage shown = labelImage(&channel, "battery_Label");
        if (picture.isEmpty()) {
            QVERIFY(shown.isNull());
        } else {
            QVERIFY(!shown.isNull());
            QCOMPARE(shown, resourceImage(picture));
        }
    }

    void muscleButtonConnectionMark()
    {
        MuscleButton channel;
        channel.setConnected(true);
        QCOMPARE(labelImage(&channel, "connect_Label"), resourceImage(QStringLiteral(":/DependFile/Source/channel/connected.png")));
        channel.setConnected(false);
        QCOMPARE(labelImage(&channel, "connect_Label"), resourceImage(QStringLiteral(":/DependFile/Source/channel/disconnected.png")));
    }

    void muscleButtonModeShowsOrHidesTheMuscle()
    {
        MuscleButton channel;
        channel.show();
        channel.setMode(0);
        QVERIFY(label(&channel, "muscle_Label")->isHidden());
        QVERIFY(label(&channel, "side_Label")->isHidden());
        channel.setMode(7);
        QVERIFY(label(&channel, "muscle_Label")->isHidden());
        channel.setMode(1);
        QVERIFY(!label(&channel, "muscle_Label")->isHidden());
        QVERIFY(!label(&channel, "side_Label")->isHidden());
        channel.setMode(-1);
        QVERIFY(!label(&channel, "side_Label")->isHidden());
    }

    // ---- FesTotalParamDialog ----

    void totalParamDialogConfirmTakesTheShownValue()
    {
        FesTotalParamDialog dialog;
        dialog.setTitleAndUnit(QStringLiteral("治疗时间"), QStringLiteral("min"));
        dialog.setRange(1, 120);
        dialog.setValue(20);
        QCOMPARE(label(&dialog, "value_Label")->text(), QStringLiteral("20"));
        QCOMPARE(label(&dialog, "unit_Label")->text(), QStringLiteral("min"));
        whenModal([](QWidget *modal) {
            for (int i = 0; i < 3; ++i)
                button(modal, "plus_Btn")->click();
            button(modal, "minus_Btn")->click();
            QCOMPARE(label(modal, "value_Label")->text(), QStringLiteral("22"));
            button(modal, "confirm_Btn")->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.getValue(), 22);
        QVERIFY(!dialog.isVisible());
    }

    void totalParamDialogCancelKeepsThePresetValue()
    {
        FesTotalParamDialog dialog;
        dialog.setRange(0, 30);
        dialog.setValue(2);
        whenModal([](QWidget *modal) {
            slider(modal, "slider")->setValue(17);
            QCOMPARE(label(modal, "value_Label")->text(), QStringLiteral("17"));
            button(modal, "cancel_Btn")->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(dialog.getValue(), 2);
    }

    void totalParamDialogStepsStopAtTheRange()
    {
        FesTotalParamDialog dialog;
        dialog.setRange(10, 100);
        dialog.setValue(100);
        button(&dialog, "plus_Btn")->click();
        QCOMPARE(label(&dialog, "value_Label")->text(), QStringLiteral("100"));
        dialog.setValue(10);
        button(&dialog, "minus_Btn")->click();
        QCOMPARE(label(&dialog, "value_Label")->text(), QStringLiteral("10"));
        button(&dialog, "confirm_Btn")->click();
        QCOMPARE(dialog.getValue(), 10);
    }

    // The dimming layer is what tells the therapist the page behind is not live.
    void dialogsAreFramelessAndDimTheirBackground()
    {
        FesTotalParamDialog total;
        ChannelOnlyDialog only;
        ChannelDialog cycling;
        for (QDialog *dialog : std::initializer_list<QDialog *>{&total, &only, &cycling}) {
            QVERIFY(dialog->windowFlags() & Qt::FramelessWindowHint);
            QVERIFY(dialog->testAttribute(Qt::WA_TranslucentBackground));
            const QImage image = dialog->grab().toImage();
            QCOMPARE(image.size(), QSize(1920, 1080));
            const QColor corner = image.pixelColor(4, 4);
            QCOMPARE(corner.rgba64().alpha(), quint16(0x6464));
            QCOMPARE(corner.red() + corner.green() + corner.blue(), 0);
            // inside the panel's top margin, clear of the controls
            const QRect panel = child<QWidget>(dialog, QStringLiteral("panel_Frame"))->geometry();
            const QColor inside = image.pixelColor(panel.center().x(), panel.top() + 12);
            QCOMPARE(inside, QColor(Qt::white));
        }
        sentFrames(20);
    }

    // ---- channel dialogs: addressing ----

    void channelTitleAddressesItsBox_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("channel");
        const char *const titles[8] = {"通道A1", "通道A2", "通道B1", "通道B2", "通道C1", "通道C2", "通道D1", "通道D2"};
        for (int kind : {0, 1}) {
            for (int id = 1; id <= 8; ++id)
                QTest::newRow(qPrintable(QStringLiteral("%1 id %2").arg(kind ? "cycling" : "only").arg(id)))
                    << kind << id << QString::fromUtf8(titles[id - 1]) << (id + 1) / 2 << (id % 2 ? 1 : 2);
        }
    }

    // Showing with the switch on opens the channel for adjustment; confirming closes it again and
    // hands the maximum current to the state hub under the channel's index.
    void channelTitleAddressesItsBox()
    {
        QFETCH(int, kind);
        QFETCH(int, id);
        QFETCH(QString, title);
        QFETCH(int, device);
        QFETCH(int, channel);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, id, true);
        if (auto *cycling = qobject_cast<ChannelDialog *>(dialog.get()))
            cycling->selectMuscle(3);
        QCOMPARE(label(dialog.get(), "title_Label")->text(), title);
        const int index = id - 1;
        IceModule::getInstance()->setChannelCurrent(index, 0);
        FesControlDialog::getInstance()->setMuscleState(device, false);

        whenModal([](QWidget *modal) {
            slider(modal, "maxCurrent_Slider")->setValue(12);
            button(modal, "confirm_Btn")->click();
        });
        QCOMPARE(dialog->exec(), int(QDialog::Accepted));
        QCOMPARE(sentFrames(), QList<QByteArray>({adjustFrame(device, channel, 1), currentFrame(device, channel, 12),
                                                  adjustFrame(device, channel, 0), currentFrame(device, channel, 12)}));
        QCOMPARE(IceModule::getInstance()->getChannelCurrent(index), 12);
        QVERIFY(FesControlDialog::getInstance()->isMuscleOpen(device));
        QCOMPARE(dataOf(dialog.get()).maxCurrent, 12);
    }

    void titleSixIsChannelC2()
    {
        ChannelOnlyDialog dialog;
        prepare(dialog, 6, true);
        QCOMPARE(label(&dialog, "title_Label")->text(), QStringLiteral("通道C%1").arg(2));
        IceModule::getInstance()->setChannelCurrent(5, 0);
        dialog.show();
        slider(&dialog, "maxCurrent_Slider")->setValue(40);
        button(&dialog, "confirm_Btn")->click();
        QCOMPARE(sentFrames(), QList<QByteArray>({adjustFrame(3, 2, 1), currentFrame(3, 2, 40), adjustFrame(3, 2, 0),
                                                  currentFrame(3, 2, 40)}));
        QCOMPARE(IceModule::getInstance()->getChannelCurrent(5), 40);
        QVERIFY(!dialog.isVisible());
    }

    void showingLimitsTheMinimumAndShowsTheMaximum_data() { addDialogKinds(); QTest::newRow("only") << 0; QTest::newRow("cycling") << 1; }

    // The maximum label shows what the slider (and so the box) has, not a made-up 0.
    void showingLimitsTheMinimumAndShowsTheMaximum()
    {
        QFETCH(int, kind);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 2, false);
        slider(dialog.get(), "maxCurrent_Slider")->setValue(30);
        QCOMPARE(label(dialog.get(), "maxCurrent_Label")->text(), QStringLiteral("30"));
        dialog->show();
        QCOMPARE(slider(dialog.get(), "minCurrent_Slider")->minimum(), 0);
        QCOMPARE(slider(dialog.get(), "minCurrent_Slider")->maximum(), 30);
        QCOMPARE(label(dialog.get(), "maxCurrent_Label")->text(), QStringLiteral("30"));
        QVERIFY(sentFrames().isEmpty()); // switched off: no adjustment opened
        dialog->hide();
    }

    // ---- channel dialogs: live sending ----

    void draggingACurrentSliderSamplesIt_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("sliderName");
        QTest::newRow("only max") << 0 << QStringLiteral("maxCurrent_Slider");
        QTest::newRow("only min") << 0 << QStringLiteral("minCurrent_Slider");
        QTest::newRow("cycling max") << 1 << QStringLiteral("maxCurrent_Slider");
        QTest::newRow("cycling min") << 1 << QStringLiteral("minCurrent_Slider");
    }

    // 45 moves with the switch on: the 21st and 42nd go out while dragging, the release sends the last.
    void draggingACurrentSliderSamplesIt()
    {
        QFETCH(int, kind);
        QFETCH(QString, sliderName);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 5, true);
        if (sliderName.startsWith(QLatin1String("min")))
            slider(dialog.get(), "maxCurrent_Slider")->setValue(100); // room above the minimum
        sentFrames(20);
        QSlider *s = child<QSlider>(dialog.get(), sliderName);
        QCOMPARE(s->value(), 0);
        drag(s, 1, 45, false);
        QCOMPARE(sentFrames(), QList<QByteArray>({currentFrame(3, 1, 21), currentFrame(3, 1, 42)}));
        s->setSliderDown(false);
        QCOMPARE(sentFrames(), QList<QByteArray>({currentFrame(3, 1, 45)}));
    }

    void aSettledCurrentChangeGoesOutAtOnce_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("way");
        for (int kind : {0, 1}) {
            for (const char *way : {"tap on the groove", "key"})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(kind ? "cycling" : "only").arg(way))) << kind << way;
        }
    }

    // A change that is not part of a drag reaches the box at once, not every 21st time.
    void aSettledCurrentChangeGoesOutAtOnce()
    {
        QFETCH(int, kind);
        QFETCH(QString, way);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 5, true);
        QSlider *maximum = slider(dialog.get(), "maxCurrent_Slider");
        if (way == QLatin1String("key"))
            QTest::keyClick(maximum, Qt::Key_Up);
        else
            maximum->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QVERIFY(maximum->value() > 0);
        QCOMPARE(sentFrames(), QList<QByteArray>({currentFrame(3, 1, maximum->value())}));
    }

    void draggingWithTheSwitchOffSendsOnlyTheRelease_data() { draggingACurrentSliderSamplesIt_data(); }

    void draggingWithTheSwitchOffSendsOnlyTheRelease()
    {
        QFETCH(int, kind);
        QFETCH(QString, sliderName);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 8, true);
        slider(dialog.get(), "maxCurrent_Slider")->setValue(100);
        button(dialog.get(), "switch_Btn")->click(); // off
        QCOMPARE(dataOf(dialog.get()).switchFlag, 0);
        sentFrames(20);
        QSlider *s = child<QSlider>(dialog.get(), sliderName);
        drag(s, s->value() + 1, s->value() + 45, false);
        QVERIFY(sentFrames().isEmpty());
        s->setSliderDown(false);
        QCOMPARE(sentFrames(), QList<QByteArray>({currentFrame(4, 2, s->value())}));
    }

    void frequencyAndPulseWidthGoOutOnRelease_data() { addDialogKinds(); QTest::newRow("only") << 0; QTest::newRow("cycling") << 1; }

    void frequencyAndPulseWidthGoOutOnRelease()
    {
        QFETCH(int, kind);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 3, true);
        drag(slider(dialog.get(), "frequent_Slider"), 11, 37, false);
        QCOMPARE(label(dialog.get(), "frequent_Label")->text(), QStringLiteral("37"));
        QVERIFY(sentFrames().isEmpty());
        slider(dialog.get(), "frequent_Slider")->setSliderDown(false);
        QCOMPARE(sentFrames(), QList<QByteArray>({frequencyFrame(2, 1, 37)}));

        drag(slider(dialog.get(), "plus_Slider"), 210, 350);
        QCOMPARE(label(dialog.get(), "plus_Label")->text(), QStringLiteral("350"));
        QCOMPARE(sentFrames(), QList<QByteArray>({pulseWidthFrame(2, 1, 350)}));

        // switched off, the values only move on the screen
        button(dialog.get(), "switch_Btn")->click();
        drag(slider(dialog.get(), "frequent_Slider"), 38, 60);
        drag(slider(dialog.get(), "plus_Slider"), 340, 100);
        QVERIFY(sentFrames().isEmpty());
        const ST_ChannelParam data = dataOf(dialog.get());
        QCOMPARE(data.frequency, 60);
        QCOMPARE(data.pulseWidth, 100);
    }

    void frequencyAndPulseWidthStepButtons_data() { addDialogKinds(); QTest::newRow("only") << 0; QTest::newRow("cycling") << 1; }

    void frequencyAndPulseWidthStepButtons()
    {
        QFETCH(int, kind);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 1, true);
        dialog->findChild<QSlider *>(QStringLiteral("frequent_Slider"))->setValue(50);
        button(dialog.get(), "frequentPlus_Btn")->click();
        button(dialog.get(), "frequentPlus_Btn")->click();
        button(dialog.get(), "frequentMinus_Btn")->click();
        QCOMPARE(label(dialog.get(), "frequent_Label")->text(), QStringLiteral("51"));
        button(dialog.get(), "PWMPlus_Btn")->click();
        QCOMPARE(label(dialog.get(), "plus_Label")->text(), QStringLiteral("210"));
        button(dialog.get(), "PWMMinus_Btn")->click();
        button(dialog.get(), "PWMMinus_Btn")->click();
        QCOMPARE(label(dialog.get(), "plus_Label")->text(), QStringLiteral("190"));
        QVERIFY(sentFrames().isEmpty());
    }

    void currentStepButtonsSendAtOnce_data() { addDialogKinds(); QTest::newRow("only") << 0; QTest::newRow("cycling") << 1; }

    void currentStepButtonsSendAtOnce()
    {
        QFETCH(int, kind);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 4, true);
        for (int i = 0; i < 3; ++i)
            button(dialog.get(), "maxCurrentPlus_Btn")->click();
        button(dialog.get(), "maxCurrentMinus_Btn")->click();
        button(dialog.get(), "minCurrentPlus_Btn")->click();
        QCOMPARE(sentFrames(), QList<QByteArray>({currentFrame(2, 2, 1), currentFrame(2, 2, 2), currentFrame(2, 2, 3),
                                                  currentFrame(2, 2, 2), currentFrame(2, 2, 1)}));
        QCOMPARE(label(dialog.get(), "maxCurrent_Label")->text(), QStringLiteral("2"));
        QCOMPARE(label(dialog.get(), "minCurrent_Label")->text(), QStringLiteral("1"));

        button(dialog.get(), "switch_Btn")->click();
        button(dialog.get(), "maxCurrentPlus_Btn")->click();
        button(dialog.get(), "minCurrentMinus_Btn")->click();
        QVERIFY(sentFrames().isEmpty());
        QCOMPARE(label(dialog.get(), "maxCurrent_Label")->text(), QStringLiteral("3"));
        QCOMPARE(label(dialog.get(), "minCurrent_Label")->text(), QStringLiteral("0"));
    }

    void stepButtonsStopAtTheSliderRange_data() { addDialogKinds(); QTest::newRow("only") << 0; QTest::newRow("cycling") << 1; }

    void stepButtonsStopAtTheSliderRange()
    {
        QFETCH(int, kind);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 7, true);
        setRanges(dialog.get(), 10, 60, 50, 300);
        slider(dialog.get(), "frequent_Slider")->setValue(60);
        slider(dialog.get(), "plus_Slider")->setValue(300);
        slider(dialog.get(), "maxCurrent_Slider")->setValue(100);
        sentFrames(20);

        button(dialog.get(), "frequentPlus_Btn")->click();
        button(dialog.get(), "PWMPlus_Btn")->click();
        button(dialog.get(), "maxCurrentPlus_Btn")->click();
        QCOMPARE(label(dialog.get(), "frequent_Label")->text(), QStringLiteral("60"));
        QCOMPARE(label(dialog.get(), "plus_Label")->text(), QStringLiteral("300"));
        QCOMPARE(label(dialog.get(), "maxCurrent_Label")->text(), QStringLiteral("100"));
        QCOMPARE(sentFrames(), QList<QByteArray>({currentFrame(4, 1, 100)}));

        slider(dialog.get(), "frequent_Slider")->setValue(10);
        slider(dialog.get(), "plus_Slider")->setValue(50);
        slider(dialog.get(), "maxCurrent_Slider")->setValue(0);
        sentFrames(20);
        button(dialog.get(), "frequentMinus_Btn")->click();
        button(dialog.get(), "PWMMinus_Btn")->click();
        button(dialog.get(), "maxCurrentMinus_Btn")->click();
        button(dialog.get(), "minCurrentMinus_Btn")->click();
        QCOMPARE(label(dialog.get(), "frequent_Label")->text(), QStringLiteral("10"));
        QCOMPARE(label(dialog.get(), "plus_Label")->text(), QStringLiteral("50"));
        QCOMPARE(sentFrames(), QList<QByteArray>({currentFrame(4, 1, 0), currentFrame(4, 1, 0)}));

        // a released slider at the top of a narrowed range sends that top
        drag(slider(dialog.get(), "frequent_Slider"), 55, 90);
        drag(slider(dialog.get(), "plus_Slider"), 290, 480);
        QCOMPARE(sentFrames(), QList<QByteArray>({frequencyFrame(4, 1, 60), pulseWidthFrame(4, 1, 300)}));
    }

    void minimumAboveMaximumFallsBackToTheMaximum_data() { addDialogKinds(); QTest::newRow("only") << 0; QTest::newRow("cycling") << 1; }

    void minimumAboveMaximumFallsBackToTheMaximum()
    {
        QFETCH(int, kind);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 2, true);
        slider(dialog.get(), "maxCurrent_Slider")->setValue(20);
        QSlider *minimum = slider(dialog.get(), "minCurrent_Slider");
        QCOMPARE(minimum->maximum(), 99);
        QCOMPARE(minimum->pageStep(), 20);
        minimum->setValue(30);
        QCOMPARE(minimum->value(), 20);
        QCOMPARE(label(dialog.get(), "minCurrent_Label")->text(), QStringLiteral("20"));
        sentFrames(20);
        button(dialog.get(), "minCurrentPlus_Btn")->click();
        QCOMPARE(minimum->value(), 20);
        QCOMPARE(sentFrames(), QList<QByteArray>({currentFrame(1, 2, 20)}));
        drag(minimum, 10, 60);
        QCOMPARE(minimum->value(), 20);
        const QList<QByteArray> frames = sentFrames();
        QVERIFY(!frames.isEmpty());
        for (const QByteArray &frame : frames)
            QVERIFY2(uint8_t(frame.at(5)) <= 20, frame.toHex().constData());
        QCOMPARE(frames.last(), currentFrame(1, 2, 20));
        QCOMPARE(dataOf(dialog.get()).minCurrent, 20);
    }

    void loweredMaximumTakesTheMinimumDown_data() { addDialogKinds(); QTest::newRow("only") << 0; QTest::newRow("cycling") << 1; }

    // Lowering the maximum under the minimum pulls the minimum down to it.
    void loweredMaximumTakesTheMinimumDown()
    {
        QFETCH(int, kind);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 2, true);
        QSlider *maximum = slider(dialog.get(), "maxCurrent_Slider");
        QSlider *minimum = slider(dialog.get(), "minCurrent_Slider");
        maximum->setValue(40);
        minimum->setValue(30);
        maximum->setValue(25);
        QCOMPARE(minimum->value(), 25);
        QCOMPARE(label(dialog.get(), "minCurrent_Label")->text(), QStringLiteral("25"));
        const ST_ChannelParam data = dataOf(dialog.get());
        QVERIFY(data.minCurrent <= data.maxCurrent);
    }

    void safetyRanges_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("frequencyMax");
        QTest::addColumn<int>("pulseWidthMax");
        QTest::addColumn<int>("askedFrequencyMin");
        QTest::addColumn<int>("askedPulseWidthMin");
        QTest::addColumn<int>("askedCurrentMax");
        // what the page normally asks for, and ranges past what the box may be given
        QTest::newRow("only, page ranges") << 0 << 60 << 300 << 10 << 50 << 100;
        QTest::newRow("cycling, page ranges") << 1 << 45 << 250 << 10 << 50 << 100;
        QTest::newRow("only, too wide") << 0 << 100 << 500 << -20 << 0 << 400;
        QTest::newRow("cycling, too wide") << 1 << 100 << 500 << 0 << -5 << 255;
    }

    // A long deterministic run of drags, steps, releases, switches and confirms: no frame may
    // carry a current outside 0..100 mA or a frequency or pulse width outside the given range.
    void safetyRanges()
    {
        QFETCH(int, kind);
        QFETCH(int, frequencyMax);
        QFETCH(int, pulseWidthMax);
        QFETCH(int, askedFrequencyMin);
        QFETCH(int, askedPulseWidthMin);
        QFETCH(int, askedCurrentMax);
        const int frequencyMin = qMax(10, askedFrequencyMin);
        const int pulseWidthMin = qMax(50, askedPulseWidthMin);
        const bool tooWide = askedCurrentMax > 100;
        // the too-wide rows ask for more than the box takes; the dialog holds the safe limits
        const int askedFrequencyMax = tooWide ? 1000 : frequencyMax;
        const int askedPulseWidthMax = tooWide ? 5000 : pulseWidthMax;

        ChannelOnlyDialog only;
        ChannelDialog cycling;
        QDialog *dialog = kind == 0 ? static_cast<QDialog *>(&only) : &cycling;
        const auto setup = [&](auto &d) {
            prepare(d, 7, true);
            d.setFrequentRange(askedFrequencyMin, askedFrequencyMax);
            d.setPlusRange(askedPulseWidthMin, askedPulseWidthMax);
            d.setMaxCurrentRange(-30, askedCurrentMax);
            d.setMinCurrentRange(-30, askedCurrentMax);
        };
        if (kind == 0)
            setup(only);
        else
            setup(cycling);
        cycling.selectMuscle(11);

        QCOMPARE(slider(dialog, "frequent_Slider")->minimum(), frequencyMin);
        QCOMPARE(slider(dialog, "frequent_Slider")->maximum(), frequencyMax);
        QCOMPARE(slider(dialog, "plus_Slider")->minimum(), pulseWidthMin);
        QCOMPARE(slider(dialog, "plus_Slider")->maximum(), pulseWidthMax);
        QCOMPARE(slider(dialog, "maxCurrent_Slider")->minimum(), 0);
        QCOMPARE(slider(dialog, "maxCurrent_Slider")->maximum(), 100);

        const QStringList sliders = {QStringLiteral("frequent_Slider"), QStringLiteral("plus_Slider"),
                                     QStringLiteral("minCurrent_Slider"), QStringLiteral("maxCurrent_Slider")};
        const QStringList buttons = {QStringLiteral("frequentMinus_Btn"), QStringLiteral("frequentPlus_Btn"),
                                     QStringLiteral("PWMMinus_Btn"), QStringLiteral("PWMPlus_Btn"),
                                     QStringLiteral("minCurrentMinus_Btn"), QStringLiteral("minCurrentPlus_Btn"),
                                     QStringLiteral("maxCurrentMinus_Btn"), QStringLiteral("maxCurrentPlus_Btn")};
        quint32 seed = 12345u + quint32(kind) * 7u + quint32(frequencyMax);
        const auto next = [&seed](int bound) {
            seed = seed * 1103515245u + 12345u;
            return int((seed >> 8) % quint32(bound));
        };

        QList<QByteArray> frames;
        dialog->show();
        for (int round = 0; round < 400; ++round) {
            switch (next(6)) {
            case 0: { // a drag that overshoots both ends of the slider
                QSlider *s = child<QSlider>(dialog, sliders.at(next(sliders.size())));
                const int from = next(700) - 100;
                drag(s, from, from + next(120) - 60);
                break;
            }
            case 1:
            case 2: { // a burst of presses on one step button
                QPushButton *b = child<QPushButton>(dialog, buttons.at(next(buttons.size())));
                for (int i = next(30); i >= 0; --i)
                    b->click();
                break;
            }
            case 3:
                child<QSlider>(dialog, sliders.at(next(sliders.size())))->setValue(next(1200) - 300);
                break;
            case 4:
                if (next(4) == 0)
                    button(dialog, "switch_Btn")->click();
                break;
            default:
                if (next(10) == 0) {
                    button(dialog, "confirm_Btn")->click();
                    dialog->show();
                }
                break;
            }
            if (round % 50 == 49)
                frames += sentFrames(30);
        }
        frames += sentFrames();
        dialog->hide();

        int currents = 0;
        int frequencies = 0;
        int pulseWidths = 0;
        for (const QByteArray &frame : frames) {
            QVERIFY(frame.size() >= 8);
            const uint8_t command = uint8_t(frame.at(2));
            const int word = frame.size() >= 9 ? (uint8_t(frame.at(5)) << 8) | uint8_t(frame.at(6)) : -1;
            if (command == FesProtocol::kCmdCurrent) {
                ++currents;
                QVERIFY2(uint8_t(frame.at(5)) <= 100, frame.toHex().constData());
            } else if (command == FesProtocol::kCmdFrequency) {
                ++frequencies;
                QVERIFY2(word >= frequencyMin && word <= frequencyMax, frame.toHex().constData());
            } else if (command == FesProtocol::kCmdPulseWidth) {
                ++pulseWidths;
                QVERIFY2(word >= pulseWidthMin && word <= pulseWidthMax, frame.toHex().constData());
            } else {
                QCOMPARE(command, FesProtocol::kCmdChannelAdjust);
            }
        }
        // the run must actually have exercised every kind of frame
        QVERIFY(currents > 20);
        QVERIFY(frequencies > 0);
        QVERIFY(pulseWidths > 0);
        const ST_ChannelParam data = dataOf(dialog);
        QVERIFY(data.frequency >= frequencyMin && data.frequency <= frequencyMax);
        QVERIFY(data.pulseWidth >= pulseWidthMin && data.pulseWidth <= pulseWidthMax);
        QVERIFY(data.minCurrent >= 0 && data.minCurrent <= 100);
        QVERIFY(data.maxCurrent >= 0 && data.maxCurrent <= 100);
    }

    // ---- confirming ----

    void confirmHandsBackTheRecord_data() { addDialogKinds(); QTest::newRow("only") << 0; QTest::newRow("cycling") << 1; }

    void confirmHandsBackTheRecord()
    {
        QFETCH(int, kind);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 6, true);
        if (auto *cycling = qobject_cast<ChannelDialog *>(dialog.get()))
            cycling->selectMuscle(24);
        whenModal([](QWidget *modal) {
            slider(modal, "frequent_Slider")->setValue(33);
            slider(modal, "plus_Slider")->setValue(260);
            drag(slider(modal, "maxCurrent_Slider"), 1, 37);
            drag(slider(modal, "minCurrent_Slider"), 1, 9);
            button(modal, "confirm_Btn")->click();
        });
        QCOMPARE(dialog->exec(), int(QDialog::Accepted));
        const QList<QByteArray> frames = sentFrames();
        QCOMPARE(frames.first(), adjustFrame(3, 2, 1));
        // the adjustment ends, then the box gets the final maximum, whatever was moved last
        QCOMPARE(frames.mid(frames.size() - 2), QList<QByteArray>({adjustFrame(3, 2, 0), currentFrame(3, 2, 37)}));
        QVERIFY(frames.contains(currentFrame(3, 2, 37)));
        QVERIFY(frames.contains(currentFrame(3, 2, 9)));
        const ST_ChannelParam data = dataOf(dialog.get());
        QCOMPARE(data.frequency, 33);
        QCOMPARE(data.pulseWidth, 260);
        QCOMPARE(data.minCurrent, 9);
        QCOMPARE(data.maxCurrent, 37);
        QCOMPARE(data.switchFlag, 1);
        if (kind == 1) {
            QCOMPARE(data.muscleId, 24);
            QCOMPARE(data.muscleName, QStringLiteral("腘绳肌"));
        }
        QCOMPARE(IceModule::getInstance()->getChannelCurrent(5), 37);
    }

    void confirmWithTheSwitchOffSendsOnlyTheFinalCurrent_data() { addDialogKinds(); QTest::newRow("only") << 0; QTest::newRow("cycling") << 1; }

    void confirmWithTheSwitchOffSendsOnlyTheFinalCurrent()
    {
        QFETCH(int, kind);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 1, false);
        if (auto *cycling = qobject_cast<ChannelDialog *>(dialog.get()))
            cycling->selectMuscle(2);
        IceModule::getInstance()->setChannelCurrent(0, 55);
        FesControlDialog::getInstance()->setMuscleState(1, false);
        whenModal([](QWidget *modal) {
            slider(modal, "maxCurrent_Slider")->setValue(25);
            button(modal, "confirm_Btn")->click();
        });
        QCOMPARE(dialog->exec(), int(QDialog::Accepted));
        QCOMPARE(sentFrames(), QList<QByteArray>({currentFrame(1, 1, 25)}));
        QCOMPARE(IceModule::getInstance()->getChannelCurrent(0), 55);
        QVERIFY(FesControlDialog::getInstance()->isMuscleOpen(1));
        QCOMPARE(dataOf(dialog.get()).switchFlag, 0);
    }

    void everyWayOutEndsTheAdjustment_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("way");
        for (int kind : {0, 1}) {
            for (const char *way : {"confirm", "confirm switched off", "escape", "reject", "close"})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(kind ? "cycling" : "only").arg(way))) << kind << way;
        }
    }

    // Every "adjust on" is followed by "adjust off" however the dialog closes; a dialog that is
    // not confirmed puts back on the box what it had when it opened.
    void everyWayOutEndsTheAdjustment()
    {
        QFETCH(int, kind);
        QFETCH(QString, way);
        const std::unique_ptr<QDialog> dialog = makeChannelDialog(kind, 3, true);
        if (auto *cycling = qobject_cast<ChannelDialog *>(dialog.get())) {
            cycling->selectMuscle(3);
            cycling->setMaxCurrentValue(20);
        } else {
            qobject_cast<ChannelOnlyDialog *>(dialog.get())->setMaxCurrentValue(20);
        }
        QVERIFY(sentFrames(20).isEmpty()); // presetting sends nothing
        whenModal([way](QWidget *modal) {
            slider(modal, "maxCurrent_Slider")->setValue(35);
            drag(slider(modal, "frequent_Slider"), 11, 40);
            if (way == QLatin1String("confirm switched off"))
                button(modal, "switch_Btn")->click();
            if (way.startsWith(QLatin1String("confirm")))
                button(modal, "confirm_Btn")->click();
            else if (way == QLatin1String("escape"))
                QTest::keyClick(modal, Qt::Key_Escape);
            else if (way == QLatin1String("reject"))
                qobject_cast<QDialog *>(modal)->reject();
            else
                modal->close();
        });
        const int result = dialog->exec();
        const QList<QByteArray> frames = sentFrames();
        QCOMPARE(frames.mid(0, 3), QList<QByteArray>({adjustFrame(2, 1, 1), currentFrame(2, 1, 35), frequencyFrame(2, 1, 40)}));
        if (way.startsWith(QLatin1String("confirm"))) {
            QCOMPARE(result, int(QDialog::Accepted));
            QCOMPARE(frames.mid(3), QList<QByteArray>({adjustFrame(2, 1, 0), currentFrame(2, 1, 35)}));
        } else {
            QCOMPARE(result, int(QDialog::Rejected));
            QCOMPARE(frames.mid(3), QList<QByteArray>({adjustFrame(2, 1, 0), currentFrame(2, 1, 20), frequencyFrame(2, 1, 10)}));
        }
    }

    void switchButtonTogglesItsPicture_data() { addDialogKinds(); QTest::newRow("only") << 0; QTest::newRow("cycling") << 1; }

    void switchButtonTogglesItsPicture()
    {
        QFETCH(int, kind);
        std::unique_ptr<QDialog> dialog = kind == 0 ? std::unique_ptr<QDialog>(new ChannelOnlyDialog)
                                                    : std::unique_ptr<QDialog>(new ChannelDialog);
        const QString on = QStringLiteral("border-image: url(:/DependFile/Source/gamePage/switchOn.png);");
        const QString off = QStringLiteral("border-image: url(:/DependFile/Source/gamePage/switchOff.png);");
        QPushButton *toggle = button(dialog.get(), "switch_Btn");
        QCOMPARE(toggle->styleSheet(), on);
        QCOMPARE(dataOf(dialog.get()).switchFlag, 1);
        toggle->click();
        QCOMPARE(toggle->styleSheet(), off);
        QCOMPARE(dataOf(dialog.get()).switchFlag, 0);
        toggle->click();
        QCOMPARE(toggle->styleSheet(), on);
        QCOMPARE(dataOf(dialog.get()).switchFlag, 1);
        QVERIFY(sentFrames(30).isEmpty());
    }

    // ---- ChannelDialog: muscles ----

    void channelDialogWithoutMuscleWarnsAndStaysOpen()
    {
        ChannelDialog dialog;
        prepare(dialog, 3, true);
        QStringList seen;
        bool stayedOpen = false;
        QList<QByteArray> framesOfConfirm;
        whenModal([&](QWidget *modal) {
            sentFrames(50); // the adjustment opened by showing
            auto closer = std::make_unique<ModalCloser>();
            button(modal, "confirm_Btn")->click();
            seen = closer->seen();
            closer.reset();
            stayedOpen = modal->isVisible();
            framesOfConfirm = sentFrames();
            qobject_cast<QDialog *>(modal)->reject();
        });
        dialog.exec();
        QCOMPARE(seen, QStringList({QStringLiteral("Warning|未选择肌肉！")}));
        QVERIFY(stayedOpen);
        QVERIFY(framesOfConfirm.isEmpty());
    }

    void muscleChoiceShowsNameAndPicture_data()
    {
        QTest::addColumn<QString>("buttonName");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("picture");
        QTest::newRow("left biceps") << "gongErL_Btn" << 1 << "肱二头肌" << "./DependFile/Image/leftMuscle/gongEr.png";
        QTest::newRow("right biceps") << "gongErR_Btn" << 16 << "肱二头肌" << "./DependFile/Image/leftMuscle/gongEr.png";
        QTest::newRow("left deltoid") << "qianSanJiaoL_Btn" << 3 << "前三角肌" << "./DependFile/Image/leftMuscle/qianSanJiao.png";
        QTest::newRow("right quadriceps") << "guSiTouR_Btn" << 30 << "股四头肌" << "./DependFile/Image/leftMuscle/guSiTou.png";
    }

    void muscleChoiceShowsNameAndPicture()
    {
        QFETCH(QString, buttonName);
        QFETCH(int, id);
        QFETCH(QString, name);
        QFETCH(QString, picture);
        ChannelDialog dialog;
        QCOMPARE(ChannelDialog::muscleImagePath(buttonName), picture);
        QTest::mouseClick(child<QPushButton>(&dialog, buttonName), Qt::LeftButton);
        QCOMPARE(dialog.getData().muscleId, id);
        QCOMPARE(dialog.getData().muscleName, name);
        QCOMPARE(label(&dialog, "muscle_Label")->text(), name);
        const QImage shown = labelImage(&dialog, "muscleImage_Label");
        QVERIFY(!shown.isNull());
        QCOMPARE(shown, QPixmap(picture).toImage());
    }

    void selectMuscleChecksAndChooses()
    {
        ChannelDialog dialog;
        dialog.selectMuscle(20);
        QVERIFY(button(&dialog, "quWanR_Btn")->isChecked());
        QCOMPARE(dialog.getData().muscleId, 20);
        QCOMPARE(dialog.getData().muscleName, QStringLiteral("屈腕肌"));
        QCOMPARE(labelImage(&dialog, "muscleImage_Label"), QPixmap(QStringLiteral("./DependFile/Image/leftMuscle/quWan.png")).toImage());
        for (int ignored : {0, 31, -1}) {
            dialog.selectMuscle(ignored);
            QCOMPARE(dialog.getData().muscleId, 20);
            QVERIFY(button(&dialog, "quWanR_Btn")->isChecked());
        }
        dialog.selectMuscle(9);
        QVERIFY(button(&dialog, "guoShengL_Btn")->isChecked());
        QVERIFY(!button(&dialog, "quWanR_Btn")->isChecked());
        QCOMPARE(dialog.getData().muscleId, 9);
    }

    void thirtyMuscleButtonsWithTheirIds()
    {
        ChannelDialog dialog;
        QButtonGroup *group = dialog.findChild<QButtonGroup *>(QStringLiteral("muscle_ButtonGroup"));
        QVERIFY(group->exclusive());
        QCOMPARE(group->buttons().size(), 30);
        for (int i = 0; i < 15; ++i) {
            const QString stem = QLatin1String(kStems[i]);
            QPushButton *left = button(&dialog, qPrintable(stem + QStringLiteral("L_Btn")));
            QPushButton *right = button(&dialog, qPrintable(stem + QStringLiteral("R_Btn")));
            QVERIFY(left && right);
            QVERIFY(left->isCheckable() && right->isCheckable());
            QCOMPARE(group->id(left), i + 1);
            QCOMPARE(group->id(right), i + 16);
            QCOMPARE(left->text(), QString::fromUtf8(kMuscleNames[i]));
            QCOMPARE(right->text(), QString::fromUtf8(kMuscleNames[i]));
            // big enough for a gloved finger
            QVERIFY(left->minimumSizeHint().height() >= 60 || left->minimumHeight() >= 60);
        }
    }

    void runningLeavesOnlyMaximumCurrentAndSwitch()
    {
        ChannelDialog dialog;
        dialog.show();
        const QStringList locked = {
            QStringLiteral("frequent_Slider"), QStringLiteral("frequentMinus_Btn"), QStringLiteral("frequentPlus_Btn"),
            QStringLiteral("plus_Slider"), QStringLiteral("PWMMinus_Btn"), QStringLiteral("PWMPlus_Btn"),
            QStringLiteral("minCurrent_Slider"), QStringLiteral("minCurrentMinus_Btn"), QStringLiteral("minCurrentPlus_Btn")};
        const QStringList usable = {QStringLiteral("maxCurrent_Slider"), QStringLiteral("maxCurrentMinus_Btn"),
                                    QStringLiteral("maxCurrentPlus_Btn"), QStringLiteral("switch_Btn"),
                                    QStringLiteral("confirm_Btn")};
        dialog.setRunning(true);
        for (QAbstractButton *muscle : dialog.findChild<QButtonGroup *>(QStringLiteral("muscle_ButtonGroup"))->buttons())
            QVERIFY2(!muscle->isEnabled(), qPrintable(muscle->objectName()));
        for (const QString &name : locked)
            QVERIFY2(!child<QWidget>(&dialog, name)->isEnabled(), qPrintable(name));
        for (const QString &name : usable)
            QVERIFY2(child<QWidget>(&dialog, name)->isEnabled(), qPrintable(name));
        dialog.setRunning(false);
        for (QAbstractButton *muscle : dialog.findChild<QButtonGroup *>(QStringLiteral("muscle_ButtonGroup"))->buttons())
            QVERIFY(muscle->isEnabled());
        for (const QString &name : locked + usable)
            QVERIFY2(child<QWidget>(&dialog, name)->isEnabled(), qPrintable(name));
        dialog.hide();
        sentFrames(20);
    }

    void touchTargetsAreLarge()
    {
        ChannelDialog dialog;
        dialog.show();
        for (const char *name : {"frequentMinus_Btn", "frequentPlus_Btn", "PWMMinus_Btn", "PWMPlus_Btn",
                                 "minCurrentMinus_Btn", "minCurrentPlus_Btn", "maxCurrentMinus_Btn", "maxCurrentPlus_Btn"}) {
            QVERIFY2(button(&dialog, name)->width() >= 64, name);
            QVERIFY2(button(&dialog, name)->height() >= 64, name);
        }
        QVERIFY(slider(&dialog, "maxCurrent_Slider")->height() >= 48);
        dialog.hide();
        sentFrames(20);
    }

    void languageChangeKeepsTheChannelTitle()
    {
        ChannelDialog dialog;
        dialog.setTitle(6);
        dialog.selectMuscle(4);
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&dialog, &change);
        QCOMPARE(label(&dialog, "title_Label")->text(), QStringLiteral("通道C2"));
        QCOMPARE(label(&dialog, "muscle_Label")->text(), QStringLiteral("后三角肌"));
        QCOMPARE(button(&dialog, "confirm_Btn")->text(), QStringLiteral("确认"));
        ChannelOnlyDialog only;
        only.setTitle(1);
        QApplication::sendEvent(&only, &change);
        QCOMPARE(label(&only, "title_Label")->text(), QStringLiteral("通道A1"));
    }
};

QTEST_MAIN(TestFesDialogs)
#include "tst_fesdialogs.moc"
