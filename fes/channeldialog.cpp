#include "fes/channeldialog.h"

#include "fes/channelsliderlogic.h"
#include "ui_channeldialog.h"

#include <QButtonGroup>
#include <QEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {

constexpr int kMusclesPerSide = 15;

// Object name stems in the order of the muscle ids 1..15 (and 16..30 on the right).
const char *const kMuscleStems[kMusclesPerSide] = {
    "gongEr", "gongSan", "qianSanJiao", "houSanJiao", "quWan", "shenWan", "jianJia", "gangShang",
    "guoSheng", "tunDa", "jingQian", "feiChang", "fuJi", "shuJi", "guSiTou"};

ChannelSliderLogic::Controls controlsOf(Ui::ChannelDialog *ui)
{
    ChannelSliderLogic::Controls c;
    c.title = ui->title_Label;
    c.frequencySlider = ui->frequent_Slider;
    c.frequencyLabel = ui->frequent_Label;
    c.pulseWidthSlider = ui->plus_Slider;
    c.pulseWidthLabel = ui->plus_Label;
    c.minCurrentSlider = ui->minCurrent_Slider;
    c.minCurrentLabel = ui->minCurrent_Label;
    c.maxCurrentSlider = ui->maxCurrent_Slider;
    c.maxCurrentLabel = ui->maxCurrent_Label;
    c.switchButton = ui->switch_Btn;
    return c;
}

} // namespace

ChannelDialog::ChannelDialog(QWidget *parent) : QDialog(parent), m_ui(new Ui::ChannelDialog)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);
    setAttribute(Qt::WA_TranslucentBackground);
    m_logic = std::make_unique<ChannelSliderLogic>(controlsOf(m_ui));
    buildMuscleGroup();
}

ChannelDialog::~ChannelDialog()
{
    delete m_ui;
}

void ChannelDialog::buildMuscleGroup()
{
    m_muscleGroup = new QButtonGroup(this);
    m_muscleGroup->setExclusive(true);
    for (int i = 0; i < kMusclesPerSide; ++i) {
        const QString stem = QLatin1String(kMuscleStems[i]);
        auto *left = findChild<QPushButton *>(stem + QStringLiteral("L_Btn"));
        auto *right = findChild<QPushButton *>(stem + QStringLiteral("R_Btn"));
        Q_ASSERT(left && right);
        m_muscleGroup->addButton(left, i + 1);
        m_muscleGroup->addButton(right, i + 1 + kMusclesPerSide);
    }
    connect(m_muscleGroup, &QButtonGroup::idClicked, this,
            qOverload<int>(&ChannelDialog::slotButtonClicked));
    connect(m_muscleGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            qOverload<QAbstractButton *>(&ChannelDialog::slotButtonClicked));
}

QString ChannelDialog::muscleImagePath(const QString &buttonName)
{
    const int underscore = buttonName.indexOf(QLatin1Char('_'));
    const QString stem = underscore > 0 ? buttonName.left(underscore - 1) : buttonName;
    return QLatin1String(kMuscleImageFolder) + stem + QStringLiteral(".png");
}

void ChannelDialog::setTitle(int id) { m_logic->setTitle(id); }
void ChannelDialog::setFrequentRange(int min, int max) { m_logic->setFrequencyRange(min, max); }
void ChannelDialog::setFrequentValue(int value) { m_logic->setFrequencyValue(value); }
void ChannelDialog::setPlusRange(int min, int max) { m_logic->setPulseWidthRange(min, max); }
void ChannelDialog::setPlusValue(int value) { m_logic->setPulseWidthValue(value); }
void ChannelDialog::setMinCurrentRange(int min, int max) { m_logic->setMinCurrentRange(min, max); }
void ChannelDialog::setMinCurrentValue(int value) { m_logic->setMinCurrentValue(value); }
void ChannelDialog::setMaxCurrentRange(int min, int max) { m_logic->setMaxCurrentRange(min, max); }
void ChannelDialog::setMaxCurrentValue(int value) { m_logic->setMaxCurrentValue(value); }
void ChannelDialog::setSwitch(bool on) { m_logic->setSwitch(on); }

ST_ChannelParam ChannelDialog::getData() const
{
    ST_ChannelParam param;
    m_logic->readValues(param);
    param.muscleId = m_muscleId;
    param.muscleName = m_muscleId > 0 ? m_ui->muscle_Label->text() : QString();
    return param;
}

void ChannelDialog::selectMuscle(int id)
{
    if (id < 1 || id > 2 * kMusclesPerSide)
        return;
    QAbstractButton *button = m_muscleGroup->button(id);
    button->setChecked(true);
    button->click();
}

void ChannelDialog::clearMuscle()
{
    // An exclusive group never unchecks its last button by itself.
    m_muscleGroup->setExclusive(false);
    if (QAbstractButton *checked = m_muscleGroup->checkedButton())
        checked->setChecked(false);
    m_muscleGroup->setExclusive(true);
    m_muscleId = 0;
    m_ui->muscle_Label->clear();
    m_ui->muscleImage_Label->clear();
}

void ChannelDialog::setRunning(bool running)
{
    m_ui->muscle_Widget->setEnabled(!running);
    m_ui->frequent_Widget->setEnabled(!running);
    m_ui->plus_Widget->setEnabled(!running);
    m_ui->minCurrent_Widget->setEnabled(!running);
}

void ChannelDialog::on_confirm_Btn_clicked()
{
    if (m_muscleId == 0) {
        QMessageBox::warning(this, tr("Warning"), tr("未选择肌肉！"));
        return;
    }
    m_logic->confirm();
    accept();
}

void ChannelDialog::on_frequentMinus_Btn_clicked() { m_logic->stepFrequency(-1); }
void ChannelDialog::on_frequentPlus_Btn_clicked() { m_logic->stepFrequency(1); }
void ChannelDialog::on_frequent_Slider_valueChanged(int value) { m_logic->frequencyChanged(value); }
void ChannelDialog::on_plus_Slider_valueChanged(int value) { m_logic->pulseWidthChanged(value); }
void ChannelDialog::on_minCurrent_Slider_valueChanged(int value) { m_logic->minCurrentChanged(value); }
void ChannelDialog::on_maxCurrent_Slider_valueChanged(int value) { m_logic->maxCurrentChanged(value); }
void ChannelDialog::on_PWMMinus_Btn_clicked() { m_logic->stepPulseWidth(-1); }
void ChannelDialog::on_PWMPlus_Btn_clicked() { m_logic->stepPulseWidth(1); }
void ChannelDialog::on_minCurrentMinus_Btn_clicked() { m_logic->stepMinCurrent(-1); }
void ChannelDialog::on_minCurrentPlus_Btn_clicked() { m_logic->stepMinCurrent(1); }
void ChannelDialog::on_maxCurrentMinus_Btn_clicked() { m_logic->stepMaxCurrent(-1); }
void ChannelDialog::on_maxCurrentPlus_Btn_clicked() { m_logic->stepMaxCurrent(1); }
void ChannelDialog::on_switch_Btn_clicked() { m_logic->toggleSwitch(); }
void ChannelDialog::on_frequent_Slider_sliderReleased() { m_logic->frequencyReleased(); }
void ChannelDialog::on_plus_Slider_sliderReleased() { m_logic->pulseWidthReleased(); }
void ChannelDialog::on_minCurrent_Slider_sliderReleased() { m_logic->minCurrentReleased(); }
void ChannelDialog::on_maxCurrent_Slider_sliderReleased() { m_logic->maxCurrentReleased(); }

void ChannelDialog::slotButtonClicked(int id)
{
    m_muscleId = id;
}

void ChannelDialog::slotButtonClicked(QAbstractButton *button)
{
    m_ui->muscle_Label->setText(button->text());
    m_ui->muscleImage_Label->setPixmap(QPixmap(muscleImagePath(button->objectName())));
}

void ChannelDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_logic->shown();
}

void ChannelDialog::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    // Dims the page behind the panel.
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 100));
}

void ChannelDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        m_logic->retranslate();
        // The muscle buttons speak the new language now; the name shown follows them.
        if (QAbstractButton *chosen = m_muscleGroup->button(m_muscleId))
            m_ui->muscle_Label->setText(chosen->text());
    }
    QDialog::changeEvent(event);
}
