#include "common/shellsetup.h"
#include "common/feslinkpty.h"
#include "common/modalcloser.h"
#include "common/simprocess.h"
#include "common/testdatabase.h"
#include "common/udptrainer.h"
#include "database/cdatabaseinterface.h"
#include "database/trainparam.h"
#include "game/gamecontrol.h"
#include "reports/reportdialogbase.h"
#include "shell/cmainwindow.h"
#include "shell/mainwindowpagecontrol.h"
#include "training/armorleg.h"
#include "training/gamedisplaypage.h"
#include "training/horizontaltoverticaldialog.h"
#include "training/icemodule.h"
#include "training/machinestartdialog.h"
#include "training/paramtipsdialog.h"
#include "training/prescriptiondialog.h"
#include "training/protectgamestart.h"
#include "training/trainingparamsetting.h"
#include "training/verticaltohorizondialog.h"
#include "users/currentuserdata.h"

#include <QComboBox>
#include <QMediaPlayer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

QByteArray bytesOf(const ST_BicycleParam &param)
{
    return QByteArray(reinterpret_cast<const char *>(&param), int(sizeof param));
}

QByteArray hexBytes(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

ST_BicycleParam received(int time, int speed, int resistance, int direction, int protect, int level)
{
    ST_BicycleParam p;
    p.trainTime = uint8_t(time);
    p.trainSpeed = uint8_t(speed);
    p.trainResistance = uint8_t(resistance);
    p.trainDirection = uint8_t(direction);
    p.spasmProtect = uint8_t(protect);
    p.spasmLevel = uint8_t(level);
    return p;
}

} // namespace

// The mode selection page on its own (choice, import, start, prompts), then the road from the
// function choice page to a running training in the real main window against the simulated
// trainer as a process over loopback UDP.
class TestModePage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<SimProcess> m_trainer;
    std::unique_ptr<ArmOrLeg> m_page;

    template<typename T>
    T *child(const char *name) const
    {
        T *found = m_page->findChild<T *>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    QPushButton *button(const QString &name) const { return child<QPushButton>(qPrintable(name)); }
    template<typename T>
    T *dialog() const { return m_page->findChild<T *>(); }
    void reshow()
    {
        m_page->hide();
        m_page->show();
    }
    // Asks for a start and confirms the position prompt that comes up for the limb, if any.
    void startConfirmed(bool fes = false)
    {
        if (fes)
            m_page->slotStartGame();
        else
            m_page->on_confirm_Btn_clicked();
        if (dialog<VerticalToHorizonDialog>()->isVisible())
            dialog<VerticalToHorizonDialog>()->on_confirm_Btn_clicked();
        else if (dialog<HorizontalToVerticalDialog>()->isVisible())
            dialog<HorizontalToVerticalDialog>()->on_confirm_Btn_clicked();
    }
    static bool storePrescription(const ST_TrainParam &param)
    {
        CDatabaseInterface *db = CDatabaseInterface::getInstance();
        return db->deleteRowTable(QStringLiteral("TrainParamTable"), QStringLiteral("ID"), QString::number(param.ID))
               && db->insertRowTable(QStringLiteral("TrainParamTable"), TrainParamToVariantMap(param));
    }
    static int patient() { return int(CurrentUserData::getInstance()->getCurrentPatientMsg().ID); }
    static QList<int> fields(const ST_TrainParam &p)
    {
        return {p.ID, p.trainLimp, p.trainMode, p.trainTime, p.trainResistance, p.trainSpeed, p.trainDirection,
                p.spasmProtect, p.spasmLevel, p.gameID};
    }
    // The simulated trainer's motor, from its status line.
    bool motorStopped()
    {
        const int before = m_trainer->countLines(QStringLiteral("status:"));
        m_trainer->type(QStringLiteral("status"));
        if (!QTest::qWaitFor([&] { return m_trainer->countLines(QStringLiteral("status:")) > before; }, 3000))
            return false;
        const QStringList status = m_trainer->lines().filter(QStringLiteral("status:"));
        return status.last().contains(QStringLiteral("state=stopped")) && status.last().contains(QStringLiteral(" upper=0 lower=0 "));
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        Q_INIT_RESOURCE(resources);
        QVERIFY(openFreshDatabase(m_dir));
        QVERIFY(catalogueDemoGame(*m_dir));
        // The trainer is up before anything reaches the link, which reads the configuration once.
        m_trainer = std::make_unique<SimProcess>(QStringLiteral(TRAINER_SIM));
        QVERIFY2(startUdpTrainer(*m_trainer, *m_dir), qPrintable(m_trainer->output()));
        GameControl::getInstance()->player()->setMuted(true);
    }

    void cleanupTestCase() { m_trainer.reset(); }

    void init()
    {
        CurrentUserData::getInstance()->setCurrentUserMsg(CurrentUserData::defaultPatient());
        m_page = std::make_unique<ArmOrLeg>();
        m_page->show();
    }

    void cleanup() { m_page.reset(); }

    void startHandsOnTheRecord_data()
    {
        QTest::addColumn<QString>("limb");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("received");
        QTest::addColumn<QByteArray>("record");
        // Catches the two-limb passive code: upper and lower limb with passive is 4, not 0.
        QTest::newRow("upper and lower, passive") << "upDownLimp_Button" << "passive1_Button" << false
                                                  << hexBytes("00 02 04 01 02 00 00 00 01 0a 05 00 14");
        // Catches the two-limb active/passive code 7.
        QTest::newRow("upper and lower, active/passive") << "upDownLimp_Button" << "activePassive1_Button" << false
                                                         << hexBytes("00 02 07 01 02 00 00 00 01 0a 05 00 14");
        // Catches the single-limb active/passive code 10, and a record without the page's own
        // defaults (20 min, 10 r/min, resistance 5, forward, protection on, level 2).
        QTest::newRow("horizontal, active/passive") << "upLimp_Button" << "activePassive1_Button" << false
                                                    << hexBytes("00 00 0a 01 02 00 00 00 01 0a 05 00 14");
        // Catches received parameters missing from the record, or the received record's other
        // bytes (command, torque, spasm direction) leaking into it.
        QTest::newRow("vertical, active, received") << "verticalUpLimp_Button" << "active1_Button" << true
                                                    << hexBytes("00 03 01 00 03 00 00 00 00 0c 07 00 05");
    }

    void startHandsOnTheRecord()
    {
        QFETCH(QString, limb);
        QFETCH(QString, mode);
        QFETCH(bool, received);
        QFETCH(QByteArray, record);
        if (received) {
            ST_BicycleParam sent = ::received(5, 12, 7, 0, 0, 3);
            sent.controlState = 3;
            sent.torqueLevel = 2;
            sent.spasmDirection = 1;
            m_page->slotRecvTrainParamChanged(sent);
        }
        button(limb)->setChecked(true);
        button(mode)->setChecked(true);
        QSignalSpy records(IceModule::getInstance(), &IceModule::signalSetBicycleParam);
        startConfirmed();
        QCOMPARE(records.count(), 1);
        QCOMPARE(bytesOf(records.at(0).at(0).value<ST_BicycleParam>()).toHex(' '), record.toHex(' '));
        QCOMPARE(IceModule::getInstance()->getGameType(), 1);

        const int game = limb == QLatin1String("verticalUpLimp_Button") ? 4 : 1;
        QCOMPARE(GameControl::getInstance()->getCurrentGameID(), game);
        QCOMPARE(fields(GameControl::getInstance()->getTrainParam()),
                 (QList<int>{patient(), record.at(1), record.at(2), record.at(12), record.at(10), record.at(9),
                             record.at(8), record.at(3), record.at(4), game}));
    }

    // Catches a second start while the position prompt is open or after a start, a declined
    // prompt that blocks the next try, a start within 3 s of the last one, and a loading dialog
    // that stays up or blocks.
    void startsOncePerShowing()
    {
        QSignalSpy records(IceModule::getInstance(), &IceModule::signalSetBicycleParam);
        auto *prompt = dialog<VerticalToHorizonDialog>();
        m_page->on_confirm_Btn_clicked();
        QVERIFY2(prompt->isVisible(), "the position prompt is open and the start returned");
        m_page->on_confirm_Btn_clicked();
        prompt->on_cancel_Btn_clicked();
        QCOMPARE(records.count(), 0);

        startConfirmed();
        QCOMPARE(records.count(), 1);
        QVERIFY(dialog<ProtectGameStart>()->isVisible());
        QCOMPARE(int(MainWindowPageControl::getInstance()->getCurrentPage()), int(TrainingPage_E));
        startConfirmed();
        QCOMPARE(records.count(), 1);

        auto *lock = child<QTimer>("startLockTimer");
        QCOMPARE(lock->interval(), 3000);
        reshow();
        startConfirmed();
        QCOMPARE(records.count(), 1);
        lock->setInterval(1);
        QTRY_VERIFY(!lock->isActive());
        reshow();
        startConfirmed();
        QCOMPARE(records.count(), 2);

        auto *loading = child<QTimer>("loadingTimer");
        QCOMPARE(loading->interval(), 5000);
        QVERIFY(loading->isActive());
        loading->setInterval(1);
        QTRY_VERIFY(!dialog<ProtectGameStart>()->isVisible());
    }

    // Catches arrows that step the wrong way, that change the vertical crank's game, or a fourth
    // game left behind when the vertical limb is left.
    void verticalLimbHoldsTheFourthGame()
    {
        QList<int> seen;
        for (int i = 0; i < 3; ++i) {
            m_page->on_forward_Btn_clicked();
            seen << m_page->gameIndex();
        }
        for (int i = 0; i < 3; ++i) {
            m_page->on_backward_Btn_clicked();
            seen << m_page->gameIndex();
        }
        QCOMPARE(seen, (QList<int>{1, 2, 0, 2, 1, 0}));
        button(QStringLiteral("verticalUpLimp_Button"))->click();
        QCOMPARE(m_page->gameIndex(), 3);
        m_page->on_forward_Btn_clicked();
        m_page->on_backward_Btn_clicked();
        QCOMPARE(m_page->gameIndex(), 3);
        QVERIFY(child<QPushButton>("forward_Btn")->styleSheet().contains(QStringLiteral("right_forbid.png")));
        button(QStringLiteral("upLimp_Button"))->click();
        QCOMPARE(m_page->gameIndex(), 0);
        QVERIFY(child<QPushButton>("gameDisplay_Btn")->styleSheet().contains(QStringLiteral("game1.png")));
    }

    void importChecksEachValue_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("limb");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("game");
        QTest::addColumn<QList<int>>("kept"); // time, resistance, speed, direction, protection, level
        QTest::addColumn<QString>("logged");
        const QList<int> asStored{30, 8, 15, 0, 0, 3};
        // Catches mode 4 not checking passive, and game ID 2 not selecting the second game.
        QTest::newRow("in range") << "" << 0 << "upLimp_Button" << "passive1_Button" << 1 << asStored << "";
        // One row per field: catches a stored value outside the page's ranges reaching the page
        // or the trainer instead of the page's default.
        QTest::newRow("limb 9") << "trainLimp" << 9 << "upLimp_Button" << "passive1_Button" << 1 << asStored
                                << "导入处方：trainLimp = 9 超出范围，改用 0";
        QTest::newRow("mode 99") << "trainMode" << 99 << "upLimp_Button" << "activePassive1_Button" << 1 << asStored
                                 << "导入处方：trainMode = 99 超出范围，改用 10";
        QTest::newRow("time 0") << "trainTime" << 0 << "upLimp_Button" << "passive1_Button" << 1
                                << QList<int>{20, 8, 15, 0, 0, 3} << "导入处方：trainTime = 0 超出范围，改用 20";
        QTest::newRow("resistance 21") << "trainResistance" << 21 << "upLimp_Button" << "passive1_Button" << 1
                                       << QList<int>{30, 5, 15, 0, 0, 3} << "导入处方：trainResistance = 21 超出范围，改用 5";
        QTest::newRow("speed 200") << "trainSpeed" << 200 << "upLimp_Button" << "passive1_Button" << 1
                                   << QList<int>{30, 8, 10, 0, 0, 3} << "导入处方：trainSpeed = 200 超出范围，改用 10";
        QTest::newRow("direction 2") << "trainDirection" << 2 << "upLimp_Button" << "passive1_Button" << 1
                                     << QList<int>{30, 8, 15, 1, 0, 3} << "导入处方：trainDirection = 2 超出范围，改用 1";
        QTest::newRow("protection -1") << "spasmProtect" << -1 << "upLimp_Button" << "passive1_Button" << 1
                                       << QList<int>{30, 8, 15, 0, 1, 3} << "导入处方：spasmProtect = -1 超出范围，改用 1";
        QTest::newRow("level 7") << "spasmLevel" << 7 << "upLimp_Button" << "passive1_Button" << 1
                                 << QList<int>{30, 8, 15, 0, 0, 2} << "导入处方：spasmLevel = 7 超出范围，改用 2";
        QTest::newRow("game 7") << "gameID" << 7 << "upLimp_Button" << "passive1_Button" << 0 << asStored
                                << "导入处方：gameID = 7 超出范围，改用 1";
        // Catches a limb the plain variant does not show being checked out of sight.
        QTest::newRow("limb 2 not shown") << "trainLimp" << 2 << "upLimp_Button" << "passive1_Button" << 1 << asStored
                                          << "导入处方：trainLimp = 2 本页不可选，改用 0";
    }

    void importChecksEachValue()
    {
        QFETCH(QString, field);
        QFETCH(int, stored);
        QFETCH(QString, limb);
        QFETCH(QString, mode);
        QFETCH(int, game);
        QFETCH(QList<int>, kept);
        QFETCH(QString, logged);
        QVariantMap row = TrainParamToVariantMap({patient(), 0, 4, 30, 8, 15, 0, 0, 3, 2});
        if (!field.isEmpty())
            row.insert(field, stored);
        QVERIFY(storePrescription(variantMapToTrainParam(row)));
        if (!logged.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(logged));
        QSignalSpy shown(m_page.get(), &ArmOrLeg::signalBicycleParamChanged);
        m_page->on_importPrescription_Btn_clicked();

        QVERIFY(button(limb)->isChecked());
        QVERIFY(button(mode)->isChecked());
        QCOMPARE(m_page->gameIndex(), game);
        const ST_BicycleParam p = m_page->keptParam();
        QCOMPARE((QList<int>{p.trainTime, p.trainResistance, p.trainSpeed, p.trainDirection, p.spasmProtect, p.spasmLevel}),
                 kept);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(bytesOf(shown.at(0).at(0).value<ST_BicycleParam>()), bytesOf(p));
    }

    // Catches an import without a stored prescription changing the choice instead of saying so.
    void importWithoutPrescriptionSaysSo()
    {
        QVERIFY(CDatabaseInterface::getInstance()->deleteRowTable(QStringLiteral("TrainParamTable"), QStringLiteral("ID"),
                                                                   QString::number(patient())));
        button(QStringLiteral("passive1_Button"))->setChecked(true);
        QSignalSpy shown(m_page.get(), &ArmOrLeg::signalBicycleParamChanged);
        m_page->on_importPrescription_Btn_clicked();
        QVERIFY2(dialog<PrescriptionDialog>()->isVisible(), "the notice is open and the import returned");
        QVERIFY(button(QStringLiteral("passive1_Button"))->isChecked());
        QCOMPARE(shown.count(), 0);
    }

    // Catches received parameters lost at the next showing or kept after a start, the choice lost
    // across the parameter page, and a new patient or the function choice page inheriting the
    // parameters set before.
    void showingKeepsOrResets()
    {
        auto time = [this] { return int(m_page->keptParam().trainTime); };
        button(QStringLiteral("verticalUpLimp_Button"))->click();
        button(QStringLiteral("passive1_Button"))->click();
        m_page->on_moreConfigure_Btn_clicked();
        QCOMPARE(int(MainWindowPageControl::getInstance()->getCurrentPage()), int(TrainParamPage_E));
        m_page->hide();
        m_page->slotRecvTrainParamChanged(received(5, 12, 7, 0, 1, 3));
        m_page->show();
        QVERIFY(button(QStringLiteral("verticalUpLimp_Button"))->isChecked());
        QVERIFY(button(QStringLiteral("passive1_Button"))->isChecked());
        QCOMPARE(time(), 5);
        reshow();
        QVERIFY(button(QStringLiteral("upLimp_Button"))->isChecked());
        QVERIFY(button(QStringLiteral("activePassive1_Button"))->isChecked());
        QCOMPARE(time(), 5);
        startConfirmed();
        reshow();
        QCOMPARE(time(), 20);

        m_page->slotRecvTrainParamChanged(received(5, 12, 7, 0, 1, 3));
        ST_PatientMsg other = CurrentUserData::defaultPatient();
        other.ID = 100123;
        CurrentUserData::getInstance()->setCurrentUserMsg(other);
        reshow();
        QCOMPARE(time(), 20);

        m_page->slotRecvTrainParamChanged(received(5, 12, 7, 0, 1, 3));
        m_page->resetParameters();
        reshow();
        QCOMPARE(time(), 20);
    }

    // Catches the stimulation variant offering more than horizontal upper limb with
    // active/passive, its start without game type 2 or the channel currents, and a plain
    // variant that does not come back after it.
    void fesVariantStartsWithStimulation()
    {
        m_page->setFesMode(true);
        QStringList offered;
        for (QPushButton *b : m_page->findChildren<QPushButton *>(QRegularExpression(QStringLiteral("_Button$")))) {
            if (b->isCheckable() && !b->isHidden())
                offered << b->objectName();
        }
        offered.sort();
        QCOMPARE(offered, (QStringList{QStringLiteral("activePassive1_Button"), QStringLiteral("upLimp_Button")}));
        QVERIFY(child<QPushButton>("confirm_Btn")->isHidden());
        QVERIFY(!child<QPushButton>("next_Btn")->isHidden());
        child<QPushButton>("next_Btn")->click();
        QCOMPARE(int(MainWindowPageControl::getInstance()->getCurrentPage()), int(FesBicyclePage_E));

        QSignalSpy currents(IceModule::getInstance(), &IceModule::signalSetFesBParam);
        QSignalSpy records(IceModule::getInstance(), &IceModule::signalSetBicycleParam);
        startConfirmed(true);
        QCOMPARE(IceModule::getInstance()->getGameType(), 2);
        QCOMPARE(currents.count(), 1);
        QCOMPARE(records.count(), 1);
        QCOMPARE(int(records.at(0).at(0).value<ST_BicycleParam>().trainMode), 10);

        m_page->on_moreConfigure_Btn_clicked();
        m_page->setFesMode(false);
        QVERIFY(!child<QPushButton>("confirm_Btn")->isHidden());
        QVERIFY(button(QStringLiteral("verticalUpLimp_Button"))->isCheckable());
        QVERIFY(button(QStringLiteral("active1_Button"))->isCheckable());
    }

    // Catches the mounting dialog or the over-30 question run in a nested loop, and a declined
    // speed that stays chosen.
    void dialogsOpenWithoutWaiting()
    {
        child<QPushButton>("YiJianShangJi_Btn")->click();
        QVERIFY2(dialog<MachineStartDialog>()->isVisible(), "the mounting dialog is open and the click returned");
        dialog<MachineStartDialog>()->on_cancel_Btn_clicked();

        auto *speed = child<QComboBox>("upSpeed2_ComboBox");
        for (int answer : {0, 1}) {
            speed->setCurrentText(QStringLiteral("31"));
            auto *question = m_page->findChild<ParamTipsDialog *>();
            QVERIFY2(question && question->isVisible(), "the question is open and the change returned");
            answer ? question->on_confirm_Btn_clicked() : question->on_cancel_Btn_clicked();
            QCOMPARE(speed->currentText(), answer ? QStringLiteral("31") : QStringLiteral("30"));
            speed->setCurrentIndex(0);
            QTRY_VERIFY(!m_page->findChild<ParamTipsDialog *>());
        }
    }

    // The road of one training in the real main window: function choice, vertical upper limb
    // and active mode, the parameter page and back, start with the position prompt confirmed.
    // The training page takes the record, the trainer gets command 0x01 with it, the stop
    // stops its motor, the report save stores the prescription, and the shell comes back.
    void roadToARunningTraining()
    {
        m_page.reset();
        FesLinkPty::createManager();
        CMainWindow window;
        window.show();
        auto *stack = window.findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
        MainWindowPageControl::getInstance()->setCurrentPage(MainPage_E);
        window.findChild<QToolButton *>(QStringLiteral("bicycleTrain_Btn"))->click();
        QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("FESCar_Page"));
        ArmOrLeg *mode = window.modePage();
        auto modeButton = [mode](const char *name) { return mode->findChild<QPushButton *>(QLatin1String(name)); };
        modeButton("verticalUpLimp_Button")->click();
        modeButton("active1_Button")->click();
        modeButton("moreConfigure_Btn")->click();
        QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("trainParam_Page"));

        TrainingParamSetting *params = window.paramPage();
        params->findChild<QComboBox *>(QStringLiteral("trainTime1_ComboBox"))->setCurrentText(QStringLiteral("5"));
        params->findChild<QComboBox *>(QStringLiteral("speed1_ComboBox"))->setCurrentText(QStringLiteral("12"));
        params->findChild<QComboBox *>(QStringLiteral("resistance1_ComboBox"))->setCurrentText(QStringLiteral("7"));
        params->findChild<QPushButton *>(QStringLiteral("ACW1_Button"))->click();
        params->findChild<QPushButton *>(QStringLiteral("spasmHigh1_Button"))->click();
        params->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("FESCar_Page"));
        QVERIFY2(modeButton("verticalUpLimp_Button")->isChecked() && modeButton("active1_Button")->isChecked(),
                 "the choice is kept across the parameter page");

        modeButton("confirm_Btn")->click();
        auto *prompt = mode->findChild<HorizontalToVerticalDialog *>();
        QVERIFY2(prompt->isVisible(), "the vertical limb asks for the crank to be turned upright");
        prompt->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        GameDisplayPage *training = window.trainingPage();
        QTRY_VERIFY2_WITH_TIMEOUT(training->isVisible(), "the started game reports running and the training page comes up", 10000);
        const QByteArray expected = hexBytes("00 03 01 01 03 00 00 00 00 0c 07 00 05");
        QCOMPARE(bytesOf(training->bicycleParam()).toHex(' '), expected.toHex(' '));
        QCOMPARE(fields(GameControl::getInstance()->getTrainParam()), (QList<int>{patient(), 3, 1, 5, 7, 12, 0, 1, 3, 4}));

        training->findChild<QPushButton *>(QStringLiteral("start_Btn"))->click();
        QTRY_VERIFY2_WITH_TIMEOUT(m_trainer->hasLine(QStringLiteral(
                                      "rx start limb=3 mode=1 speed=12 resistance=7 direction=backward spasm=on/3 torque=0")),
                                  qPrintable(m_trainer->output()), 3000);
        training->findChild<QPushButton *>(QStringLiteral("stop_Btn"))->click();
        QVERIFY2(motorStopped(), qPrintable(m_trainer->output()));

        ReportDialogBase *report = training->reportDialogs().dialogFor(training->trainReport());
        QVERIFY2(report->isVisible(), "the stop shows the report");
        const ST_TrainParam prescription = GameControl::getInstance()->getTrainParam();
        {
            ModalCloser closer; // the saved notice
            report->on_save_Btn_clicked();
        }
        CDatabaseInterface *db = CDatabaseInterface::getInstance();
        QVERIFY(db->execQuery(QStringLiteral("select * from TrainParamTable where ID = ?"), {patient()}));
        QCOMPARE(db->getValuesSize(), 1);
        QCOMPARE(fields(variantMapToTrainParam(db->getValues(0, 1).value(0))), fields(prescription));
        QTRY_VERIFY2_WITH_TIMEOUT(!training->isVisible(), "the game answers the close and the training page goes", 5000);
        QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("Main_Page"));
    }
};

QTEST_MAIN(TestModePage)
#include "tst_modepage.moc"
