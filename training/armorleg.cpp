#include "training/armorleg.h"

#include "app/languagemanager.h"
#include "database/cdatabaseinterface.h"
#include "game/gamecontrol.h"
#include "shell/mainwindowpagecontrol.h"
#include "training/advanceddialog.h"
#include "training/horizontaltoverticaldialog.h"
#include "training/icemodule.h"
#include "training/machinestartdialog.h"
#include "training/paramtipsdialog.h"
#include "training/prescriptiondialog.h"
#include "training/protectgamestart.h"
#include "training/verticaltohorizondialog.h"
#include "ui_armorleg.h"
#include "users/currentuserdata.h"

#include <QButtonGroup>
#include <QDebug>
#include <QTimer>

using ModeSelection::Limb;
using ModeSelection::Mode;

namespace {

constexpr int kSpeedMin = 2;
constexpr int kSpeedMax = 55;
constexpr int kSpeedAskAbove = 30;
constexpr int kVerticalGame = 3;

const QString kImageFolder = QStringLiteral(":/DependFile/Source/trainDisplayPage/");

const char *const kImageBase = "imageBase";     // "<base>_check.png" and "<base>_uncheck.png"
const char *const kForbidImage = "forbidImage"; // shown while the button cannot be checked
const char *const kTextButton = "textButton";   // a mode button: its caption follows the state

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString imageSheet(const QString &image)
{
    return QStringLiteral("border-image: url(%1%2); background: transparent; border: none; padding: 0px;")
        .arg(kImageFolder, image);
}

} // namespace

ArmOrLeg::ArmOrLeg(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::ArmOrLeg>())
{
    ui->setupUi(this);

    m_advancedDialog = new AdvancedDialog(this);
    m_prescriptionDialog = new PrescriptionDialog(this);
    m_machineStartDialog = new MachineStartDialog(this);
    m_toHorizontalDialog = new VerticalToHorizonDialog(this);
    m_toVerticalDialog = new HorizontalToVerticalDialog(this);
    m_loadingDialog = new ProtectGameStart(this);
    connect(m_toHorizontalDialog, &QDialog::finished, this, &ArmOrLeg::positionAnswered);
    connect(m_toVerticalDialog, &QDialog::finished, this, &ArmOrLeg::positionAnswered);

    m_startLockTimer = new QTimer(this);
    m_startLockTimer->setObjectName(QStringLiteral("startLockTimer"));
    m_startLockTimer->setSingleShot(true);
    m_startLockTimer->setInterval(kStartLockMs);
    connect(m_startLockTimer, &QTimer::timeout, this, [this] { m_startLocked = false; });
    m_loadingTimer = new QTimer(this);
    m_loadingTimer->setObjectName(QStringLiteral("loadingTimer"));
    m_loadingTimer->setSingleShot(true);
    m_loadingTimer->setInterval(kLoadingMs);
    connect(m_loadingTimer, &QTimer::timeout, m_loadingDialog, &QDialog::close);

    // One limb and one mode at a time.
    m_limbGroup = new QButtonGroup(this);
    m_modeGroup = new QButtonGroup(this);
    const struct
    {
        QPushButton *button;
        const char *base;
        const char *forbidden;
    } limbs[] = {{ui->upLimp_Button, "upLimp", "upLimp_forbid.png"},
                 {ui->verticalUpLimp_Button, "verticalUpLimp", "verticalUpLimp_forbid.png"},
                 {ui->downLimp_Button, "downLimp", "limbModel_forbidCheck.png"},
                 {ui->upDownLimp_Button, "upDownLimp", "upDown_forbidcheck.png"}};
    for (const auto &limb : limbs) {
        limb.button->setProperty(kImageBase, QLatin1String(limb.base));
        limb.button->setProperty(kForbidImage, QLatin1String(limb.forbidden));
        m_limbGroup->addButton(limb.button);
    }
    for (QPushButton *button : {ui->passive1_Button, ui->active1_Button, ui->assistant1_Button, ui->speedTrain_Button,
                                ui->activePassive1_Button}) {
        button->setProperty(kImageBase, QStringLiteral("mode"));
        button->setProperty(kForbidImage, QStringLiteral("mode_forbid.png"));
        button->setProperty(kTextButton, true);
        m_modeGroup->addButton(button);
    }
    for (QAbstractButton *button : m_limbGroup->buttons() + m_modeGroup->buttons())
        refreshImage(button);

    for (int speed = kSpeedMin; speed <= kSpeedMax; ++speed)
        ui->upSpeed2_ComboBox->addItem(QString::number(speed));

    m_bicycleParam = ModeSelection::defaultParam();
    m_patientID = int(CurrentUserData::getInstance()->getCurrentPatientMsg().ID);
    ui->stackedWidget->setCurrentIndex(0);
    ui->advanced1_Btn->hide();
    setForbidden(ui->downLimp_Button, true);
    setForbidden(ui->upDownLimp_Button, true);
    selectDefaults();
    setFesMode(false);
    qDebug().noquote() << QStringLiteral("单上肢启动");
}

ArmOrLeg::~ArmOrLeg() = default;

int ArmOrLeg::interfaceLanguage() const
{
    return LanguageManager::getInstance()->getLanguage();
}

// ---- variants and showing ----

void ArmOrLeg::setFesMode(bool fes)
{
    const bool changed = fes != m_fesMode;
    m_fesMode = fes;
    // A selection kept across the parameter page belongs to the variant it was made in.
    if (changed)
        isMoreConfgClick = false;
    if (fes) {
        setForbidden(ui->upDownLimp_Button, true);
        setForbidden(ui->verticalUpLimp_Button, true);
        for (QPushButton *button : {ui->passive1_Button, ui->active1_Button, ui->assistant1_Button, ui->speedTrain_Button})
            setForbidden(button, true);
        // The stimulation variant shows what it cannot offer, greyed.
        showBothLimbButtons(true);
        ui->confirm_Btn->hide();
        ui->next_Btn->show();
    } else {
        qDebug().noquote() << "isMoreConfgClick:" << boolText(isMoreConfgClick);
        if (isMoreConfgClick)
            return;
        setForbidden(ui->upDownLimp_Button, false);
        setForbidden(ui->verticalUpLimp_Button, false);
        showBothLimbButtons(false);
        for (QAbstractButton *button : m_modeGroup->buttons())
            setForbidden(static_cast<QPushButton *>(button), false);
        ui->confirm_Btn->show();
        ui->next_Btn->hide();
    }
    // A button made uncheckable drops its check silently: never leave the page without a choice.
    if (!m_limbGroup->checkedButton())
        ui->upLimp_Button->setChecked(true);
    if (!m_modeGroup->checkedButton())
        ui->activePassive1_Button->setChecked(true);
}

void ArmOrLeg::showBothLimbButtons(bool shown)
{
    for (QWidget *widget : std::initializer_list<QWidget *>{ui->upDownLimp_Button, ui->upDownLimp_Label,
                                                            ui->downLimp_Button, ui->downLimp_Label})
        widget->setVisible(shown);
}

void ArmOrLeg::showEvent(QShowEvent *event)
{
    m_startClicks = 0;
    qDebug().noquote() << "m_isImportParamWidget " << boolText(m_isImportParamWidget) << boolText(m_paramReceived);
    if (m_isImportParamWidget || m_paramReceived)
        m_isImportParamWidget = false;
    else
        m_bicycleParam = ModeSelection::defaultParam();

    if (isMoreConfgClick)
        isMoreConfgClick = false;
    else
        selectDefaults();

    const int patient = int(CurrentUserData::getInstance()->getCurrentPatientMsg().ID);
    if (patient != m_patientID) {
        m_patientID = patient;
        selectDefaults();
        // Parameters set for the previous patient are not this patient's.
        resetParameters();
    }
    logSelection();
    QWidget::showEvent(event);
}

void ArmOrLeg::resetParameters()
{
    m_bicycleParam = ModeSelection::defaultParam();
    m_isImportParamWidget = false;
    m_paramReceived = false;
}

void ArmOrLeg::selectDefaults()
{
    ui->upLimp_Button->setChecked(true);
    ui->activePassive1_Button->setChecked(true);
    selectGame(0);
}

void ArmOrLeg::logSelection() const
{
    qDebug().noquote() << "训练类型:" << boolText(ui->upLimp_Button->isChecked())
                       << boolText(ui->verticalUpLimp_Button->isChecked()) << boolText(ui->downLimp_Button->isChecked())
                       << boolText(ui->upDownLimp_Button->isChecked()) << boolText(ui->passive1_Button->isChecked())
                       << boolText(ui->active1_Button->isChecked()) << boolText(ui->assistant1_Button->isChecked())
                       << boolText(ui->speedTrain_Button->isChecked())
                       << boolText(ui->activePassive1_Button->isChecked());
}

void ArmOrLeg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QWidget::changeEvent(event);
}


// ---- buttons and their pictures ----

void ArmOrLeg::setForbidden(QPushButton *button, bool forbidden)
{
    button->setCheckable(!forbidden);
    refreshImage(button);
}

void ArmOrLeg::refreshImage(QAbstractButton *button)
{
    QString image;
    if (!button->isCheckable())
        image = button->property(kForbidImage).toString();
    else
        image = button->property(kImageBase).toString()
                + (button->isChecked() ? QStringLiteral("_check.png") : QStringLiteral("_uncheck.png"));
    QString sheet = imageSheet(image);
    if (button->property(kTextButton).toBool()) {
        const char *colour = !button->isCheckable() ? "#A9B4BE" : button->isChecked() ? "#FFFFFF" : "#1E3A4C";
        sheet += QStringLiteral(" color: %1; font-size: 26px; font-weight: bold;").arg(QLatin1String(colour));
    }
    button->setStyleSheet(sheet);
}

bool ArmOrLeg::offered(const QPushButton *button)
{
    return button->isCheckable() && !button->isHidden();
}

QPushButton *ArmOrLeg::limbButton(Limb limb) const
{
    switch (limb) {
    case Limb::Horizontal:
        break;
    case Limb::Lower:
        return ui->downLimp_Button;
    case Limb::UpperAndLower:
        return ui->upDownLimp_Button;
    case Limb::Vertical:
        return ui->verticalUpLimp_Button;
    }
    return ui->upLimp_Button;
}

QPushButton *ArmOrLeg::modeButton(Mode mode) const
{
    switch (mode) {
    case Mode::Passive:
        return ui->passive1_Button;
    case Mode::Active:
        return ui->active1_Button;
    case Mode::Assisted:
        return ui->assistant1_Button;
    case Mode::Isokinetic:
        return ui->speedTrain_Button;
    case Mode::ActivePassive:
        break;
    }
    return ui->activePassive1_Button;
}

Limb ArmOrLeg::checkedLimb() const
{
    for (Limb limb : {Limb::Horizontal, Limb::Vertical, Limb::Lower, Limb::UpperAndLower}) {
        if (limbButton(limb)->isChecked())
            return limb;
    }
    return Limb::Horizontal;
}

Mode ArmOrLeg::checkedMode() const
{
    for (Mode mode : {Mode::Passive, Mode::Active, Mode::Assisted, Mode::Isokinetic, Mode::ActivePassive}) {
        if (modeButton(mode)->isChecked())
            return mode;
    }
    return Mode::ActivePassive;
}

void ArmOrLeg::on_upLimp_Button_toggled(bool) { refreshImage(ui->upLimp_Button); }
void ArmOrLeg::on_downLimp_Button_toggled(bool) { refreshImage(ui->downLimp_Button); }
void ArmOrLeg::on_activePassive1_Button_toggled(bool) { refreshImage(ui->activePassive1_Button); }
void ArmOrLeg::on_passive1_Button_toggled(bool) { refreshImage(ui->passive1_Button); }
void ArmOrLeg::on_active1_Button_toggled(bool) { refreshImage(ui->active1_Button); }
void ArmOrLeg::on_assistant1_Button_toggled(bool) { refreshImage(ui->assistant1_Button); }
void ArmOrLeg::on_speedTrain_Button_toggled(bool) { refreshImage(ui->speedTrain_Button); }

void ArmOrLeg::on_upDownLimp_Button_toggled(bool checked)
{
    refreshImage(ui->upDownLimp_Button);
    // Upper and lower limb together train passive or active/passive only.
    if (checked)
        ui->activePassive1_Button->setChecked(true);
    for (QPushButton *button : {ui->active1_Button, ui->assistant1_Button, ui->speedTrain_Button})
        setForbidden(button, checked || m_fesMode);
}

void ArmOrLeg::on_verticalUpLimp_Button_toggled(bool checked)
{
    refreshImage(ui->verticalUpLimp_Button);
    // The vertical crank has one game of its own; the arrows rest while it is chosen.
    selectGame(checked ? kVerticalGame : 0);
    ui->backward_Btn->setStyleSheet(imageSheet(checked ? QStringLiteral("left_forbid.png") : QStringLiteral("leftChange.png")));
    ui->forward_Btn->setStyleSheet(imageSheet(checked ? QStringLiteral("right_forbid.png") : QStringLiteral("rightChange.png")));
}

// ---- games ----

void ArmOrLeg::selectGame(int index)
{
    m_gameIndex = index;
    ui->gameDisplay_Btn->setStyleSheet(imageSheet(QStringLiteral("game%1.png").arg(index + 1)));
    if (!ui->verticalUpLimp_Button->isChecked()) {
        ui->backward_Btn->setStyleSheet(imageSheet(QStringLiteral("leftChange.png")));
        ui->forward_Btn->setStyleSheet(imageSheet(QStringLiteral("rightChange.png")));
    }
}

void ArmOrLeg::stepGame(int step)
{
    if (!ui->verticalUpLimp_Button->isChecked()) {
        // The arrows go round the first three games; the fourth, from an import, leads back into them.
        const int cycle = ModeSelection::kGameCount - 1;
        const int from = m_gameIndex >= cycle ? (step > 0 ? cycle - 1 : 0) : m_gameIndex;
        selectGame((from + step + cycle) % cycle);
    }
    qDebug().noquote() << QStringLiteral("游戏ID：") << m_gameIndex + 1;
}

void ArmOrLeg::on_forward_Btn_clicked() { stepGame(+1); }
void ArmOrLeg::on_backward_Btn_clicked() { stepGame(-1); }

// ---- parameters and prescription ----

void ArmOrLeg::slotRecvTrainParamChanged(ST_BicycleParam param)
{
    qDebug().noquote() << QStringLiteral("时间、阻力、速度、转向、等级、是否保护") << param.trainTime << param.trainResistance
                       << param.trainSpeed << param.trainDirection << param.spasmLevel << param.spasmProtect;
    m_bicycleParam = param;
    m_isImportParamWidget = true;
    m_paramReceived = true;
}

void ArmOrLeg::on_importPrescription_Btn_clicked()
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    const int patient = int(CurrentUserData::getInstance()->getCurrentPatientMsg().ID);
    if (!db->execQuery(QStringLiteral("select * from TrainParamTable  where ID = ? order by 'ID'"), {patient})) {
        qWarning().noquote() << QStringLiteral("导入处方失败") << db->getLastError();
        m_prescriptionDialog->open();
        return;
    }
    if (db->getValuesSize() < 1) {
        m_prescriptionDialog->open();
        return;
    }
    const ST_TrainParam p = ModeSelection::checkedPrescription(variantMapToTrainParam(db->getValues(0, 1).value(0)));
    qDebug().noquote() << QStringLiteral("速度、阻力：") << p.trainSpeed << p.trainResistance;

    QPushButton *limb = limbButton(Limb(p.trainLimp));
    if (!offered(limb)) {
        qWarning().noquote() << QStringLiteral("导入处方：trainLimp = %1 本页不可选，改用 0").arg(p.trainLimp);
        limb = ui->upLimp_Button;
    }
    limb->setChecked(true);
    Mode mode = Mode::ActivePassive;
    ModeSelection::modeForCode(p.trainMode, mode);
    QPushButton *modeBtn = modeButton(mode);
    if (!offered(modeBtn)) {
        qWarning().noquote() << QStringLiteral("导入处方：trainMode = %1 本页不可选，改用主被动").arg(p.trainMode);
        modeBtn = ui->activePassive1_Button;
    }
    modeBtn->setChecked(true);
    // The vertical crank keeps its own game.
    if (!ui->verticalUpLimp_Button->isChecked())
        selectGame(p.gameID - 1);

    m_bicycleParam.trainTime = uint8_t(p.trainTime);
    m_bicycleParam.trainResistance = uint8_t(p.trainResistance);
    m_bicycleParam.trainSpeed = uint8_t(p.trainSpeed);
    m_bicycleParam.spasmProtect = uint8_t(p.spasmProtect);
    m_bicycleParam.spasmLevel = uint8_t(p.spasmLevel);
    m_bicycleParam.trainDirection = uint8_t(p.trainDirection);
    emit signalBicycleParamChanged(m_bicycleParam);
}

// ---- the other pages and dialogs ----

void ArmOrLeg::on_moreConfigure_Btn_clicked()
{
    isMoreConfgClick = true;
    MainWindowPageControl::getInstance()->setCurrentPage(TrainParamPage_E);
}

void ArmOrLeg::on_next_Btn_clicked()
{
    MainWindowPageControl::getInstance()->setCurrentPage(FesBicyclePage_E);
}

// The advanced settings stay in their dialog; nothing here reads them.
void ArmOrLeg::on_advanced1_Btn_clicked() { m_advancedDialog->open(); }
void ArmOrLeg::on_upAdvanced2_Btn_clicked() { m_advancedDialog->open(); }
void ArmOrLeg::on_downAdvanced2_Btn_clicked() { m_advancedDialog->open(); }

void ArmOrLeg::on_YiJianShangJi_Btn_clicked()
{
    m_machineStartDialog->open();
}

void ArmOrLeg::on_upSpeed2_ComboBox_currentTextChanged(const QString &text)
{
    if (text.toInt() <= kSpeedAskAbove || m_paramTips)
        return;
    m_paramTips = new ParamTipsDialog(this);
    m_paramTips->setMessage(tr("设定速度已超30r/min，确认使用该速度训练吗？"));
    connect(m_paramTips, &QDialog::finished, this, [this](int result) {
        m_paramTips->deleteLater();
        m_paramTips = nullptr;
        if (result != 1)
            ui->upSpeed2_ComboBox->setCurrentIndex(kSpeedIndex30);
    });
    m_paramTips->open();
}

// ---- start ----

void ArmOrLeg::on_confirm_Btn_clicked()
{
    requestStart(StartKind::Cycling);
}

void ArmOrLeg::slotStartGame()
{
    IceModule::getInstance()->setGameType(ModeSelection::kGameTypeFes);
    requestStart(StartKind::FesCycling);
}

void ArmOrLeg::requestStart(StartKind kind)
{
    ++m_startClicks;
    if (kind == StartKind::FesCycling)
        qDebug().noquote() << QStringLiteral("次数：") << m_startClicks;
    if (m_startClicks > 1)
        return;
    m_pendingStart = kind;
    // The crank must stand as the limb needs it; the answer comes back by signal.
    if (ui->upLimp_Button->isChecked() || ui->upDownLimp_Button->isChecked())
        m_toHorizontalDialog->open();
    else if (ui->verticalUpLimp_Button->isChecked())
        m_toVerticalDialog->open();
    else
        continueStart();
}

void ArmOrLeg::positionAnswered(int result)
{
    if (result == 1) {
        continueStart();
        return;
    }
    m_startClicks = 0;
}

void ArmOrLeg::continueStart()
{
    const Limb limb = checkedLimb();
    const Mode mode = checkedMode();
    const int gameNumber = m_gameIndex + 1;
    m_paramReceived = false;
    const ST_TrainParam prescription = ModeSelection::prescription(m_patientID, limb, mode, m_bicycleParam, gameNumber);
    GameControl::getInstance()->setTrainParam(prescription);
    qDebug().noquote() << QStringLiteral("st_trainParam.trainDirection：") << prescription.trainDirection;

    if (m_startLocked)
        return;
    m_startLocked = true;
    m_startLockTimer->start();

    IceModule *hub = IceModule::getInstance();
    if (m_pendingStart == StartKind::Cycling)
        hub->setGameType(ModeSelection::kGameTypeCycling);
    GameControl::getInstance()->playSound(interfaceLanguage() == Chinese_E
                                              ? QStringLiteral("./DependFile/Music/sitdown.MP3")
                                              : QStringLiteral("./DependFile/Music/sitdown_En.MP3"));
    emit signalGetBicycleParam();

    const ST_BicycleParam record = ModeSelection::startRecord(limb, mode, m_bicycleParam);
    GameControl::getInstance()->setCurrentGameID(gameNumber);
    hub->setBicycleParam(record);
    if (m_pendingStart == StartKind::FesCycling)
        hub->sendChannelBCurrents();

    qDebug().noquote() << QStringLiteral("游戏方向：") << record.trainDirection;
    qDebug().noquote() << QStringLiteral("训练时间：") << record.trainTime;
    qDebug().noquote() << QStringLiteral("训练阻力：") << record.trainResistance;
    qDebug().noquote() << QStringLiteral("未抓取前：") << window()->internalWinId();

    m_loadingDialog->open();
    MainWindowPageControl::getInstance()->setCurrentPage(TrainingPage_E);
    m_loadingTimer->start();
}
