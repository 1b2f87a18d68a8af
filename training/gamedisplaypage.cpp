#include "training/gamedisplaypage.h"

#include "app/languagemanager.h"
#include "comm/ccommunicateapi.h"
#include "comm/deviceprotocol.h"
#include "database/trainrecord.h"
#include "fes/channelmap.h"
#include "fes/fescontroldialog.h"
#include "game/gamecontrol.h"
#include "game/gamelink.h"
#include "reports/reportdialogbase.h"
#include "shell/sounddialog.h"
#include "training/childrenshape.h"
#include "training/emergencystopdialog.h"
#include "training/holdrepeater.h"
#include "training/icemodule.h"
#include "training/livedatadecoder.h"
#include "training/paramtipsdialog.h"
#include "training/quitbyspeeddialog.h"
#include "training/quitgamedialog.h"
#include "training/samplingcounter.h"
#include "training/sidepanels.h"
#include "training/spasmtipsdialog.h"
#include "ui_gamedisplaypage.h"
#include "users/currentuserdata.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>

namespace {

constexpr int kSpeedMin = 2;
constexpr int kSpeedMax = 55;
constexpr int kSpeedAskAbove = 30;
constexpr int kResistanceMin = 1;
constexpr int kResistanceMax = 20;
constexpr int kGameTypeFes = 2;
constexpr int kFesDevices = 4;
constexpr int kFullCircle = 360;

const QString kImageFolder = QStringLiteral(":/DependFile/Source/gamePage/");

QString sessionButtonSheet(const QString &image)
{
    return QStringLiteral("border-image: url(%1%2);").arg(kImageFolder, image);
}

} // namespace

GameDisplayPage::GameDisplayPage(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::GameDisplayPage>())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    new ChildrenShape(this);

    m_gameLink = new GameLink(this);
    connect(m_gameLink, &GameLink::signalGameStateChanged, this, [this](int8_t state) {
        m_gameRunning = m_gameLink->isGameRunning();
        // A game that ends on its own must not leave the motor or the stimulation running once
        // the page closes over it.
        if (state == 0 && sessionUnderway())
            haltSession(QStringLiteral("game ended during the training: motor and stimulation stopped"));
        emit signalGameStateChanged(state);
    });

    m_panels = new SidePanels(ui->leftPage_GroupBox, ui->rightPage_GroupBox, this);

    m_directionGroup = new QButtonGroup(this);
    m_directionGroup->setExclusive(true);
    m_directionGroup->addButton(ui->forward_Btn);
    m_directionGroup->addButton(ui->backward_Btn);

    m_channelBLabels = {ui->channelB1_Label, ui->channelB2_Label, ui->channelB3_Label, ui->channelB4_Label,
                        ui->channelB5_Label, ui->channelB6_Label, ui->channelB7_Label, ui->channelB8_Label};

    for (QWidget *widget : {static_cast<QWidget *>(ui->stop_Btn), static_cast<QWidget *>(ui->pause_Btn),
                            static_cast<QWidget *>(ui->signal_Label), static_cast<QWidget *>(ui->signal_Label_2),
                            static_cast<QWidget *>(ui->heart_GroupBox), static_cast<QWidget *>(ui->debug_GroupBox),
                            static_cast<QWidget *>(ui->warnTips_Label)})
        widget->hide();

    m_spasmDialog = new SpasmTipsDialog(this);
    m_emergencyDialog = new EmergencyStopDialog(this);
    m_quitGameDialog = new QuitGameDialog(this);
    m_soundDialog = new SoundDialog(this);
    m_quitBySpeedDialog = new QuitBySpeedDialog(this);
    connect(m_spasmDialog, &QDialog::finished, this, &GameDisplayPage::spasmPromptFinished);
    connect(m_quitGameDialog, &QDialog::finished, this, &GameDisplayPage::quitGameFinished);
    for (auto layout : {ReportLayout::TrainReport_E, ReportLayout::TrainReportThreeTwo_E,
                        ReportLayout::TrainReportTwoThree_E, ReportLayout::TrainReportTwoTwo_E})
        connect(m_reports.dialog(layout), &QDialog::finished, this, &GameDisplayPage::reportClosed);

    ui->user_Btn->setIcon(QIcon(QStringLiteral(":/DependFile/Source/User/user1.png")));
    ui->user_Btn->setIconSize(QSize(40, 40));

    IceModule *hub = IceModule::getInstance();
    connect(hub, &IceModule::signalSetFesAParam, this, &GameDisplayPage::slotSetChannelAData);
    connect(hub, &IceModule::signalSetFesBParam, this, &GameDisplayPage::slotSetChannelBData);
    connect(hub, &IceModule::signalSetBicycleParam, this, &GameDisplayPage::slotSetBicycleParam);
    connect(CCommunicateAPI::getInstance(), &CCommunicateAPI::signalReadyRead, this, &GameDisplayPage::slotReceiveData);
    connect(ui->back1_Btn, &QPushButton::clicked, this, &GameDisplayPage::slotBackClicked);
    connect(ui->back2_Btn, &QPushButton::clicked, this, &GameDisplayPage::slotBackClicked);
    connect(m_quitBySpeedDialog, &QuitBySpeedDialog::signalClosed, this, &GameDisplayPage::slotSpeedDialogClosed);

    auto makeTimer = [this](const char *name, int interval, void (GameDisplayPage::*slot)()) {
        auto *timer = new QTimer(this);
        timer->setObjectName(QLatin1String(name));
        timer->setInterval(interval);
        connect(timer, &QTimer::timeout, this, slot);
        return timer;
    };
    m_heartTimer = makeTimer("heartTimer", kHeartIntervalMs, &GameDisplayPage::slotHeartTimer);
    m_countDownTimer = makeTimer("countDownTimer", kCountDownIntervalMs, &GameDisplayPage::slotCountDownTimer);
    m_speedRepeat = new HoldRepeater(QStringLiteral("speedRepeatTimer"), [this](int step) { return stepSpeed(step); }, this);
    m_resistanceRepeat =
        new HoldRepeater(QStringLiteral("resistanceRepeatTimer"), [this](int step) { return stepResistance(step); }, this);
    m_stageTextTimer = new QTimer(this);
    m_stageTextTimer->setObjectName(QStringLiteral("stageTextTimer"));
    m_stageTextTimer->setInterval(StageNotice::kStageTextDelayMs);
    m_stageTextTimer->setSingleShot(true);
    connect(m_stageTextTimer, &QTimer::timeout, this, [this] { ui->warnTips_Label->setText(m_stageText); });

    applyLanguage();
    m_heartTimer->start();
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &GameDisplayPage::stopAtQuit);
}

GameDisplayPage::~GameDisplayPage() = default;

int GameDisplayPage::interfaceLanguage() const
{
    return LanguageManager::getInstance()->getLanguage();
}

// ---- start, pause, stop ----

void GameDisplayPage::on_start_Btn_clicked()
{
    m_stopUnconfirmed = false;
    m_overSpeedWatch.reset();
    m_quitBySpeedDialog->stopCountDown();
    // The built-in still record settles the over-speed watch before the session runs.
    const QByteArray stillRecord = LiveDataDecoder::builtInFrame();
    for (int i = 0; i < LiveDataDecoder::kBuiltInFrameRepeats; ++i)
        slotReceiveData(stillRecord);

    if (m_trainState == 0) {
        m_trainReport.startTimeStr = QDateTime::currentDateTime().toString(QLatin1String(kStartTimeFormat));
        m_trainReport.trainTime = 0;
        m_trainReport.activeTime = 0;
        m_trainReport.passiveTime = 0;
    }
    playPrompt("startTraining");
    m_trainState = 1;
    m_sessionState = 1;
    ui->back1_Btn->hide();
    ui->back2_Btn->hide();
    ui->start_Btn->hide();
    ui->stop_Btn->show();
    ui->pause_Btn->show();

    m_bicycleParam.torqueLevel = uint8_t(IceModule::getInstance()->getTorqueLevel());
    qDebug() << "部位：" << m_bicycleParam.trainLimp;
    sendControl(m_bicycleParam.controlState == DeviceProtocol::kControlPause ? DeviceProtocol::kControlResume
                                                                             : DeviceProtocol::kControlStart);
    m_countDownTimer->start();
    m_gameLink->sendGameStart();
    if (IceModule::getInstance()->getGameType() == kGameTypeFes)
        emit signalFesSessionStateChanged(true);
}

void GameDisplayPage::on_pause_Btn_clicked()
{
    m_sessionState = 2;
    m_trainState = 2;
    playPrompt("pauseTraining");
    m_gameLink->sendGamePause();
    m_countDownTimer->stop();
    m_bicycleParam.trainDirection = m_direction;
    sendControl(DeviceProtocol::kControlPause);
    ui->start_Btn->show();
    ui->stop_Btn->hide();
    ui->pause_Btn->hide();
    for (QLabel *label : {ui->upRealSpeed_Label, ui->upRealPower_Label, ui->downRealSpeed_Label, ui->downRealPower_Label})
        label->setText(QStringLiteral("0"));
}

void GameDisplayPage::on_stop_Btn_clicked()
{
    ST_TrainParam prescription = GameControl::getInstance()->getTrainParam();
    prescription.trainDirection = m_shownDirection == 1 ? 1 : 0;
    prescription.trainSpeed = shownSpeed();
    prescription.trainResistance = shownResistance();
    GameControl::getInstance()->setTrainParam(prescription);

    m_sessionState = 3;
    ui->start_Btn->hide();
    ui->stop_Btn->hide();
    ui->pause_Btn->hide();
    playPrompt("stopTraining");
    sendControl(DeviceProtocol::kControlStop);
    m_countDownTimer->stop();
    endFesSession();
    sendGameData(0.0f, 50, 50, 0);
    computeStatistics();
    openReport(m_reports.dialogFor(m_trainReport), ReportEnd::Stop);
}

void GameDisplayPage::closeGame()
{
    m_gameLink->sendGameClose();
}

void GameDisplayPage::slotGameVanished()
{
    m_gameLink->gameVanished();
}

// The program ends while a session runs: the motor, the stimulation and the game are told to
// stop before it goes, however it ends; no event loop runs any more to send them later.
void GameDisplayPage::stopAtQuit()
{
    if (!sessionUnderway())
        return;
    haltSession(QStringLiteral("program ending during a training: motor and stimulation stopped"));
    CCommunicateAPI::getInstance()->flush(kQuitFlushMs);
    m_gameLink->sendGameClose();
}

// Ends a running or paused session without a report: the motor stops and the boxes go off.
void GameDisplayPage::haltSession(const QString &why)
{
    qWarning().noquote() << why;
    m_sessionState = 3;
    m_countDownTimer->stop();
    sendControl(DeviceProtocol::kControlStop);
    endFesSession();
}

void GameDisplayPage::slotStopTraining()
{
    sendControl(DeviceProtocol::kControlStop);
}

void GameDisplayPage::slotSpeedDialogClosed()
{
    on_stop_Btn_clicked();
}

void GameDisplayPage::slotCountDownTimer()
{
    if (--m_remainSeconds < 0) {
        m_countDownTimer->stop();
        return;
    }
    TrainingStatistics::countSecond(m_trainReport, m_machineStage, m_currentSpeed, shownSpeed());
    qDebug() << "计时：" << m_trainReport.trainTime;
    m_statistics.addResistance(shownResistance());
    if (m_remainSeconds > 0) {
        const QString minutes = QString::number(m_remainSeconds / 60 + 1);
        ui->upRemainTime_Label->setText(minutes);
        ui->downRemainTime_Label->setText(minutes);
        return;
    }
    m_remainSeconds = 0;
    m_countDownTimer->stop();
    ui->upRemainTime_Label->setText(QStringLiteral("0"));
    ui->downRemainTime_Label->setText(QStringLiteral("0"));
    sendControl(DeviceProtocol::kControlStop);
    endFesSession();
    computeStatistics();
    openReport(m_reports.dialog(ReportLayout::TrainReport_E), ReportEnd::TimeOut);
}

void GameDisplayPage::sendControl(uint8_t code)
{
    m_bicycleParam.controlState = code;
    CCommunicateAPI::getInstance()->sendBicycleParam(m_bicycleParam);
}

void GameDisplayPage::computeStatistics()
{
    m_statistics.apply(m_trainReport, m_trainReport.bodyIndex, shownSpeed(), shownResistance());
}

void GameDisplayPage::openReport(ReportDialogBase *dialog, ReportEnd end)
{
    m_reportEnd = end;
    dialog->setReportData(m_trainReport, true);
}

void GameDisplayPage::reportClosed()
{
    const ReportEnd end = m_reportEnd;
    if (end == ReportEnd::None)
        return;
    m_reportEnd = ReportEnd::None;
    m_panels->bringBack();
    m_trainReport.activeTime = 0;
    m_trainReport.passiveTime = 0;
    if (end == ReportEnd::TimeOut)
        m_trainReport.trainTime = 0;
    m_gameLink->sendGameClose();
}

void GameDisplayPage::endFesSession()
{
    if (IceModule::getInstance()->getGameType() != kGameTypeFes)
        return;
    // No box may keep stimulating a limb that no longer turns.
    FesControlDialog *fes = FesControlDialog::getInstance();
    for (int index = 0; index < ChannelMap::kChannelCount; ++index)
        fes->switchOutput(ChannelMap::deviceOf(index), ChannelMap::channelOf(index), 0);
    emit signalFesSessionStateChanged(false);
}

void GameDisplayPage::playPrompt(const char *baseName)
{
    const QString suffix = interfaceLanguage() == Chinese_E ? QString() : QStringLiteral("_En");
    GameControl::getInstance()->playSound(
        QStringLiteral("./DependFile/Music/%1%2.mp3").arg(QLatin1String(baseName), suffix));
}

// ---- back and the game link ----

void GameDisplayPage::slotBackClicked()
{
    sendControl(DeviceProtocol::kControlStop);
    m_quitGameDialog->open();
}

void GameDisplayPage::quitGameFinished(int result)
{
    if (result == 1) {
        m_panels->bringBack();
        m_countDownTimer->stop();
        endFesSession();
        m_gameLink->sendGameClose();
    } else if (m_sessionState != 2 && m_sessionState != 3) {
        sendControl(DeviceProtocol::kControlStart);
    }
}

void GameDisplayPage::slotReceiveGameData()
{
    m_gameLink->slotReceiveGameData();
}

void GameDisplayPage::sendGameData(float speed, int left, int right, int angle)
{
    ST_GameLiveData data;
    data.speed = speed;
    data.left = left;
    data.right = right;
    data.angle = angle;
    m_gameLink->sendGameData(data);
}

void GameDisplayPage::slotSimulateData()
{
    sendGameData(10.0f, 50, 50, m_simulatedAngle);
    m_simulatedAngle = (m_simulatedAngle + 1) % kFullCircle;
}

void GameDisplayPage::slotHeartTimer()
{
    CCommunicateAPI::getInstance()->sendHeartBeat();
    if (++m_heartTicks % 4 != 0)
        return;
    const bool answering = m_heartReplies > 0;
    IceModule::getInstance()->setDeviceState(answering ? 1 : 0);
    ui->wifiSignal_Label->setPixmap(QPixmap(answering ? QStringLiteral(":/DependFile/Source/signal/deviceConnected.png")
                                                      : QStringLiteral(":/DependFile/Source/signal/deviceDisconnected.png")));
    // Every check starts a fresh count: replies from before it must not hide a link that died.
    m_heartReplies = 0;
    // Blind to spasm, emergency and over-speed, the session must not go on: it ends as by stop.
    // The stop may be lost on the dead link, so it goes again once the machine answers.
    if (!answering && m_sessionState == 1) {
        qWarning().noquote() << QStringLiteral("trainer link lost during the training: stopped");
        m_stopUnconfirmed = true;
        on_stop_Btn_clicked();
    } else if (answering && m_stopUnconfirmed) {
        m_stopUnconfirmed = false;
        qDebug().noquote() << QStringLiteral("trainer link back: stop sent again");
        sendControl(DeviceProtocol::kControlStop);
    }
}

void GameDisplayPage::on_sound_Button_clicked()
{
    m_soundDialog->open();
}

void GameDisplayPage::on_switchAFes_Btn_clicked()
{
    auto *box = new QMessageBox(QMessageBox::Warning, tr("提示"), tr("未检测到电刺激设备"), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void GameDisplayPage::on_switchFes_Btn_clicked() {}

// ---- parameters ----

void GameDisplayPage::slotSetBicycleParam(ST_BicycleParam st_setBicycleParam)
{
    const ST_BicycleParam &param = st_setBicycleParam;
    m_bicycleParam = param;
    m_remainSeconds = param.trainTime * 60;
    m_spasmDialog->setDirection(param.spasmDirection);
    showDirection(param.trainDirection);

    const int mode = param.trainMode;
    const bool speedOn = mode != 1;
    const bool resistanceOn = mode != 0 && mode != 3 && mode != 4;
    const bool directionOn = !(mode == 1 && param.trainLimp == 3);
    ui->speed_GroupBox->setEnabled(speedOn);
    ui->force_GroupBox->setEnabled(resistanceOn);
    ui->direction_GroupBox->setEnabled(directionOn);
    ui->upLimp_GroupBox->setVisible(param.trainLimp != 1);
    ui->downLimp_GroupBox->setVisible(param.trainLimp == 1 || param.trainLimp == 2);
    showLimbAndMode();

    ui->upSpeed_Label->setNum(mode == 1 ? 0 : int(param.trainSpeed));
    ui->upForce_Label->setNum(int(param.trainResistance));
    ui->upRemainTime_Label->setNum(int(param.trainTime));
    ui->downRemainTime_Label->setNum(int(param.trainTime));
    m_direction = param.trainDirection;
    checkDirectionButton(m_direction);

    const bool balanceShown = param.trainLimp != 3;
    ui->balance_GroupBox->setVisible(balanceShown);
    for (QLabel *label : {ui->leftBalance_Label, ui->rightBalance_Label, ui->leftBalanceText_Label,
                          ui->rightBalanceText_Label})
        label->setVisible(balanceShown);

    TrainingStatistics::fillFromParameters(m_trainReport, CurrentUserData::getInstance()->getCurrentPatientMsg(),
                                           param);
}

void GameDisplayPage::showLimbAndMode()
{
    switch (m_bicycleParam.trainLimp) {
    case 1:
        ui->title_Label->setText(tr("下肢训练"));
        break;
    case 2:
        ui->title_Label->setText(tr("上下肢训练"));
        break;
    default:
        ui->title_Label->setText(tr("上肢训练"));
        break;
    }
    ui->upCurrentStage_Label->setText(trainModeText(m_bicycleParam.trainMode));
}

// ---- live data ----

void GameDisplayPage::slotReceiveData(QByteArray frame)
{
    const LiveRecord record =
        LiveDataDecoder::decode(frame, m_bicycleParam.trainLimp, m_spasmDialog->isVisible());
    switch (record.kind) {
    case LiveRecord::Kind::HeartBeatReply:
        ++m_heartReplies;
        break;
    case LiveRecord::Kind::Version:
        IceModule::getInstance()->setLowerMachineVersion(record.version);
        break;
    case LiveRecord::Kind::LiveData:
        handleLiveRecord(record);
        break;
    case LiveRecord::Kind::Ignored:
        break;
    }
}

void GameDisplayPage::handleLiveRecord(const LiveRecord &record)
{
    if (m_trainState == 1) {
        showLiveValues(record);
        bool goOn = true;
        if (record.emergency) {
            goOn = handleEmergency();
        } else {
            emergencyReleased();
            m_gameLink->sendGameData(LiveDataDecoder::gameLiveData(record));
        }
        if (goOn) {
            if (record.spasm && !m_spasmDialog->isVisible())
                handleSpasm();
            if (IceModule::getInstance()->getGameType() == kGameTypeFes)
                sendMotionBlock(record.motionBlock);
        }
    } else if (record.emergencyCheckable) {
        if (record.emergency)
            handleEmergency();
        else
            emergencyReleased();
    }
    // A page that is not running watches the speeds as they came.
    watchOverSpeed(m_trainState == 1 ? record.fastest : record.rawFastest);
}

void GameDisplayPage::showLiveValues(const LiveRecord &record)
{
    if (record.upShown) {
        ui->upRealSpeed_Label->setNum(record.upSpeed);
        ui->upRealPower_Label->setNum(record.upPower);
    }
    if (record.downShown) {
        ui->downRealSpeed_Label->setNum(record.downSpeed);
        ui->downRealPower_Label->setNum(record.downPower);
    }
    m_currentSpeed = record.currentSpeed;
    ui->length_Label->setText(record.lengthText);
    if (StageNotice::appliesToMode(m_bicycleParam.trainMode))
        showStageNotice(record.stage);
    m_machineStage = record.stage;
    m_trainReport.upLimpLength = float(record.upLength);
    m_trainReport.downLimpLength = float(record.downLength);
    ui->leftHandAngle_label->setNum(record.leftHandAngle);
    ui->leftFootAngle_label->setNum(record.leftFootAngle);
    if (record.balanceShown) {
        ui->leftBalance_Label->setText(QStringLiteral("%1%").arg(record.balanceLeft));
        ui->rightBalance_Label->setText(QStringLiteral("%1%").arg(record.balanceRight));
    }
    if (SamplingCounter::programWide().countRecord())
        m_statistics.addLiveSample(record.balanceSampleUp, record.balanceSampleDown, record.fastest);
}

bool GameDisplayPage::handleEmergency()
{
    IceModule::getInstance()->setEmergencyState(1);
    if (m_emergencyDialog->isVisible())
        return false;
    if (m_bicycleParam.controlState != DeviceProtocol::kControlStop) {
        m_spasmDialog->stopSound();
        if (m_spasmDialog->isVisible())
            m_spasmDialog->close();
        m_gameLink->sendGameClose();
        m_emergencyDialog->showPrompt();
        m_countDownTimer->stop();
        m_trainReport.activeTime = 0;
        m_trainReport.passiveTime = 0;
        // The machine stopped itself; the stop code goes out with the next command.
        m_bicycleParam.controlState = DeviceProtocol::kControlStop;
    } else {
        if (isVisible())
            m_gameLink->sendGameClose();
        m_emergencyDialog->showPrompt();
    }
    endFesSession();
    return true;
}

void GameDisplayPage::emergencyReleased()
{
    IceModule::getInstance()->setEmergencyState(0);
    if (m_emergencyDialog->isVisible())
        m_emergencyDialog->closePrompt();
}

void GameDisplayPage::handleSpasm()
{
    const SpasmSeries::Step step = m_spasmSeries.spasm(m_direction);
    m_trainReport.spasmTimes = step.count;
    // The machine turns the other way after a spasm; the prompt's confirm tells it so.
    m_spasmDialog->setDirection(step.heldDirection);
    showDirection(step.heldDirection);
    m_directionAfterSpasm = step.shownDirection;
    m_stopAfterSpasm = step.stopsTraining;
    m_spasmDialog->showCount(step.count);
}

void GameDisplayPage::spasmPromptFinished()
{
    m_direction = m_directionAfterSpasm;
    checkDirectionButton(m_direction);
    if (m_stopAfterSpasm) {
        m_stopAfterSpasm = false;
        on_stop_Btn_clicked();
    }
}

void GameDisplayPage::sendMotionBlock(const QByteArray &block)
{
    FesControlDialog *fes = FesControlDialog::getInstance();
    for (int device = 1; device <= kFesDevices; ++device) {
        if (fes->isMuscleOpen(device))
            fes->sendMotionData(uint8_t(device), block);
    }
}

void GameDisplayPage::watchOverSpeed(int fastest)
{
    switch (m_overSpeedWatch.feed(fastest, m_quitBySpeedDialog->isVisible())) {
    case OverSpeedWatch::Action::OpenPrompt:
        m_quitBySpeedDialog->startCountDown();
        break;
    case OverSpeedWatch::Action::ClosePrompt:
        // Every slow record says so; a prompt that is not up has nothing to stop.
        if (m_quitBySpeedDialog->isVisible())
            m_quitBySpeedDialog->stopCountDown();
        break;
    case OverSpeedWatch::Action::None:
        break;
    }
}

void GameDisplayPage::showStageNotice(uint8_t stage)
{
    const StageNotice::Notice notice = m_stageNotice.feed(stage);
    if (!notice.show)
        return;
    m_stageText = notice.later;
    ui->warnTips_Label->setText(notice.now);
    ui->warnTips_Label->show();
    m_stageTextTimer->start();
}

// ---- speed, resistance, direction ----

int GameDisplayPage::shownSpeed() const
{
    return ui->upSpeed_Label->text().toInt();
}

int GameDisplayPage::shownResistance() const
{
    return ui->upForce_Label->text().toInt();
}

void GameDisplayPage::setSpeed(int speed)
{
    ui->upSpeed_Label->setNum(speed);
    CCommunicateAPI::getInstance()->sendRealTimeParam(DeviceProtocol::kItemSpeed, uint8_t(speed));
    m_bicycleParam.trainSpeed = uint8_t(speed);
}

void GameDisplayPage::setResistance(int level)
{
    ui->upForce_Label->setNum(level);
    CCommunicateAPI::getInstance()->sendRealTimeParam(DeviceProtocol::kItemResistance, uint8_t(level));
    m_bicycleParam.trainResistance = uint8_t(level);
}

bool GameDisplayPage::stepSpeed(int direction)
{
    const int speed = shownSpeed() + direction;
    if (speed < kSpeedMin || speed > kSpeedMax)
        return false;
    if (direction > 0 && m_sessionState != 1 && speed > kSpeedAskAbove)
        askOverThirty(speed);
    else
        setSpeed(speed);
    return true;
}

bool GameDisplayPage::stepResistance(int direction)
{
    const int level = shownResistance() + direction;
    if (level < kResistanceMin || level > kResistanceMax)
        return false;
    setResistance(level);
    return true;
}

void GameDisplayPage::askOverThirty(int speed)
{
    // The question takes the press over: holding on would ask again every step.
    m_speedRepeat->cancel();
    if (m_paramTips)
        return;
    m_paramTips = new ParamTipsDialog(this);
    m_paramTips->setMessage(tr("设定速度已超30r/min，确认使用该速度训练吗？"));
    connect(m_paramTips, &QDialog::finished, this, [this, speed](int result) {
        m_paramTips->deleteLater();
        m_paramTips = nullptr;
        // Declining keeps the speed in force, which is what the machine has.
        if (result == 1)
            setSpeed(speed);
    });
    m_paramTips->open();
}

void GameDisplayPage::on_upSpeedMinus_Btn_clicked() { stepSpeed(-1); }
void GameDisplayPage::on_upSpeedPlus_Btn_clicked() { stepSpeed(+1); }
void GameDisplayPage::on_upForceMinus_Btn_clicked() { stepResistance(-1); }
void GameDisplayPage::on_upForcePlus_Btn_clicked() { stepResistance(+1); }
void GameDisplayPage::on_upSpeedPlus_Btn_pressed() { m_speedRepeat->press(+1); }
void GameDisplayPage::on_upSpeedMinus_Btn_pressed() { m_speedRepeat->press(-1); }
void GameDisplayPage::on_upSpeedPlus_Btn_released() { m_speedRepeat->release(+1); }
void GameDisplayPage::on_upSpeedMinus_Btn_released() { m_speedRepeat->release(-1); }
void GameDisplayPage::on_upForcePlus_Btn_pressed() { m_resistanceRepeat->press(+1); }
void GameDisplayPage::on_upForceMinus_Btn_pressed() { m_resistanceRepeat->press(-1); }
void GameDisplayPage::on_upForcePlus_Btn_released() { m_resistanceRepeat->release(+1); }
void GameDisplayPage::on_upForceMinus_Btn_released() { m_resistanceRepeat->release(-1); }

void GameDisplayPage::on_forward_Btn_clicked() { toggleDirection(); }
void GameDisplayPage::on_backward_Btn_clicked() { toggleDirection(); }

void GameDisplayPage::toggleDirection()
{
    const uint8_t direction = m_direction == 1 ? 0 : 1;
    CCommunicateAPI::getInstance()->sendRealTimeParam(DeviceProtocol::kItemDirection, direction);
    m_bicycleParam.trainDirection = direction;
    m_direction = direction;
    showDirection(direction);
    // Either button reverses: the checked one must follow the direction, not the tap.
    checkDirectionButton(direction);
}

void GameDisplayPage::showDirection(uint8_t direction)
{
    m_shownDirection = direction;
    ui->direction_Label->setText(direction == 1 ? tr("正向") : tr("逆向"));
}

void GameDisplayPage::checkDirectionButton(uint8_t direction)
{
    (direction == 1 ? ui->forward_Btn : ui->backward_Btn)->setChecked(true);
}

// ---- side panels and channels ----

void GameDisplayPage::open_Btn_clicked() { m_panels->slide(true); }
void GameDisplayPage::close_Btn_clicked() { m_panels->slide(false); }

void GameDisplayPage::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_panels->toggleAt(qRound(event->localPos().x()));
}

bool GameDisplayPage::panelsShown() const
{
    return m_panels->isShown();
}

void GameDisplayPage::slotSetChannelAData(int *data, int size)
{
    // The page has no channel A labels: nothing to show.
    Q_UNUSED(data)
    Q_UNUSED(size)
}

void GameDisplayPage::slotSetChannelBData(int *data, int size)
{
    if (!data)
        return;
    const int count = qMin(size, int(m_channelBLabels.size()));
    for (int i = 0; i < count; ++i) {
        if (data[i] == 0)
            continue;
        m_channelValues[size_t(i)] = data[i];
        showChannelLabel(i);
    }
}

void GameDisplayPage::showChannelLabel(int index)
{
    static const char *const captions[] = {QT_TR_NOOP("通道A1:"), QT_TR_NOOP("通道A2:"), QT_TR_NOOP("通道B1:"),
                                           QT_TR_NOOP("通道B2:"), QT_TR_NOOP("通道C1:"), QT_TR_NOOP("通道C2:"),
                                           QT_TR_NOOP("通道D1:"), QT_TR_NOOP("通道D2:")};
    const int value = m_channelValues[size_t(index)];
    const QString caption = tr(captions[index]);
    m_channelBLabels.at(index)->setText(value == 0 ? caption : QStringLiteral("%1 %2").arg(caption).arg(value));
}

// ---- showing and language ----

void GameDisplayPage::showEvent(QShowEvent *event)
{
    ui->stop_Btn->hide();
    ui->pause_Btn->hide();
    ui->start_Btn->show();
    ui->length_Label->setText(QStringLiteral("0.00m"));
    ui->leftBalance_Label->setText(QStringLiteral("50%"));
    ui->rightBalance_Label->setText(QStringLiteral("50%"));

    m_trainState = 0;
    m_spasmSeries.reset();
    m_stopAfterSpasm = false;
    m_trainReport.spasmTimes = 0;
    m_trainReport.upLimpLength = 0;
    m_trainReport.downLimpLength = 0;
    for (QLabel *label : {ui->upRealSpeed_Label, ui->upRealPower_Label, ui->downRealSpeed_Label, ui->downRealPower_Label})
        label->setText(QStringLiteral("0"));
    m_statistics.clear();

    ui->user_Btn->setText(CurrentUserData::getInstance()->getCurrentPatientMsg().name);
    ui->back1_Btn->show();
    ui->back2_Btn->show();
    m_stageNotice.reset();
    ui->warnTips_Label->hide();
    m_sessionState = 3;

    ui->groupBox_6->setVisible(IceModule::getInstance()->getGameType() == kGameTypeFes);
    applyLanguage();
    QWidget::showEvent(event);
}

void GameDisplayPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showLimbAndMode();
        showDirection(m_shownDirection);
        for (int i = 0; i < m_channelBLabels.size(); ++i)
            showChannelLabel(i);
        applyLanguage();
    }
    QWidget::changeEvent(event);
}

void GameDisplayPage::applyLanguage()
{
    const bool english = interfaceLanguage() != Chinese_E;
    const QString suffix = english ? QStringLiteral("_E.png") : QStringLiteral(".png");
    ui->start_Btn->setStyleSheet(sessionButtonSheet(QStringLiteral("start") + suffix));
    ui->pause_Btn->setStyleSheet(sessionButtonSheet(QStringLiteral("pause") + suffix));
    ui->stop_Btn->setStyleSheet(sessionButtonSheet(QStringLiteral("stop") + suffix));
    // English mode names are longer: the page's style sheet gives them a smaller font.
    ui->upCurrentStage_Label->setProperty("english", english);
    ui->upCurrentStage_Label->style()->unpolish(ui->upCurrentStage_Label);
    ui->upCurrentStage_Label->style()->polish(ui->upCurrentStage_Label);
}
