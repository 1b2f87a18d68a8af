#include "comm/ccommunicateapi.h"
#include "common/feslinkpty.h"
#include "common/shellsetup.h"
#include "game/gamelink.h"
#include "fes/fessetting.h"
#include "shell/cmainwindow.h"
#include "shell/mainwindowpagecontrol.h"
#include "shell/titlewidget.h"
#include "shell/trainmanager.h"
#include "training/gamedisplaypage.h"
#include "training/armorleg.h"
#include "training/icemodule.h"
#include "training/verticaltohorizondialog.h"
#include "users/currentuserdata.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

using Pages = QList<int>;
Q_DECLARE_METATYPE(Pages)

// The main window with every page it hosts, on a UDP link to nobody, an FES manager that lists
// no serial port and a fresh database: page switching, the back buttons, the title bar and the ways out.
class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<CMainWindow> m_window;

    template<typename T>
    T *child(const char *name) const
    {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    QString shownPage() const { return child<QStackedWidget>("stackedWidget")->currentWidget()->objectName(); }
    QString title() const { return child<QLabel>("title_Label")->text(); }
    bool backShown() const { return !child<QPushButton>("back1_Btn")->isHidden() && !child<QPushButton>("back2_Btn")->isHidden(); }
    static void request(int page) { MainWindowPageControl::getInstance()->setCurrentPage(E_PAGENAME(page)); }
    static int currentPage() { return MainWindowPageControl::getInstance()->getCurrentPage(); }
    QImage wifiIcon() const { return child<QLabel>("wifiSignal_Label")->pixmap(Qt::ReturnByValue).toImage(); }
    static QImage picture(const char *path) { return QPixmap(QLatin1String(path)).toImage(); }

    // Runs action inside the application's event loop: true when it quits the program, false when
    // the loop is still running after waitMs. Quit handlers see an ordinary quit.
    static bool quits(const std::function<void()> &action, int waitMs = 3000)
    {
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        watchdog.start(waitMs);
        QTimer::singleShot(0, qApp, action);
        return QCoreApplication::exec() == 0;
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        Q_INIT_RESOURCE(resources);
        QVERIFY(prepareMainWindow(m_dir));
        QVERIFY(catalogueDemoGame(*m_dir));
        m_window = std::make_unique<CMainWindow>();
        m_window->show();
    }

    void cleanupTestCase() { m_window.reset(); }

    void init()
    {
        if (!m_window->isVisible())
            m_window->show();
        request(MainPage_E);
        m_window->trainingPage()->hide(); // page 1 brings it up
    }

    void switchingShowsThePageAndItsTitle_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("back");
        QTest::addColumn<int>("fesFlag"); // -1: as page "before" left it
        QTest::addColumn<int>("fesType"); // -1: not the FES page
        // Each row catches a page shown in the wrong place or with the wrong title bar.
        QTest::newRow("0 main page") << 2 << 0 << "Main_Page" << "功能选择" << true << -1 << -1;
        QTest::newRow("1 training hides back") << 2 << 1 << "userMsg_Page" << "" << false << -1 << -1;
        QTest::newRow("2 patients") << 0 << 2 << "userMsg_Page" << "用户管理" << true << -1 << -1;
        QTest::newRow("3 settings") << 0 << 3 << "setting_Page" << "软件设置" << true << -1 << -1;
        QTest::newRow("4 cycling clears the FES flag") << 6 << 4 << "FESCar_Page" << "参数设置" << true << 0 << -1;
        QTest::newRow("5 pure stimulation") << 6 << 5 << "FES_Page" << "FES参数" << true << 0 << 0;
        QTest::newRow("6 cycling with FES sets the flag") << 4 << 6 << "FESCar_Page" << "踏车参数" << true << 1 << -1;
        QTest::newRow("7 FES cycling keeps hidden back") << 1 << 7 << "FES_Page" << "" << false << -1 << 1;
        QTest::newRow("7 FES cycling keeps shown back") << 6 << 7 << "FES_Page" << "" << true << 1 << 1;
        QTest::newRow("8 parameters") << 4 << 8 << "trainParam_Page" << "参数设置" << true << -1 << -1;
        // Catches a value beyond the table switching a page or keeping the old title.
        QTest::newRow("9 switches nothing") << 3 << 9 << "setting_Page" << "" << true << -1 << -1;
    }

    void switchingShowsThePageAndItsTitle()
    {
        QFETCH(int, before);
        QFETCH(int, page);
        QFETCH(QString, shown);
        QFETCH(QString, title);
        QFETCH(bool, back);
        QFETCH(int, fesFlag);
        QFETCH(int, fesType);
        request(before);
        const int flagBefore = m_window->titleWidget()->fesFlag();
        request(page);
        QCOMPARE(shownPage(), shown);
        QCOMPARE(this->title(), title);
        QCOMPARE(backShown(), back);
        QVERIFY(child<QPushButton>("quit_Btn")->isHidden());
        QCOMPARE(int(m_window->titleWidget()->fesFlag()), fesFlag < 0 ? flagBefore : fesFlag);
        if (fesType >= 0)
            QCOMPARE(m_window->fesSetting()->fesType(), fesType);
    }

    void backFollowsTheTable_data()
    {
        QTest::addColumn<Pages>("path");
        QTest::addColumn<int>("back");
        // Catches the parameter page forgetting which cycling page led to it.
        QTest::newRow("8 reached from 6") << Pages{6, 8} << 6;
        QTest::newRow("8 reached from 4") << Pages{4, 8} << 4;
        // Catches a flag left over from cycling with FES: page 5 clears it.
        QTest::newRow("5 after 6") << Pages{6, 5} << 0;
        QTest::newRow("7 to 6") << Pages{6, 7} << 6;
        QTest::newRow("2 to 0") << Pages{2} << 0;
        QTest::newRow("3 to 0") << Pages{3} << 0;
        QTest::newRow("4 to 0") << Pages{4} << 0;
        QTest::newRow("6 to 0") << Pages{6} << 0;
        // Catches back leaving a running training.
        QTest::newRow("1 stays") << Pages{2, 1} << 1;
    }

    void backFollowsTheTable()
    {
        QFETCH(Pages, path);
        QFETCH(int, back);
        for (int page : path)
            request(page);
        child<QPushButton>("back2_Btn")->click();
        QCOMPARE(currentPage(), back);
    }

    // Catches a title bar or function choice page that keeps its Chinese after a language switch.
    void textsFollowTheLanguage()
    {
        request(SettingPage_E);
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(ROTAFLEX_RUN_DIR "/Rotaflex_EN.qm")));
        QCoreApplication::installTranslator(&english);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        const QString title = this->title();
        const QString caption = child<QToolButton>("bicycleTrain_Btn")->text();
        QCoreApplication::removeTranslator(&english);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(title, QStringLiteral("Software Settings"));
        QCOMPARE(caption, QStringLiteral("Cycling Training"));
        QCOMPARE(this->title(), QStringLiteral("软件设置"));
    }

    // Catches back on the main page switching a page instead of asking for the login.
    void backOnTheMainPageAsksForTheLogin_data()
    {
        QTest::addColumn<bool>("logIn");
        QTest::addColumn<bool>("quits");
        QTest::newRow("logged in") << true << false;
        // Catches a way out of this login that leaves the program running.
        QTest::newRow("hidden exit") << false << true;
    }

    void backOnTheMainPageAsksForTheLogin()
    {
        QFETCH(bool, logIn);
        QFETCH(bool, quits);
        QString asked;
        whenModal([&](QWidget *modal) {
            asked = QLatin1String(modal->metaObject()->className());
            QTest::keyClick(modal, Qt::Key_Escape); // ends nothing
            if (!logIn) {
                for (int i = 0; i < 10; ++i)
                    QTest::mouseClick(modal->findChild<QWidget *>(QStringLiteral("company_Label")), Qt::LeftButton);
                return;
            }
            modal->findChild<QLineEdit *>(QStringLiteral("userName_LineEdit"))->setText(QStringLiteral("zenk"));
            modal->findChild<QLineEdit *>(QStringLiteral("password_LineEdit"))->setText(QStringLiteral("482915"));
            modal->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        });
        QCOMPARE(this->quits([this] { child<QPushButton>("back1_Btn")->click(); }, quits ? 3000 : 500), quits);
        QCOMPARE(asked, QStringLiteral("LoginWidget"));
        QCOMPARE(currentPage(), int(MainPage_E));
        QCOMPARE(shownPage(), QStringLiteral("Main_Page"));
    }

    // Catches a way out that leaves the program running, or a main window closed by the user while
    // the program goes on without it.
    void waysOutQuitTheProgram_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("shut-down button") << "shutDown_Btn";
        QTest::newRow("title bar's close") << "closeWindow";
        QTest::newRow("window closed") << "close";
    }

    void waysOutQuitTheProgram()
    {
        QFETCH(QString, way);
        QVERIFY(quits([this, way] {
            if (way == QLatin1String("shutDown_Btn"))
                child<QToolButton>("shutDown_Btn")->click();
            else if (way == QLatin1String("closeWindow"))
                emit m_window->titleWidget()->signalCloseWindow();
            else
                m_window->close();
        }));
    }

    void functionChoiceAsksForItsPages_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("page");
        QTest::newRow("cycling") << "bicycleTrain_Btn" << 4;
        QTest::newRow("cycling with FES") << "fesBicycleTrain_Btn" << 6;
        QTest::newRow("stimulation") << "fesTrain_Btn" << 5;
        QTest::newRow("settings") << "setting_Btn" << 3;
    }

    void functionChoiceAsksForItsPages()
    {
        QFETCH(QString, button);
        QFETCH(int, page);
        m_window->findChild<QToolButton *>(button)->click();
        QCOMPARE(currentPage(), page);
    }

    // Catches a main page that leaves a game's window up or the parameter page's values standing.
    void mainPageClosesTheGameAndResetsTheChoice()
    {
        QSignalSpy reset(m_window->trainManager(), &TrainManager::signalOpenTrainManagerPage);
        m_window->gameHostWindow()->show();
        request(BicycleModePage_E);
        QCOMPARE(reset.count(), 0);
        request(MainPage_E);
        QCOMPARE(reset.count(), 1);
        QVERIFY(!m_window->gameHostWindow()->isVisible());
    }

    void gameStateMovesTheTrainingPage_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("from"); // the page the shell is on
        QTest::addColumn<bool>("trainingShown");
        QTest::addColumn<int>("page");
        QTest::newRow("game runs") << 1 << int(TrainingPage_E) << true << int(TrainingPage_E);
        QTest::newRow("game ended") << 0 << int(TrainingPage_E) << false << int(MainPage_E);
        // Catches an unknown state closing the training.
        QTest::newRow("other") << 2 << int(TrainingPage_E) << true << int(TrainingPage_E);
        // Catches a game given up that reports after all bringing the training page over the
        // mode page, and its end then leaving the mode page.
        QTest::newRow("runs with no training waiting") << 1 << int(BicycleModePage_E) << false << int(BicycleModePage_E);
        QTest::newRow("ends with no training waiting") << 0 << int(BicycleModePage_E) << false << int(BicycleModePage_E);
    }

    void gameStateMovesTheTrainingPage()
    {
        QFETCH(int, state);
        QFETCH(int, from);
        QFETCH(bool, trainingShown);
        QFETCH(int, page);
        request(UserPage_E);
        MainWindowPageControl::getInstance()->setCurrentPageQuiet(E_PAGENAME(from));
        const bool waiting = from == TrainingPage_E;
        m_window->trainingPage()->setVisible(waiting && state != 1);
        m_window->gameHostWindow()->setVisible(waiting);
        emit m_window->trainingPage()->signalGameStateChanged(int8_t(state));
        QCOMPARE(m_window->trainingPage()->isVisible(), trainingShown);
        QCOMPARE(m_window->gameHostWindow()->isVisible(), trainingShown);
        QCOMPARE(currentPage(), page);
        QCOMPARE(title(), page == MainPage_E ? QStringLiteral("功能选择") : QStringLiteral("用户管理"));
        m_window->trainingPage()->hide();
        m_window->gameHostWindow()->hide();
    }

    // Catches a save on the parameter page that forgets the FES variant, and a start on the FES
    // page that does not reach the mode page or starts without game type 2, the channel currents
    // or the training page.
    void fesPageStartsCyclingWithStimulation()
    {
        request(FesBicycleModePage_E);
        QVERIFY(m_window->modePage()->fesMode());
        request(TrainParamPage_E);
        m_window->findChild<QWidget *>(QStringLiteral("trainParam_Page"))
            ->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
        QCOMPARE(currentPage(), int(FesBicycleModePage_E));
        child<QPushButton>("next_Btn")->click();
        QCOMPARE(shownPage(), QStringLiteral("FES_Page"));
        QCOMPARE(m_window->fesSetting()->fesType(), int(FesSetting::FesCycling_E));

        QSignalSpy currents(IceModule::getInstance(), &IceModule::signalSetFesBParam);
        child<QPushButton>("OK_Btn")->click();
        auto *prompt = m_window->modePage()->findChild<VerticalToHorizonDialog *>();
        QVERIFY(prompt->isVisible());
        prompt->on_confirm_Btn_clicked();
        QCOMPARE(IceModule::getInstance()->getGameType(), 2);
        QCOMPARE(currents.count(), 1);
        QTRY_VERIFY2_WITH_TIMEOUT(m_window->trainingPage()->isVisible(), "the started game reports running", 10000);
        QCOMPARE(int(m_window->trainingPage()->bicycleParam().trainMode), 10);
        // The game answers the close, and the shell comes back.
        m_window->trainingPage()->findChild<GameLink *>()->sendGameClose();
        QTRY_COMPARE_WITH_TIMEOUT(shownPage(), QStringLiteral("Main_Page"), 5000);
        QVERIFY(!m_window->trainingPage()->isVisible());
    }

    // Catches a stimulation started on the FES page while a cycling training stimulates.
    void cyclingWithStimulationHoldsTheFesPage()
    {
        emit m_window->trainingPage()->signalFesSessionStateChanged(true);
        QVERIFY(m_window->fesSetting()->isRunning());
        emit m_window->trainingPage()->signalFesSessionStateChanged(false);
        QVERIFY(!m_window->fesSetting()->isRunning());
    }

    // Catches an icon that follows every flicker of the link: it changes only on its 3 s timer.
    void connectionIconChangesOnlyOnItsTimer()
    {
        auto *timer = child<QTimer>("status_Timer");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), TitleWidget::kStatusIntervalMs);
        for (int state : {0, 1}) {
            const QImage before = wifiIcon();
            IceModule::getInstance()->setDeviceState(state);
            QTest::qWait(50);
            QCOMPARE(wifiIcon(), before);
            timer->setInterval(10);
            const char *expected = state ? ":/DependFile/Source/signal/deviceConnected.png"
                                         : ":/DependFile/Source/signal/deviceDisconnected.png";
            QTRY_COMPARE(wifiIcon(), picture(expected));
            timer->setInterval(TitleWidget::kStatusIntervalMs);
        }
    }

    // Catches a link error or patient that the title bar does not show, or an error never cleared.
    void titleBarShowsLinkErrorAndPatient()
    {
        auto *state = child<QLabel>("state_label");
        emit CCommunicateAPI::getInstance()->signalCommunicateChanged(QStringLiteral("ReadError"));
        QCOMPARE(state->text(), QStringLiteral("ReadError"));
        emit CCommunicateAPI::getInstance()->signalCommunicateChanged(QString());
        QVERIFY(state->text().isEmpty());

        ST_PatientMsg patient = CurrentUserData::defaultPatient();
        patient.name = QStringLiteral("李华");
        CurrentUserData::getInstance()->setCurrentUserMsg(patient);
        QCOMPARE(child<QPushButton>("user_Btn")->text(), QStringLiteral("李华"));
        child<QPushButton>("user_Btn")->click();
        QCOMPARE(currentPage(), int(UserPage_E));
    }

    void titleBarPictureIsSavedBesideTheProgram_data()
    {
        QTest::addColumn<bool>("folderExists");
        QTest::newRow("folder there") << true;
        // Catches a missing folder that goes unreported.
        QTest::newRow("folder missing") << false;
    }

    void titleBarPictureIsSavedBesideTheProgram()
    {
        QFETCH(bool, folderExists);
        // This test program's own folder, never the program's run folder.
        QDir folder(QCoreApplication::applicationDirPath() + QLatin1String(TitleWidget::kUpPictureFolder));
        folder.removeRecursively();
        if (folderExists)
            QVERIFY(folder.mkpath(QStringLiteral(".")));
        else
            QTest::ignoreMessage(QtDebugMsg, "保存图片失败");
        QCOMPARE(m_window->titleWidget()->saveUpPicture(), folderExists);
        QImage saved(TitleWidget::upPicturePath());
        QCOMPARE(saved.isNull(), !folderExists);
        if (folderExists)
            QCOMPARE(saved.size(), QSize(1920, 100));
        folder.removeRecursively();
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
