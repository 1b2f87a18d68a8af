#include "app/configmanager.h"
#include "app/languagemanager.h"
#include "comm/ccommunicateapi.h"
#include "common/loopbacktrainer.h"
#include "common/testworkdir.h"
#include "shell/mainwindowpagecontrol.h"
#include "training/advanceddialog.h"
#include "training/icemodule.h"
#include "training/paramtipsdialog.h"
#include "training/trainingparamsetting.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

// What a test does to the page before it looks at the result.
using PageSteps = std::function<void(TrainingParamSetting *page)>;
Q_DECLARE_METATYPE(PageSteps)

// The training parameter page: the record its save packs and where it returns, received records,
// the protection switch, the over-30 question, the show and reset rules and the height buttons on
// a loopback UDP trainer; the advanced dialog's kept values; both fit the screen in either language.
class TestParamsPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<LoopbackTrainer> m_trainer;
    std::unique_ptr<TrainingParamSetting> m_page;

    template<typename T = QPushButton>
    T *child(const QString &name, QObject *parent = nullptr) const
    {
        T *found = (parent ? parent : m_page.get())->findChild<T *>(name);
        if (!found)
            qWarning("no child %s", qPrintable(name));
        return found;
    }
    QComboBox *box(const char *name) const { return child<QComboBox>(QLatin1String(name)); }
    QString boxText(const char *name) const { return box(name)->currentText(); }

    // Saves and returns the record the page emitted, as bytes.
    QByteArray save()
    {
        QSignalSpy saved(m_page.get(), &TrainingParamSetting::signalTrainParamChanged);
        child(QStringLiteral("confirm_Btn"))->click();
        if (saved.count() != 1)
            return {};
        const auto record = saved.first().first().value<ST_BicycleParam>();
        return QByteArray(reinterpret_cast<const char *>(&record), sizeof record);
    }
    static QByteArray bytes(const QByteArray &record, std::initializer_list<int> offsets)
    {
        QByteArray picked;
        for (int offset : offsets)
            picked += record.mid(offset, 1);
        return picked;
    }
    // The checked one of the given buttons by name, or empty.
    QString checked(const QStringList &names) const
    {
        for (const QString &name : names) {
            if (child(name)->isChecked())
                return name;
        }
        return QString();
    }
    QString checkedLevel() const
    {
        return checked({QStringLiteral("spasmLow1_Button"), QStringLiteral("spasmMidd1_Button"),
                        QStringLiteral("spasmHigh1_Button")});
    }
    void reshow()
    {
        m_page->hide();
        m_page->show();
    }
    static ST_BicycleParam record(int time, int resistance, int speed, int direction, int protect, int level)
    {
        ST_BicycleParam param;
        param.trainTime = uint8_t(time);
        param.trainResistance = uint8_t(resistance);
        param.trainSpeed = uint8_t(speed);
        param.trainDirection = uint8_t(direction);
        param.spasmProtect = uint8_t(protect);
        param.spasmLevel = uint8_t(level);
        return param;
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        Q_INIT_RESOURCE(resources);
        qRegisterMetaType<ST_BicycleParam>();
        m_dir = std::make_unique<TestWorkDir>();
        QVERIFY(m_dir->isValid());
        for (const char *qm : {"Rotaflex_CN.qm", "Rotaflex_EN.qm"})
            QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_RUN_DIR "/") + QLatin1String(qm), m_dir->filePath(QLatin1String(qm))));
        m_trainer = std::make_unique<LoopbackTrainer>();
        QVERIFY(m_trainer->isBound());
        QVERIFY(m_dir->write(QStringLiteral("DependFile/ConfigFile/config.xml"), m_trainer->configXml().toUtf8()));
        QVERIFY(ConfigManager::getInstance()->readConfigFile());
        QCOMPARE(CCommunicateAPI::getInstance()->communicateType(), int(CCommunicateAPI::Udp));
    }

    void init()
    {
        IceModule::getInstance()->setEmergencyState(0);
        MainWindowPageControl::getInstance()->setCurrentPageQuiet(TrainParamPage_E);
        m_page = std::make_unique<TrainingParamSetting>();
        m_page->show();
    }

    void cleanup() { m_page.reset(); }

    void saving_data()
    {
        QTest::addColumn<bool>("fes");
        QTest::addColumn<PageSteps>("steps");
        QTest::addColumn<QByteArray>("expected"); // bytes 3, 4, 8, 9, 10, 12
        QTest::addColumn<int>("page");
        const PageSteps none = [](TrainingParamSetting *) {};
        // Catches defaults that differ from protection on, low, forward, 10 r/min, level 5, 20 min.
        QTest::newRow("defaults") << false << none << QByteArray::fromHex("01 01 01 0a 05 14") << int(BicycleModePage_E);
        // Catches a save from the FES variant that returns to the plain mode page.
        QTest::newRow("defaults from the FES variant") << true << none << QByteArray::fromHex("01 01 01 0a 05 14")
                                                       << int(FesBicycleModePage_E);
        // Catches fields packed from the wrong control or at the wrong offset.
        QTest::newRow("choices") << false << PageSteps([](TrainingParamSetting *page) {
            page->findChild<QComboBox *>(QStringLiteral("trainTime1_ComboBox"))->setCurrentText(QStringLiteral("45"));
            page->findChild<QComboBox *>(QStringLiteral("resistance1_ComboBox"))->setCurrentText(QStringLiteral("12"));
            page->findChild<QComboBox *>(QStringLiteral("speed1_ComboBox"))->setCurrentText(QStringLiteral("25"));
            page->findChild<QPushButton *>(QStringLiteral("ACW1_Button"))->click();
            page->findChild<QPushButton *>(QStringLiteral("spasmHigh1_Button"))->click();
        }) << QByteArray::fromHex("01 03 00 19 0c 2d") << int(BicycleModePage_E);
        // Catches protection off losing the level: byte 3 is 0 and byte 4 the level saved before.
        QTest::newRow("protection off keeps the level") << false << PageSteps([](TrainingParamSetting *page) {
            page->findChild<QPushButton *>(QStringLiteral("spasmHigh1_Button"))->click();
            page->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
            page->findChild<QPushButton *>(QStringLiteral("spasmClose1_Button"))->click();
        }) << QByteArray::fromHex("00 03 01 0a 05 14") << int(BicycleModePage_E);
    }

    void saving()
    {
        QFETCH(bool, fes);
        QFETCH(PageSteps, steps);
        m_page->setFesFlag(fes);
        steps(m_page.get());
        QTEST(bytes(save(), {3, 4, 8, 9, 10, 12}), "expected");
        QTEST(int(MainWindowPageControl::getInstance()->getCurrentPage()), "page");
        QCOMPARE(m_page->bicycleParam().trainSpeed, uint8_t(boxText("speed1_ComboBox").toInt()));
    }

    // Off: no level can be chosen and the switch shows its off picture. On again: the middle
    // level is checked and the only one styled as selected.
    void protectionSwitch()
    {
        auto *protect = child(QStringLiteral("spasmClose1_Button"));
        protect->click();
        QVERIFY(!protect->isChecked());
        QVERIFY(protect->styleSheet().contains(QLatin1String("protect_off.png")));
        QCOMPARE(checkedLevel(), QString());
        child(QStringLiteral("spasmHigh1_Button"))->click();
        QCOMPARE(checkedLevel(), QString());

        protect->click();
        QVERIFY(protect->styleSheet().contains(QLatin1String("protect_on.png")));
        QCOMPARE(checkedLevel(), QStringLiteral("spasmMidd1_Button"));
        for (const char *name : {"spasmLow1_Button", "spasmMidd1_Button", "spasmHigh1_Button"}) {
            auto *level = child(QLatin1String(name));
            QVERIFY(level->isEnabled());
            QCOMPARE(level->styleSheet().contains(QLatin1String("#05A6EC")), level->isChecked());
        }
        QCOMPARE(bytes(save(), {3, 4}), QByteArray::fromHex("01 02"));
    }

    void receivedRecords_data()
    {
        QTest::addColumn<bool>("protectionOffBefore");
        QTest::addColumn<ST_BicycleParam>("received");
        QTest::addColumn<QStringList>("texts"); // time, resistance, speed
        QTest::addColumn<QString>("direction");
        QTest::addColumn<bool>("protection");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QByteArray>("saved"); // bytes 3, 4, 8, 9, 10, 12
        // Catches a received prescription shown on the wrong controls.
        QTest::newRow("prescription") << false << record(45, 12, 25, 0, 1, 3) << QStringList{"45", "12", "25"}
                                      << "ACW1_Button" << true << "spasmHigh1_Button"
                                      << QByteArray::fromHex("01 03 00 19 0c 2d");
        // Catches a speed below the first item leaving the box empty.
        QTest::newRow("speed 1") << false << record(20, 5, 1, 1, 1, 1) << QStringList{"20", "5", "2"}
                                 << "CW1_Button" << true << "spasmLow1_Button"
                                 << QByteArray::fromHex("01 01 01 02 05 14");
        // Catches values beyond the last items leaving the boxes empty, which saves zeros.
        QTest::newRow("beyond the items") << false << record(0, 30, 200, 1, 1, 2) << QStringList{"1", "20", "55"}
                                          << "CW1_Button" << true << "spasmMidd1_Button"
                                          << QByteArray::fromHex("01 02 01 37 14 01");
        // Catches the received level lost when the record switches protection off.
        QTest::newRow("protection off") << false << record(20, 5, 10, 1, 0, 3) << QStringList{"20", "5", "10"}
                                        << "CW1_Button" << false << QString()
                                        << QByteArray::fromHex("00 03 01 0a 05 14");
        // Catches switching protection on after the level, which replaces the record's level by middle.
        QTest::newRow("protection switched on") << true << record(20, 5, 10, 1, 1, 3) << QStringList{"20", "5", "10"}
                                                << "CW1_Button" << true << "spasmHigh1_Button"
                                                << QByteArray::fromHex("01 03 01 0a 05 14");
        // Catches a received speed above 30 asking again what the prescription already holds.
        QTest::newRow("speed above 30") << false << record(20, 5, 40, 1, 1, 1) << QStringList{"20", "5", "40"}
                                        << "CW1_Button" << true << "spasmLow1_Button"
                                        << QByteArray::fromHex("01 01 01 28 05 14");
    }

    // Shown at once and still after the next showing of the page; the save carries them.
    void receivedRecords()
    {
        QFETCH(bool, protectionOffBefore);
        QFETCH(ST_BicycleParam, received);
        QFETCH(QStringList, texts);
        if (protectionOffBefore)
            child(QStringLiteral("spasmClose1_Button"))->click();
        m_page->hide();
        m_page->slotBicycleParamChanged(received);
        m_page->show();
        reshow();
        QCOMPARE(m_page->speedQuestion(), nullptr);
        QCOMPARE((QStringList{boxText("trainTime1_ComboBox"), boxText("resistance1_ComboBox"), boxText("speed1_ComboBox")}),
                 texts);
        QTEST(checked({QStringLiteral("CW1_Button"), QStringLiteral("ACW1_Button")}), "direction");
        QTEST(child(QStringLiteral("spasmClose1_Button"))->isChecked(), "protection");
        QTEST(checkedLevel(), "level");
        QTEST(bytes(save(), {3, 4, 8, 9, 10, 12}), "saved");
    }

    void showingAndReset_data()
    {
        QTest::addColumn<PageSteps>("steps");
        QTest::addColumn<QString>("time"); // after the page is shown again
        // Catches values left over from an unsaved visit.
        QTest::newRow("not saved") << PageSteps([](TrainingParamSetting *) {}) << "20";
        // Catches saved values lost on the way to the mode page and back.
        QTest::newRow("saved") << PageSteps([](TrainingParamSetting *page) { page->on_confirm_Btn_clicked(); }) << "60";
        // Catches a reset by the function choice page that the next showing undoes.
        QTest::newRow("saved, then reset") << PageSteps([](TrainingParamSetting *page) {
            page->on_confirm_Btn_clicked();
            page->slotResetParam();
        }) << "20";
    }

    void showingAndReset()
    {
        QFETCH(PageSteps, steps);
        box("trainTime1_ComboBox")->setCurrentText(QStringLiteral("60"));
        child(QStringLiteral("ACW1_Button"))->click();
        steps(m_page.get());
        reshow();
        QTEST(boxText("trainTime1_ComboBox"), "time");
        QCOMPARE(child(QStringLiteral("CW1_Button"))->isChecked(), boxText("trainTime1_ComboBox") == QLatin1String("20"));
    }

    void overThirtyQuestion_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<int>("answer"); // -1: no question expected
        QTest::addColumn<bool>("receivedMeanwhile");
        QTest::addColumn<QString>("shown");
        // Catches a declined speed that stays selected.
        QTest::newRow("31 declined") << "31" << 0 << false << "30";
        // Catches a confirmed speed that is taken back.
        QTest::newRow("31 confirmed") << "31" << 1 << false << "31";
        // Catches a question at 30 r/min, which needs none.
        QTest::newRow("30") << "30" << -1 << false << "30";
        // Catches a late decline undoing a record that arrived while the question was open.
        QTest::newRow("declined after a record") << "45" << 0 << true << "12";
    }

    // The question opens without a nested event loop: the choice returns with it open, and its
    // answer arrives by signal.
    void overThirtyQuestion()
    {
        QFETCH(QString, speed);
        QFETCH(int, answer);
        QFETCH(bool, receivedMeanwhile);
        box("speed1_ComboBox")->setCurrentText(speed);
        ParamTipsDialog *question = m_page->speedQuestion();
        QCOMPARE(question != nullptr, answer >= 0);
        if (question) {
            QVERIFY(question->isVisible());
            QVERIFY(question->isModal());
            QVERIFY(child<QLabel>(QStringLiteral("tipMsg_Label"), question)->text().contains(QLatin1String("30r/min")));
            if (receivedMeanwhile)
                m_page->slotBicycleParamChanged(record(20, 5, 12, 1, 1, 1));
            if (answer == 1)
                question->on_confirm_Btn_clicked();
            else
                question->on_cancel_Btn_clicked();
            QTRY_COMPARE(m_page->speedQuestion(), nullptr);
        }
        QTEST(boxText("speed1_ComboBox"), "shown");
    }

    void heightButtons_data() { addHeightButtonRows(QStringLiteral("upSpeedPlus_Btn"), QStringLiteral("upSpeedMinus_Btn")); }

    // One tap sends once: nothing repeats and nothing goes out on release.
    void heightButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, emergency);
        QFETCH(QByteArray, payload);
        m_trainer->payloads(20);
        IceModule::getInstance()->setEmergencyState(emergency);
        child(button)->click();
        QCOMPARE(m_trainer->payloads(), payload.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{payload});
    }

    // Confirm keeps every box's number and both switches; cancel keeps the previous values, and
    // each opening shows the kept ones. Confirming untouched defaults changes nothing.
    void advancedDialogKeepsItsValues()
    {
        AdvancedDialog dialog;
        const ST_AdvancedParam defaults = dialog.settings();
        auto combo = [&dialog](const AdvancedDialog::NumberBox &box) {
            return dialog.findChild<QComboBox *>(QLatin1String(box.name));
        };
        dialog.open();
        dialog.on_confirm_Btn_clicked();
        QVERIFY(!dialog.isVisible());
        for (const auto &box : AdvancedDialog::numberBoxes())
            QVERIFY2(dialog.settings().*box.field == defaults.*box.field, box.name);

        dialog.open();
        for (const auto &box : AdvancedDialog::numberBoxes())
            combo(box)->setCurrentIndex(combo(box)->count() - 1);
        child(QStringLiteral("skipPassive_Btn"), &dialog)->click();
        child(QStringLiteral("preheatFesSwitch_Btn"), &dialog)->click();
        QVERIFY(child(QStringLiteral("skipPassive_Btn"), &dialog)->styleSheet().contains(QLatin1String("switchOn.png")));
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.on_confirm_Btn_clicked();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), int(QDialog::Accepted));
        for (const auto &box : AdvancedDialog::numberBoxes())
            QVERIFY2(dialog.settings().*box.field == box.last, box.name);
        QCOMPARE(dialog.settings().skipPassive, 1);
        QCOMPARE(dialog.settings().preheatFesSwitch, 1);

        dialog.open();
        for (const auto &box : AdvancedDialog::numberBoxes())
            combo(box)->setCurrentIndex(0);
        child(QStringLiteral("skipPassive_Btn"), &dialog)->click();
        dialog.on_cancel_Btn_clicked();
        QCOMPARE(dialog.settings().skipPassive, 1);
        dialog.open();
        for (const auto &box : AdvancedDialog::numberBoxes()) {
            QVERIFY2(dialog.settings().*box.field == box.last, box.name);
            QCOMPARE(combo(box)->currentText(), QString::number(box.last));
        }
        QVERIFY(child(QStringLiteral("skipPassive_Btn"), &dialog)->styleSheet().contains(QLatin1String("switchOn.png")));
        dialog.on_cancel_Btn_clicked();
    }

    void fitTheScreen_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("Chinese") << int(Chinese_E);
        // Catches English captions that push the page or the dialog off the screen.
        QTest::newRow("English") << int(English_E);
    }

    void fitTheScreen()
    {
        QFETCH(int, language);
        LanguageManager::getInstance()->showLanguage(E_LANGUAGE(language));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        AdvancedDialog dialog;
        const QSize panel = child<QFrame>(QStringLiteral("panel_Frame"), &dialog)->minimumSizeHint();
        const QSize page = m_page->minimumSizeHint();
        LanguageManager::getInstance()->showLanguage(Chinese_E);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QVERIFY2(panel.width() <= 1920 && panel.height() <= 1080, qPrintable(QStringLiteral("%1x%2").arg(panel.width()).arg(panel.height())));
        QVERIFY2(page.width() <= 1920 && page.height() <= 980, qPrintable(QStringLiteral("%1x%2").arg(page.width()).arg(page.height())));
    }
};

QTEST_MAIN(TestParamsPage)
#include "tst_paramspage.moc"
