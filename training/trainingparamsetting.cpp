#include "training/trainingparamsetting.h"

#include "comm/ccommunicateapi.h"
#include "comm/deviceprotocol.h"
#include "shell/mainwindowpagecontrol.h"
#include "training/icemodule.h"
#include "training/paramtipsdialog.h"
#include "ui_trainingparamsetting.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QDebug>
#include <QEvent>
#include <QScopedValueRollback>

namespace {
constexpr uint8_t kHeightUp = 1;
constexpr uint8_t kHeightDown = 2;

constexpr char kProtectOnStyle[] = "border-image: url(:/DependFile/Source/trainDisplayPage/protect_on.png);";
constexpr char kProtectOffStyle[] = "border-image: url(:/DependFile/Source/trainDisplayPage/protect_off.png);";

constexpr char kSelectedStyle[] =
    "QPushButton { background: #05A6EC; color: #FFFFFF; border: 2px solid #05A6EC; border-radius: 12px; }";
constexpr char kUnselectedStyle[] =
    "QPushButton { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #FFFFFF, stop: 1 #E6EDF2);"
    " color: #333A40; border: 2px solid #C9D4DE; border-radius: 12px; }";
constexpr char kGreyedStyle[] =
    "QPushButton { background: #EEF1F4; color: #B5BEC6; border: 2px solid #E1E6EA; border-radius: 12px; }";

void fillNumbers(QComboBox *box, int first, int last)
{
    QStringList items;
    for (int value = first; value <= last; ++value)
        items << QString::number(value);
    box->addItems(items);
}
} // namespace

TrainingParamSetting::TrainingParamSetting(QWidget *parent) : QWidget(parent), ui(new Ui::TrainingParamSetting)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground); // the page's white comes from its style sheet

    m_directionGroup = new QButtonGroup(this);
    m_directionGroup->addButton(ui->CW1_Button);
    m_directionGroup->addButton(ui->ACW1_Button);
    m_levelGroup = new QButtonGroup(this);
    for (QPushButton *button : levelButtons())
        m_levelGroup->addButton(button);

    {
        QScopedValueRollback<bool> quiet(m_settingValues, true);
        fillNumbers(ui->trainTime1_ComboBox, kFirstTime, kLastTime);
        fillNumbers(ui->resistance1_ComboBox, kFirstResistance, kLastResistance);
        fillNumbers(ui->speed1_ComboBox, kFirstSpeed, kLastSpeed);
    }
    for (QPushButton *button : {ui->CW1_Button, ui->ACW1_Button})
        showChoice(button, button->isChecked());
    setDefaults();
}

TrainingParamSetting::~TrainingParamSetting()
{
    delete ui;
}

void TrainingParamSetting::setFesFlag(bool fes)
{
    m_fesFlag = fes;
}

ParamTipsDialog *TrainingParamSetting::speedQuestion() const
{
    return m_speedQuestion;
}

QList<QPushButton *> TrainingParamSetting::levelButtons() const
{
    return {ui->spasmLow1_Button, ui->spasmMidd1_Button, ui->spasmHigh1_Button};
}

void TrainingParamSetting::setDefaults()
{
    QScopedValueRollback<bool> quiet(m_settingValues, true);
    // Protection first: switching it on checks the middle level, which low then replaces.
    ui->spasmClose1_Button->setChecked(true);
    ui->trainTime1_ComboBox->setCurrentIndex(kDefaultTimeIndex);
    ui->resistance1_ComboBox->setCurrentIndex(kDefaultResistanceIndex);
    ui->speed1_ComboBox->setCurrentIndex(kDefaultSpeedIndex);
    ui->spasmLow1_Button->setChecked(true);
    ui->CW1_Button->setChecked(true);
}

void TrainingParamSetting::selectValue(QComboBox *box, int value, int first)
{
    box->setCurrentIndex(qBound(0, value - first, box->count() - 1));
}

void TrainingParamSetting::showEvent(QShowEvent *event)
{
    if (m_paramSet || m_paramLoaded)
        m_paramLoaded = false;
    else
        setDefaults();
    QWidget::showEvent(event);
}

void TrainingParamSetting::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QWidget::changeEvent(event);
}

void TrainingParamSetting::slotBicycleParamChanged(ST_BicycleParam param)
{
    qDebug() << "slotBicycleParamChanged";
    QScopedValueRollback<bool> quiet(m_settingValues, true);
    // Kept whole, so that a save with protection off carries the received level.
    m_bicycleParam = param;
    if (param.trainDirection == 0)
        ui->ACW1_Button->setChecked(true);
    else if (param.trainDirection == 1)
        ui->CW1_Button->setChecked(true);
    // Protection before the level: switching it on checks the middle level, and the record's
    // own level must win over that.
    if (param.spasmProtect == 0)
        ui->spasmClose1_Button->setChecked(false);
    else if (param.spasmProtect == 1)
        ui->spasmClose1_Button->setChecked(true);
    if (param.spasmLevel >= 1 && param.spasmLevel <= 3)
        levelButtons().at(param.spasmLevel - 1)->setChecked(true);
    m_paramLoaded = true;
    // Values outside a box's items are held to its ends: an empty box would save 0.
    selectValue(ui->trainTime1_ComboBox, param.trainTime, kFirstTime);
    selectValue(ui->resistance1_ComboBox, param.trainResistance, kFirstResistance);
    selectValue(ui->speed1_ComboBox, param.trainSpeed, kFirstSpeed);
    m_paramSet = true;
}

void TrainingParamSetting::slotResetParam()
{
    setDefaults();
    m_paramSet = false;
}

void TrainingParamSetting::on_confirm_Btn_clicked()
{
    m_paramSet = true;
    m_bicycleParam.trainTime = uint8_t(ui->trainTime1_ComboBox->currentText().toUInt());
    m_bicycleParam.trainResistance = uint8_t(ui->resistance1_ComboBox->currentText().toInt());
    m_bicycleParam.trainSpeed = uint8_t(ui->speed1_ComboBox->currentText().toInt());
    if (ui->CW1_Button->isChecked())
        m_bicycleParam.trainDirection = 1;
    else if (ui->ACW1_Button->isChecked())
        m_bicycleParam.trainDirection = 0;
    m_bicycleParam.spasmProtect = ui->spasmClose1_Button->isChecked() ? 1 : 0;
    // With protection off no level is checked, and the previous level stays in the record.
    const QList<QPushButton *> levels = levelButtons();
    for (int i = 0; i < levels.size(); ++i) {
        if (levels.at(i)->isChecked())
            m_bicycleParam.spasmLevel = uint8_t(i + 1);
    }
    emit signalTrainParamChanged(m_bicycleParam);
    MainWindowPageControl::getInstance()->setCurrentPage(m_fesFlag ? FesBicycleModePage_E : BicycleModePage_E);
}

void TrainingParamSetting::on_speed1_ComboBox_currentTextChanged(const QString &text)
{
    if (!m_settingValues && text.toInt() > kSpeedAskAbove)
        askAboutSpeed(text);
}

void TrainingParamSetting::askAboutSpeed(const QString &speed)
{
    // A newer choice replaces a question still open; the old one's answer no longer counts.
    if (m_speedQuestion) {
        m_speedQuestion->disconnect(this);
        m_speedQuestion->hide();
        m_speedQuestion->deleteLater();
    }
    auto *question = new ParamTipsDialog(this);
    m_speedQuestion = question;
    question->setMessage(tr("设定速度已超30r/min，确认使用该速度训练吗？"));
    connect(question, &QDialog::finished, this, [this, question, speed](int result) {
        question->deleteLater();
        // Only the speed asked about is withdrawn: a record received meanwhile stays.
        if (result != 1 && ui->speed1_ComboBox->currentText() == speed)
            ui->speed1_ComboBox->setCurrentIndex(kSpeedFallbackIndex);
    });
    // The answer arrives by signal: no nested event loop holds the page's links meanwhile.
    question->open();
}

void TrainingParamSetting::showChoice(QPushButton *button, bool selected)
{
    button->setStyleSheet(QLatin1String(selected ? kSelectedStyle : kUnselectedStyle));
}

void TrainingParamSetting::on_CW1_Button_toggled(bool checked)
{
    showChoice(ui->CW1_Button, checked);
}

void TrainingParamSetting::on_ACW1_Button_toggled(bool checked)
{
    showChoice(ui->ACW1_Button, checked);
}

void TrainingParamSetting::on_spasmHigh1_Button_toggled(bool checked)
{
    showChoice(ui->spasmHigh1_Button, checked);
}

void TrainingParamSetting::on_spasmMidd1_Button_toggled(bool checked)
{
    showChoice(ui->spasmMidd1_Button, checked);
}

void TrainingParamSetting::on_spasmLow1_Button_toggled(bool checked)
{
    showChoice(ui->spasmLow1_Button, checked);
}

void TrainingParamSetting::on_spasmClose1_Button_toggled(bool checked)
{
    ui->spasmClose1_Button->setStyleSheet(QLatin1String(checked ? kProtectOnStyle : kProtectOffStyle));
    if (checked) {
        for (QPushButton *button : levelButtons()) {
            button->setEnabled(true);
            button->setCheckable(true);
            showChoice(button, false);
        }
        ui->spasmMidd1_Button->setChecked(true);
        return;
    }
    // Unchecked inside a group that is not exclusive for the moment: clearing the check by
    // setCheckable(false) alone leaves the group remembering the old button, which it checks
    // again when another level is chosen later.
    m_levelGroup->setExclusive(false);
    for (QPushButton *button : levelButtons()) {
        button->setChecked(false);
        button->setCheckable(false);
        button->setEnabled(false);
        button->setStyleSheet(QLatin1String(kGreyedStyle));
    }
    m_levelGroup->setExclusive(true);
}

void TrainingParamSetting::on_upSpeedPlus_Btn_pressed()
{
    sendHeightStep(kHeightUp);
}

void TrainingParamSetting::on_upSpeedMinus_Btn_pressed()
{
    sendHeightStep(kHeightDown);
}

void TrainingParamSetting::sendHeightStep(uint8_t step)
{
    // The machine must not move while its emergency stop is pressed.
    if (IceModule::getInstance()->getEmergencyState() != 0) {
        qDebug() << "height step not sent during the emergency stop:" << step;
        return;
    }
    CCommunicateAPI::getInstance()->sendRealTimeParam(DeviceProtocol::kItemSpeedStep, step);
    qDebug() << "发送时间：" << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}
