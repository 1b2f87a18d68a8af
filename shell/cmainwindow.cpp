#include "shell/cmainwindow.h"

#include "fes/fessetting.h"
#include "game/gamecontrol.h"
#include "shell/gamestarter.h"
#include "shell/settingwidget.h"
#include "shell/titlewidget.h"
#include "shell/trainmanager.h"
#include "training/armorleg.h"
#include "training/gamedisplaypage.h"
#include "training/trainingparamsetting.h"
#include "ui_cmainwindow.h"
#include "users/currentuserdata.h"
#include "users/usermanager.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDialog>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Puts a page's widget into its place in the stack; the widget keeps its own object name, which
// its style sheet selects.
template<typename Page>
Page *placeIn(QWidget *place)
{
    auto *layout = new QVBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *page = new Page(place);
    layout->addWidget(page);
    return page;
}

} // namespace

CMainWindow::CMainWindow(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::CMainWindow>())
{
    ui->setupUi(this);
    m_trainManager = placeIn<TrainManager>(ui->Main_Page);
    m_modePage = placeIn<ArmOrLeg>(ui->FESCar_Page);
    m_fesSetting = placeIn<FesSetting>(ui->FES_Page);
    m_settingWidget = placeIn<SettingWidget>(ui->setting_Page);
    m_userManager = placeIn<UserManager>(ui->userMsg_Page);
    m_paramPage = placeIn<TrainingParamSetting>(ui->trainParam_Page);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    qRegisterMetaType<E_PAGENAME>("E_PAGENAME");
    qRegisterMetaType<int8_t>("int8_t");

    MainWindowPageControl *pages = MainWindowPageControl::getInstance();
    connect(pages, &MainWindowPageControl::signalSwitchPage, this, &CMainWindow::slotSwitchPage);
    connect(CurrentUserData::getInstance(), &CurrentUserData::signalUserChanged, this,
            &CMainWindow::slotCurrentUserChanged);
    ui->stackedWidget->setCurrentIndex(0);
    slotCurrentUserChanged();

    m_trainingPage = std::make_unique<GameDisplayPage>();
    connect(m_trainingPage.get(), &GameDisplayPage::signalGameStateChanged, this, &CMainWindow::slotGameStateChanged);
    connect(m_trainingPage.get(), &GameDisplayPage::signalFesSessionStateChanged, m_fesSetting,
            &FesSetting::slotCyclingStateChanged);
    connect(ui->title_Widget, &TitleWidget::signalCloseWindow, this, &CMainWindow::closeWindow);

    // Holds the game's window once games are started; it lies under the training page.
    m_gameHost = std::make_unique<QDialog>(nullptr, Qt::FramelessWindowHint);
    m_gameHost->setObjectName(QStringLiteral("gameHost_Dialog"));
    m_gameHost->setAttribute(Qt::WA_QuitOnClose, false);
    m_trainingPage->setAttribute(Qt::WA_QuitOnClose, false);

    m_gameStarter = new GameStarter(m_gameHost.get(), m_trainingPage.get(), this);
    connect(m_gameStarter->searchTimer(), &QTimer::timeout, this, &CMainWindow::slotGrabWindow);
    // Queued: a start that fails at once must not switch pages inside the switch to page 1. A
    // failure that arrives after the shell has left page 1 changes nothing more.
    connect(m_gameStarter, &GameStarter::signalStartFailed, this, [this] {
        MainWindowPageControl *pages = MainWindowPageControl::getInstance();
        if (pages->getCurrentPage() != TrainingPage_E)
            return;
        m_gameStarter->showStartFailure(this);
        // The mode page may never have left the stack: shown afresh, it is ready for another start.
        ui->stackedWidget->setCurrentWidget(ui->game_Page);
        pages->setCurrentPage(ui->title_Widget->fesFlag() == 1 ? FesBicycleModePage_E : BicycleModePage_E);
    }, Qt::QueuedConnection);
    connect(m_gameStarter, &GameStarter::signalGameVanished, m_trainingPage.get(), &GameDisplayPage::slotGameVanished);
    connect(m_fesSetting, &FesSetting::signalStartGame, m_modePage, &ArmOrLeg::slotStartGame);
    connect(m_paramPage, &TrainingParamSetting::signalTrainParamChanged, m_modePage, &ArmOrLeg::slotRecvTrainParamChanged);
    connect(m_modePage, &ArmOrLeg::saveUpPictureSignal, ui->title_Widget, [this] { ui->title_Widget->saveUpPicture(); });
    connect(m_modePage, &ArmOrLeg::signalBicycleParamChanged, m_paramPage, &TrainingParamSetting::slotBicycleParamChanged);
    connect(m_trainManager, &TrainManager::signalOpenTrainManagerPage, m_paramPage, &TrainingParamSetting::slotResetParam);
    // The function choice page starts every choice afresh, the mode page's kept parameters too.
    connect(m_trainManager, &TrainManager::signalOpenTrainManagerPage, m_modePage, &ArmOrLeg::resetParameters);
}

CMainWindow::~CMainWindow()
{
    // A game still running keeps its window when the host goes.
    m_gameStarter->gameEnded();
}

TitleWidget *CMainWindow::titleWidget() const
{
    return ui->title_Widget;
}

void CMainWindow::slotSwitchPage(E_PAGENAME page)
{
    showPage(page);
    ui->title_Widget->setTitleByPage(page);
    if (page == MainPage_E)
        MainWindowPageControl::getInstance()->setCurrentPageQuiet(MainPage_E);
}

void CMainWindow::showPage(E_PAGENAME page)
{
    switch (page) {
    case MainPage_E:
        m_gameStarter->gameEnded();
        m_gameHost->close();
        ui->stackedWidget->setCurrentWidget(ui->Main_Page);
        emit m_trainManager->signalOpenTrainManagerPage();
        qDebug().noquote() << QStringLiteral("来到了主页");
        break;
    case TrainingPage_E:
        // The training page comes over the game when the game reports running.
        startGame_Btn_clicked();
        break;
    case UserPage_E:
        ui->stackedWidget->setCurrentWidget(ui->userMsg_Page);
        break;
    case SettingPage_E:
        ui->stackedWidget->setCurrentWidget(ui->setting_Page);
        break;
    case BicycleModePage_E:
    case FesBicycleModePage_E:
        ui->title_Widget->setFesFlag(page == FesBicycleModePage_E ? 1 : 0);
        // The variant first: showing the page sets its choice up for it.
        m_modePage->setFesMode(page == FesBicycleModePage_E);
        m_paramPage->setFesFlag(page == FesBicycleModePage_E);
        ui->stackedWidget->setCurrentWidget(ui->FESCar_Page);
        break;
    case FesPage_E:
        ui->title_Widget->setFesFlag(0);
        // The mode first: showing the page sets its channels up for it.
        m_fesSetting->setFesType(FesSetting::PureStimulation_E);
        ui->stackedWidget->setCurrentWidget(ui->FES_Page);
        break;
    case FesBicyclePage_E:
        m_fesSetting->setFesType(FesSetting::FesCycling_E);
        ui->stackedWidget->setCurrentWidget(ui->FES_Page);
        break;
    case TrainParamPage_E:
        ui->stackedWidget->setCurrentWidget(ui->trainParam_Page);
        break;
    }
}

void CMainWindow::slotCurrentUserChanged()
{
    ui->title_Widget->setUserName(CurrentUserData::getInstance()->getCurrentPatientMsg().name);
}

void CMainWindow::startGame_Btn_clicked()
{
    GameControl *games = GameControl::getInstance();
    m_gameStarter->start(games->getCurrentGameMsg(), games->getCurrentGameID());
}

void CMainWindow::slotGrabWindow()
{
    m_gameStarter->grabWindow();
}

void CMainWindow::slotGameStateChanged(int8_t state)
{
    // Only a start waits for a game: one that reports with no training waiting (a start given up,
    // whose process cannot be ended on Windows) is told to close, and its end moves no page.
    if (MainWindowPageControl::getInstance()->getCurrentPage() != TrainingPage_E && !m_trainingPage->isVisible()) {
        if (state == 1) {
            qWarning().noquote() << QStringLiteral("game reported running with no training waiting for it: closed");
            m_trainingPage->closeGame();
        } else if (state == 0) {
            m_gameStarter->gameEnded();
        }
        return;
    }
    if (state == 0) {
        m_gameStarter->gameEnded();
        m_trainingPage->close();
        m_gameHost->close();
        MainWindowPageControl::getInstance()->setCurrentPage(MainPage_E);
    } else if (state == 1) {
        m_gameStarter->gameRunning();
        m_trainingPage->move(geometry().topLeft());
        m_trainingPage->show();
        m_trainingPage->raise();
        m_trainingPage->activateWindow();
    }
}

void CMainWindow::closeWindow()
{
    qDebug().noquote() << QStringLiteral("运行了");
    close();
}

void CMainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit signalShowCompleted();
}

void CMainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    qDebug().noquote() << QStringLiteral("main window closed: quitting");
    QCoreApplication::quit();
}

void CMainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QWidget::changeEvent(event);
}
