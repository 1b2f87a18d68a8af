#include "fes/fessetting.h"

#include "app/languagemanager.h"
#include "fes/channeldialog.h"
#include "fes/channelonlydialog.h"
#include "fes/fescontroldialog.h"
#include "fes/fesparambtn.h"
#include "fes/fesprotocol.h"
#include "fes/festotalparamdialog.h"
#include "fes/musclebutton.h"
#include "fes/recipexmlcontrol.h"
#include "ui_fessetting.h"

#include <QButtonGroup>
#include <QDebug>
#include <QEvent>
#include <QHeaderView>
#include <QMessageBox>
#include <QTableWidget>
#include <QTimer>

namespace {

struct Parameter
{
    const char *chinese;
    const char *english;
    const char *unit;
    int defaultValue;
    int min;
    int max;
};

// Titles, units, defaults and the ranges of the value dialog. The open and close times get the
// rise and fall times' kind of range, stretched to a minute.
const Parameter kTrainTime{QT_TRANSLATE_NOOP("FesSetting", "治疗时间"), QT_TRANSLATE_NOOP("FesSetting", "Treatment Time"), "min", 20, 1, 120};
const Parameter kFrequency{QT_TRANSLATE_NOOP("FesSetting", "全局频率"), QT_TRANSLATE_NOOP("FesSetting", "Global Frequency"), "Hz", 100, FesProtocol::kFrequencyMin, FesProtocol::kFrequencyMax};
const Parameter kRiseTime{QT_TRANSLATE_NOOP("FesSetting", "上升时间"), QT_TRANSLATE_NOOP("FesSetting", "Rise Time"), "s", 2, 0, 30};
const Parameter kFallTime{QT_TRANSLATE_NOOP("FesSetting", "下降时间"), QT_TRANSLATE_NOOP("FesSetting", "Fall Time"), "s", 2, 0, 30};
const Parameter kOpenTime{QT_TRANSLATE_NOOP("FesSetting", "打开时间"), QT_TRANSLATE_NOOP("FesSetting", "Open Time"), "s", 10, 0, 60};
const Parameter kCloseTime{QT_TRANSLATE_NOOP("FesSetting", "关闭时间"), QT_TRANSLATE_NOOP("FesSetting", "Close Time"), "s", 10, 0, 60};
const Parameter kPulseWidth{QT_TRANSLATE_NOOP("FesSetting", "全局脉宽"), QT_TRANSLATE_NOOP("FesSetting", "Global pulse duration"), "μs", 200, FesProtocol::kPulseWidthMin, FesProtocol::kPulseWidthMax};

const char *const kChannelTitles[] = {"A1", "A2", "B1", "B2", "C1", "C2", "D1", "D2"};

using ChannelMap::channelOf;
using ChannelMap::deviceOf;

constexpr int kAngleLimit = 360; // recipe angles are 0..359 degrees of the crank

ST_ChannelParam emptyRecord()
{
    ST_ChannelParam record;
    record.frequency = 10;
    record.pulseWidth = 200;
    return record;
}

uint16_t milliseconds(int seconds)
{
    return uint16_t(seconds * 1000);
}

QString text(const char *source)
{
    return QCoreApplication::translate("FesSetting", source);
}

} // namespace

FesSetting::FesSetting(QWidget *parent)
    : QWidget(parent),
      ui(new Ui::FesSetting),
      m_trainTimer(new QTimer(this)),
      m_batteryTimer(new QTimer(this))
{
    ui->setupUi(this);
    m_switch.fill(1);
    m_configured.fill(false);
    ui->stackedWidget->setCurrentIndex(0);

    m_valueDialog = new FesTotalParamDialog(this);
    m_valueDialog->setObjectName(QStringLiteral("value_Dialog"));
    m_channelDialog = new ChannelDialog(this);
    m_channelDialog->setObjectName(QStringLiteral("channel_Dialog"));
    m_channelOnlyDialog = new ChannelOnlyDialog(this);
    m_channelOnlyDialog->setObjectName(QStringLiteral("channelOnly_Dialog"));
    m_recipes = new RecipeXmlControl;
    m_trainTimer->setObjectName(QStringLiteral("train_Timer"));
    m_batteryTimer->setObjectName(QStringLiteral("battery_Timer"));

    setTitles();
    fillRecipeTable();
    for (int i = 0; i < kChannelCount; ++i) {
        MuscleButton *button = channelButton(i);
        button->setTitle(QString::fromLatin1(kChannelTitles[i]), i + 1);
        button->setEnabled(false);
        connect(button, &MuscleButton::muscleButtonClicked, this, &FesSetting::slotChannelWidgetClicked);
    }
    connect(ui->trainTime_Btn, &FesParamBtn::fesButtonClicked, this, &FesSetting::slotTrainTimeBtnClicked);
    connect(ui->frequent_Btn, &FesParamBtn::fesButtonClicked, this, &FesSetting::slotFrequentBtnClicked);
    connect(ui->upTime_Btn, &FesParamBtn::fesButtonClicked, this, &FesSetting::slotUpTimeBtnClicked);
    connect(ui->downTime_Btn, &FesParamBtn::fesButtonClicked, this, &FesSetting::slotDownTimeBtnClicked);
    connect(ui->openTime_Btn, &FesParamBtn::fesButtonClicked, this, &FesSetting::slotOpenTimeBtnClicked);
    connect(ui->closeTime_Btn, &FesParamBtn::fesButtonClicked, this, &FesSetting::slotCloseTimeBtnClicked);
    connect(ui->plus_Btn, &FesParamBtn::fesButtonClicked, this, &FesSetting::slotPlusBtnClicked);

    m_boxGroup = new QButtonGroup(this);
    m_boxGroup->addButton(ui->FESA_Btn);
    m_boxGroup->addButton(ui->FESB_Btn);
    ui->FESA_Btn->hide();
    ui->FESB_Btn->hide();

    m_trainTimer->setInterval(kTrainTimerMs);
    connect(m_trainTimer, &QTimer::timeout, this, &FesSetting::slotTrainTimer);
    m_batteryTimer->setInterval(kBatteryTimerMs);
    connect(m_batteryTimer, &QTimer::timeout, this, &FesSetting::slotGetBattery);

    FesControlDialog *manager = FesControlDialog::getInstance();
    connect(manager, &FesControlDialog::signalGetBattery, this, &FesSetting::slotBatteryChanged);
    connect(manager, &FesControlDialog::signalDeviceStateChanged, this, &FesSetting::slotDeviceStateChanged);
    connect(manager, &FesControlDialog::signalLinkStateChanged, this, &FesSetting::slotLinkStateChanged);

    resetParameters();
    setFesType(PureStimulation_E);
    m_batteryTimer->start();
}

FesSetting::~FesSetting()
{
    // The page going away ends its treatment like any other way.
    if (m_running)
        stopTreatment();
    delete m_recipes;
    delete ui;
}

MuscleButton *FesSetting::channelButton(int index) const
{
    static const char *const names[] = {"channelA1_Widget", "channelA2_Widget", "channelB1_Widget",
                                        "channelB2_Widget", "channelC1_Widget", "channelC2_Widget",
                                        "channelD1_Widget", "channelD2_Widget"};
    return findChild<MuscleButton *>(QLatin1String(names[index]));
}

QList<FesParamBtn *> FesSetting::parameterButtons() const
{
    return {ui->trainTime_Btn, ui->frequent_Btn, ui->upTime_Btn, ui->downTime_Btn,
            ui->openTime_Btn, ui->closeTime_Btn, ui->plus_Btn};
}

void FesSetting::setTitles()
{
    const bool english = LanguageManager::getInstance()->getLanguage() == English_E;
    const std::array<std::pair<FesParamBtn *, const Parameter *>, 7> buttons{{
        {ui->trainTime_Btn, &kTrainTime}, {ui->frequent_Btn, &kFrequency}, {ui->upTime_Btn, &kRiseTime},
        {ui->downTime_Btn, &kFallTime}, {ui->openTime_Btn, &kOpenTime}, {ui->closeTime_Btn, &kCloseTime},
        {ui->plus_Btn, &kPulseWidth}}};
    for (const auto &entry : buttons) {
        const Parameter &parameter = *entry.second;
        entry.first->setTitleAndUnit(text(english ? parameter.english : parameter.chinese), QString::fromUtf8(parameter.unit));
    }
    if (m_running)
        ui->trainTime_Btn->setTitleAndUnit(tr("剩余时间"), QString::fromUtf8(kTrainTime.unit));
}

// The second page lists the crank-angle windows of the recipes, for the therapist's reference.
void FesSetting::fillRecipeTable()
{
    const QList<ST_RecipeParam> forward = m_recipes->getRecipeList();
    const QList<ST_RecipeParam> reverse = m_recipes->getRecipeReverseList();
    QTableWidget *table = ui->recipe_TableWidget;
    table->setColumnCount(3);
    table->setHorizontalHeaderLabels({tr("肌肉"), tr("正向角度"), tr("逆向角度")});
    table->setRowCount(forward.size());
    for (int row = 0; row < forward.size(); ++row) {
        const ST_RecipeParam &f = forward.at(row);
        table->setItem(row, 0, new QTableWidgetItem(f.name));
        table->setItem(row, 1, new QTableWidgetItem(QStringLiteral("%1° ~ %2°").arg(f.startAngle).arg(f.stopAngle)));
        const QString back = row < reverse.size()
            ? QStringLiteral("%1° ~ %2°").arg(reverse.at(row).startAngle).arg(reverse.at(row).stopAngle)
            : QString();
        table->setItem(row, 2, new QTableWidgetItem(back));
    }
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void FesSetting::resetParameters()
{
    ui->trainTime_Btn->setValue(kTrainTime.defaultValue);
    ui->frequent_Btn->setValue(kFrequency.defaultValue);
    ui->upTime_Btn->setValue(kRiseTime.defaultValue);
    ui->downTime_Btn->setValue(kFallTime.defaultValue);
    ui->openTime_Btn->setValue(kOpenTime.defaultValue);
    ui->closeTime_Btn->setValue(kCloseTime.defaultValue);
    ui->plus_Btn->setValue(kPulseWidth.defaultValue);
}

void FesSetting::setFesType(int mode)
{
    m_fesType = mode;
    const bool pure = mode == PureStimulation_E;
    ui->trainTime_Btn->setVisible(pure);
    ui->upTime_Btn->setVisible(pure);
    ui->downTime_Btn->setVisible(pure);
    ui->openTime_Btn->setVisible(pure);
    ui->closeTime_Btn->setVisible(pure);
    ui->plus_Btn->setVisible(!pure);
    ui->frequent_Btn->setVisible(true);
}

void FesSetting::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A running treatment keeps its parameters, its countdown, its channels and its stop button;
    // resetting them here would leave the outputs on behind a "start" button.
    if (m_running)
        return;
    resetParameters();
    ui->OK_Btn->setText(tr("开始"));
    if (m_fesType == PureStimulation_E) {
        qDebug().noquote() << QStringLiteral("E_fesType:单纯电刺激");
        for (int i = 0; i < kChannelCount; ++i) {
            resetChannel(i);
            qDebug().noquote() << QStringLiteral("窗体i:") << i;
        }
        return;
    }
    for (int i = 0; i < kChannelCount; ++i) {
        if (m_configured[size_t(i)]) {
            const ST_ChannelParam &saved = m_savedRecords[size_t(i)];
            channelButton(i)->setData(saved);
            channelButton(i)->setSelected(saved.switchFlag != 0);
            channelButton(i)->setMode(FesCycling_E);
            setRecipeMissing(i, m_recipeMissing[size_t(i)]);
            qDebug().noquote() << QStringLiteral("FES车点击为1:") << i;
        } else {
            resetChannel(i);
            qDebug().noquote() << QStringLiteral("FES车点击为0:") << i;
        }
    }
}

// The tile, its selection and the dialog's switch start over; the box hears of it before
// anything else is sent to that channel.
void FesSetting::resetChannel(int index)
{
    MuscleButton *button = channelButton(index);
    button->setData(emptyRecord());
    button->setSelected(false);
    button->setMode(PureStimulation_E);
    m_switch[size_t(index)] = 1;
    setRecipeMissing(index, false);
    m_zeroPending[size_t(index)] = true;
}

void FesSetting::prepareChannel(int index)
{
    if (!m_zeroPending[size_t(index)])
        return;
    m_zeroPending[size_t(index)] = false;
    FesControlDialog::getInstance()->setCurrent(deviceOf(index), channelOf(index), 0);
}

void FesSetting::setRecipeMissing(int index, bool missing)
{
    m_recipeMissing[size_t(index)] = missing;
    channelButton(index)->setNotice(missing ? tr("无配方") : QString());
}

void FesSetting::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        qDebug().noquote() << QStringLiteral("改变语言");
        setTitles();
        fillRecipeTable();
        ui->OK_Btn->setText(m_running ? tr("结束") : tr("开始"));
        for (int i = 0; i < kChannelCount; ++i)
            setRecipeMissing(i, m_recipeMissing[size_t(i)]);
    }
    QWidget::changeEvent(event);
}

void FesSetting::editParameter(FesParamBtn *button, const QString &title, const QString &unit, int min, int max)
{
    m_valueDialog->setTitleAndUnit(title, unit);
    m_valueDialog->setRange(min, max);
    m_valueDialog->setValue(button->value());
    m_valueDialog->exec();
    button->setValue(m_valueDialog->getValue());
}

void FesSetting::slotTrainTimeBtnClicked()
{
    editParameter(ui->trainTime_Btn, text(kTrainTime.chinese), QString::fromUtf8(kTrainTime.unit), kTrainTime.min, kTrainTime.max);
}

void FesSetting::slotFrequentBtnClicked()
{
    editParameter(ui->frequent_Btn, text(kFrequency.chinese), QString::fromUtf8(kFrequency.unit), kFrequency.min, kFrequency.max);
    limitChannelsToGlobals();
    sendRealTimeParamsToAll();
}

void FesSetting::slotUpTimeBtnClicked()
{
    editParameter(ui->upTime_Btn, text(kRiseTime.chinese), QString::fromUtf8(kRiseTime.unit), kRiseTime.min, kRiseTime.max);
    sendRealTimeParamsToAll();
}

void FesSetting::slotDownTimeBtnClicked()
{
    editParameter(ui->downTime_Btn, text(kFallTime.chinese), QString::fromUtf8(kFallTime.unit), kFallTime.min, kFallTime.max);
    sendRealTimeParamsToAll();
}

void FesSetting::slotOpenTimeBtnClicked()
{
    editParameter(ui->openTime_Btn, text(kOpenTime.chinese), QString::fromUtf8(kOpenTime.unit), kOpenTime.min, kOpenTime.max);
    sendRealTimeParamsToAll();
}

void FesSetting::slotCloseTimeBtnClicked()
{
    editParameter(ui->closeTime_Btn, text(kCloseTime.chinese), QString::fromUtf8(kCloseTime.unit), kCloseTime.min, kCloseTime.max);
    sendRealTimeParamsToAll();
}

void FesSetting::slotPlusBtnClicked()
{
    editParameter(ui->plus_Btn, text(kPulseWidth.chinese), QString::fromUtf8(kPulseWidth.unit), kPulseWidth.min, kPulseWidth.max);
    limitChannelsToGlobals();
    sendRealTimeParamsToAll();
}

// The global frequency (and, when cycling, the global pulse width) is the ceiling of every
// channel: a channel set higher before the ceiling was lowered comes down to it, on the button
// and in every frame sent from now on.
void FesSetting::limitChannelsToGlobals()
{
    const int frequency = ui->frequent_Btn->value();
    const int pulseWidth = m_fesType == FesCycling_E ? ui->plus_Btn->value() : kPulseWidth.max;
    for (int i = 0; i < kChannelCount; ++i) {
        MuscleButton *button = channelButton(i);
        ST_ChannelParam record = button->getData();
        if (record.frequency <= frequency && record.pulseWidth <= pulseWidth)
            continue;
        record.frequency = qMin(record.frequency, frequency);
        record.pulseWidth = qMin(record.pulseWidth, pulseWidth);
        button->setData(record);
        if (m_fesType == FesCycling_E && m_configured[size_t(i)])
            m_savedRecords[size_t(i)] = record;
    }
}

void FesSetting::sendRealTimeParam(int index, const ST_ChannelParam &record)
{
    FesFrame::RealTimeParam param;
    param.frequency = uint16_t(qBound(0, record.frequency, 0xFFFF));
    param.pulseWidth = uint16_t(qBound(0, record.pulseWidth, 0xFFFF));
    param.riseTime = milliseconds(ui->upTime_Btn->value());
    param.openTime = milliseconds(ui->openTime_Btn->value());
    param.fallTime = milliseconds(ui->downTime_Btn->value());
    param.closeTime = milliseconds(ui->closeTime_Btn->value());
    prepareChannel(index);
    FesControlDialog::getInstance()->setRealTimeParam(deviceOf(index), channelOf(index), param);
}

void FesSetting::sendRealTimeParamsToAll()
{
    for (int i = 0; i < kChannelCount; ++i) {
        MuscleButton *button = channelButton(i);
        if (button->isEnabled())
            sendRealTimeParam(i, button->getData());
    }
}

bool FesSetting::recipeWindow(int muscleId, FesFrame::CycleParam &param) const
{
    const int n = muscleId < 16 ? muscleId : muscleId - 15;
    const QList<ST_RecipeParam> forward = m_recipes->getRecipeList();
    const QList<ST_RecipeParam> reverse = m_recipes->getRecipeReverseList();
    if (forward.isEmpty() || reverse.isEmpty()) {
        qDebug().noquote() << QStringLiteral("XML为空");
        qWarning().noquote() << QStringLiteral("no recipe for muscle %1: the recipe lists are empty").arg(muscleId);
        return false;
    }
    if (n < 1 || n > forward.size() || n > reverse.size()) {
        qWarning().noquote() << QStringLiteral("no recipe for muscle %1: the recipe lists have no entry %2").arg(muscleId).arg(n);
        return false;
    }
    const ST_RecipeParam &f = forward.at(n - 1);
    const ST_RecipeParam &r = reverse.at(n - 1);
    for (int angle : {f.startAngle, f.stopAngle, r.startAngle, r.stopAngle}) {
        if (angle < 0 || angle >= kAngleLimit) {
            qWarning().noquote() << QStringLiteral("no recipe for muscle %1: angle %2 of entry %3 is outside 0..359")
                                        .arg(muscleId).arg(angle).arg(n);
            return false;
        }
    }
    param.forwardStart = uint16_t(f.startAngle);
    param.forwardStop = uint16_t(f.stopAngle);
    param.reverseStart = uint16_t(r.startAngle);
    param.reverseStop = uint16_t(r.stopAngle);
    qDebug() << f.startAngle << f.stopAngle << r.startAngle << r.stopAngle;
    param.limb = n < 9 ? 1 : 2;           // upper limb muscles are 1 to 8
    param.side = muscleId < 16 ? 1 : 2;   // left side ids are 1 to 15
    return true;
}

void FesSetting::sendCycleParam(int index, const ST_ChannelParam &record, FesFrame::CycleParam param)
{
    param.frequency = uint16_t(qBound(0, record.frequency, 0xFFFF));
    param.pulseWidth = uint16_t(qBound(0, record.pulseWidth, 0xFFFF));
    param.minCurrent = uint8_t(qBound(0, record.minCurrent, 255));
    param.maxCurrent = uint8_t(qBound(0, record.maxCurrent, 255));
    prepareChannel(index);
    FesControlDialog::getInstance()->setCycleParam(deviceOf(index), channelOf(index), param);
    qDebug().noquote() << QStringLiteral("11111111111") << param.forwardStart << param.forwardStop;
}

void FesSetting::slotChannelWidgetClicked(int id)
{
    const int index = id - 1;
    if (!ChannelMap::isIndex(index))
        return;
    if (m_fesType == PureStimulation_E)
        editPureChannel(index);
    else
        editCyclingChannel(index);
}

// Both dialogs open on the channel's recorded values, so opening one changes nothing on the box;
// a dialog that is not confirmed leaves the record as it was.
void FesSetting::editPureChannel(int index)
{
    const ST_ChannelParam current = channelButton(index)->getData();
    ChannelOnlyDialog *dialog = m_channelOnlyDialog;
    dialog->setTitle(index + 1);
    dialog->setFrequentRange(kFrequency.min, ui->frequent_Btn->value());
    dialog->setPlusRange(kPulseWidth.min, kPulseWidth.max);
    dialog->setFrequentValue(current.frequency);
    dialog->setPlusValue(current.pulseWidth);
    dialog->setMaxCurrentValue(current.maxCurrent);
    dialog->setMinCurrentValue(current.minCurrent);
    dialog->setSwitch(m_switch[size_t(index)] != 0);
    prepareChannel(index);
    if (dialog->exec() != QDialog::Accepted)
        return;
    const ST_ChannelParam record = dialog->getData();
    MuscleButton *button = channelButton(index);
    button->setData(record);
    button->setSelected(record.switchFlag != 0);
    m_switch[size_t(index)] = record.switchFlag;
    if (record.switchFlag)
        sendRealTimeParam(index, record);
    confirmedWhileRunning(index, record);
}

void FesSetting::editCyclingChannel(int index)
{
    for (int i = 0; i < kChannelCount; ++i)
        qDebug().noquote() << QStringLiteral("muscleId:") << channelButton(i)->getData().muscleId;
    const ST_ChannelParam current = channelButton(index)->getData();
    ChannelDialog *dialog = m_channelDialog;
    dialog->setTitle(index + 1);
    dialog->setFrequentRange(kFrequency.min, ui->frequent_Btn->value());
    dialog->setPlusRange(kPulseWidth.min, ui->plus_Btn->value());
    dialog->setFrequentValue(current.frequency);
    dialog->setPlusValue(current.pulseWidth);
    dialog->setMaxCurrentValue(current.maxCurrent);
    dialog->setMinCurrentValue(current.minCurrent);
    dialog->setSwitch(m_switch[size_t(index)] != 0);
    // A channel without a muscle must not inherit the one chosen for the previous channel.
    if (current.muscleId >= 1)
        dialog->selectMuscle(current.muscleId);
    else
        dialog->clearMuscle();
    dialog->setRunning(m_running);
    prepareChannel(index);
    if (dialog->exec() != QDialog::Accepted)
        return;
    const ST_ChannelParam record = dialog->getData();
    m_configured[size_t(index)] = true;
    m_savedRecords[size_t(index)] = record;
    MuscleButton *button = channelButton(index);
    button->setData(record);
    button->setSelected(record.switchFlag != 0);
    button->setMode(FesCycling_E);
    m_switch[size_t(index)] = record.switchFlag;
    FesFrame::CycleParam window;
    const bool hasRecipe = recipeWindow(record.muscleId, window);
    setRecipeMissing(index, !hasRecipe);
    if (hasRecipe && record.switchFlag)
        sendCycleParam(index, record, window);
    confirmedWhileRunning(index, record);
}

// During a treatment a dialog's switch acts on the box at once.
void FesSetting::confirmedWhileRunning(int index, const ST_ChannelParam &record)
{
    if (!m_running)
        return;
    if (!record.switchFlag) {
        sendSwitch(index, 0);
        return;
    }
    if (m_cyclingRun) {
        if (!m_recipeMissing[size_t(index)])
            m_everOn[size_t(index)] = true;
    } else if (record.maxCurrent > 0) {
        sendSwitch(index, 1);
        m_everOn[size_t(index)] = true;
    }
}

void FesSetting::on_FESA_Btn_clicked()
{
    ui->stackedWidget->setCurrentIndex(0);
}

void FesSetting::on_FESB_Btn_clicked()
{
    ui->stackedWidget->setCurrentIndex(1);
}

void FesSetting::sendSwitch(int index, uint8_t on)
{
    prepareChannel(index);
    FesControlDialog::getInstance()->switchOutput(deviceOf(index), channelOf(index), on);
}

void FesSetting::startTreatment()
{
    const int minutes = ui->trainTime_Btn->value();
    if (minutes <= 0) {
        qWarning().noquote() << QStringLiteral("treatment time %1 min: not started").arg(minutes);
        return;
    }
    m_chosenMinutes = minutes;
    m_remainingMinutes = minutes;
    m_running = true;
    m_cyclingRun = false;
    m_trainTimer->start();
    ui->trainTime_Btn->setTitleAndUnit(tr("剩余时间"), QString::fromUtf8(kTrainTime.unit));
    ui->OK_Btn->setText(tr("结束"));
    for (int i = 0; i < kChannelCount; ++i) {
        const ST_ChannelParam record = channelButton(i)->getData();
        // A channel showing 0 mA is not switched on: the box may still hold an older current.
        if (!record.switchFlag || record.maxCurrent <= 0)
            continue;
        sendSwitch(i, 1);
        m_everOn[size_t(i)] = true;
    }
}

// Every way a treatment ends comes here: every channel switched on during it, and every
// channel of every box connected now, is switched off.
void FesSetting::stopTreatment()
{
    std::array<bool, kChannelCount> off = m_everOn;
    FesControlDialog *manager = FesControlDialog::getInstance();
    for (int i = 0; i < kChannelCount; ++i) {
        if (manager->isDeviceConnected(deviceOf(i)))
            off[size_t(i)] = true;
    }
    for (int i = 0; i < kChannelCount; ++i) {
        if (off[size_t(i)])
            sendSwitch(i, 0);
    }
    m_everOn.fill(false);
    const bool timed = !m_cyclingRun;
    m_running = false;
    m_cyclingRun = false;
    m_trainTimer->stop();
    ui->OK_Btn->setText(tr("开始"));
    if (timed) {
        ui->trainTime_Btn->setTitleAndUnit(tr("治疗时间"), QString::fromUtf8(kTrainTime.unit));
        ui->trainTime_Btn->setValue(m_chosenMinutes);
    }
}

void FesSetting::startCycling()
{
    QStringList missing;
    for (int i = 0; i < kChannelCount; ++i) {
        if (m_recipeMissing[size_t(i)] && channelButton(i)->getData().switchFlag)
            missing << QString::fromLatin1(kChannelTitles[i]);
    }
    if (!missing.isEmpty()) {
        qWarning().noquote() << QStringLiteral("cycling not started: no recipe for channel")
                             << missing.join(QLatin1Char(' '));
        showWarning(m_refusalBox, "refusal_MessageBox", tr("通道%1的肌肉没有可用的配方，不能开始。").arg(missing.join(QStringLiteral("、"))));
        return;
    }
    emit signalStartGame();
}

void FesSetting::on_OK_Btn_clicked()
{
    // A running treatment is stopped by this button, whichever mode the page shows.
    if (m_running) {
        stopTreatment();
        return;
    }
    // After a lost link the boxes may still stimulate: nothing starts before they are switched off.
    if (m_offAfterLinkLoss) {
        warnLinkLost();
        return;
    }
    if (m_fesType == FesCycling_E)
        startCycling();
    else
        startTreatment();
}

void FesSetting::slotCyclingStateChanged(bool running)
{
    if (!running) {
        if (m_running && m_cyclingRun)
            stopTreatment();
        return;
    }
    if (m_running)
        return;
    m_running = true;
    m_cyclingRun = true;
    ui->OK_Btn->setText(tr("结束"));
    for (int i = 0; i < kChannelCount; ++i) {
        if (m_configured[size_t(i)] && !m_recipeMissing[size_t(i)] && channelButton(i)->getData().switchFlag)
            m_everOn[size_t(i)] = true;
    }
}

void FesSetting::slotLinkStateChanged(bool open)
{
    if (open) {
        if (!m_offAfterLinkLoss)
            return;
        // The boxes may have kept stimulating while the link was down: switch every channel
        // off before anything else goes out.
        m_offAfterLinkLoss = false;
        for (int i = 0; i < kChannelCount; ++i)
            FesControlDialog::getInstance()->switchOutput(deviceOf(i), channelOf(i), 0);
        return;
    }
    if (!m_running)
        return;
    stopTreatment();
    m_offAfterLinkLoss = true;
    warnLinkLost();
}

void FesSetting::warnLinkLost()
{
    showWarning(m_linkLostBox, "linkLost_MessageBox", tr("电刺激连接已断开，治疗已停止。请检查刺激盒。"));
}

// Opened without a nested event loop: this may run from the link's own events.
void FesSetting::showWarning(QMessageBox *&box, const char *objectName, const QString &text)
{
    if (!box) {
        box = new QMessageBox(QMessageBox::Warning, tr("警告"), QString(), QMessageBox::Ok, this);
        box->setObjectName(QLatin1String(objectName));
    }
    box->setText(text);
    box->open();
}

void FesSetting::slotTrainTimer()
{
    --m_remainingMinutes;
    ui->trainTime_Btn->setValue(m_remainingMinutes);
    if (m_remainingMinutes <= 0)
        stopTreatment();
}

void FesSetting::slotGetBattery()
{
    FesControlDialog *manager = FesControlDialog::getInstance();
    for (int device = 1; device <= FesProtocol::kDeviceCount; ++device) {
        if (manager->isDeviceConnected(device))
            manager->queryBattery(uint8_t(device));
    }
}

void FesSetting::slotBatteryChanged(int deviceNo, int batteryValue)
{
    if (!FesControlDialog::getInstance()->isDeviceConnected(deviceNo))
        return;
    for (int channel = 1; channel <= ChannelMap::kChannelsPerDevice; ++channel)
        channelButton(ChannelMap::indexOf(deviceNo, channel))->setBattery(batteryValue);
}

void FesSetting::slotDeviceStateChanged(QList<uint8_t> states)
{
    for (int i = 0; i < states.size() && i < FesProtocol::kDeviceCount; ++i) {
        const bool connected = states.at(i) != 0;
        for (int channel = 1; channel <= ChannelMap::kChannelsPerDevice; ++channel) {
            MuscleButton *button = channelButton(ChannelMap::indexOf(i + 1, channel));
            button->setEnabled(connected);
            button->setConnected(connected);
            if (!connected)
                button->setBattery(0);
        }
    }
}
