#include "fes/channelonlydialog.h"

#include "fes/channelsliderlogic.h"
#include "ui_channelonlydialog.h"

#include <QEvent>
#include <QPainter>

namespace {

ChannelSliderLogic::Controls controlsOf(Ui::ChannelOnlyDialog *ui)
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

ChannelOnlyDialog::ChannelOnlyDialog(QWidget *parent)
    : QDialog(parent), m_ui(new Ui::ChannelOnlyDialog)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);
    setAttribute(Qt::WA_TranslucentBackground);
    m_logic = std::make_unique<ChannelSliderLogic>(controlsOf(m_ui));
}

ChannelOnlyDialog::~ChannelOnlyDialog()
{
    delete m_ui;
}

void ChannelOnlyDialog::setTitle(int id) { m_logic->setTitle(id); }
void ChannelOnlyDialog::setFrequentRange(int min, int max) { m_logic->setFrequencyRange(min, max); }
void ChannelOnlyDialog::setFrequentValue(int value) { m_logic->setFrequencyValue(value); }
void ChannelOnlyDialog::setPlusRange(int min, int max) { m_logic->setPulseWidthRange(min, max); }
void ChannelOnlyDialog::setPlusValue(int value) { m_logic->setPulseWidthValue(value); }
void ChannelOnlyDialog::setMinCurrentRange(int min, int max) { m_logic->setMinCurrentRange(min, max); }
void ChannelOnlyDialog::setMinCurrentValue(int value) { m_logic->setMinCurrentValue(value); }
void ChannelOnlyDialog::setMaxCurrentRange(int min, int max) { m_logic->setMaxCurrentRange(min, max); }
void ChannelOnlyDialog::setMaxCurrentValue(int value) { m_logic->setMaxCurrentValue(value); }
void ChannelOnlyDialog::setSwitch(bool on) { m_logic->setSwitch(on); }

ST_ChannelParam ChannelOnlyDialog::getData() const
{
    ST_ChannelParam param;
    m_logic->readValues(param);
    return param;
}

void ChannelOnlyDialog::on_confirm_Btn_clicked()
{
    m_logic->confirm();
    accept();
}

void ChannelOnlyDialog::on_frequentMinus_Btn_clicked() { m_logic->stepFrequency(-1); }
void ChannelOnlyDialog::on_frequentPlus_Btn_clicked() { m_logic->stepFrequency(1); }
void ChannelOnlyDialog::on_frequent_Slider_valueChanged(int value) { m_logic->frequencyChanged(value); }
void ChannelOnlyDialog::on_plus_Slider_valueChanged(int value) { m_logic->pulseWidthChanged(value); }
void ChannelOnlyDialog::on_minCurrent_Slider_valueChanged(int value) { m_logic->minCurrentChanged(value); }
void ChannelOnlyDialog::on_maxCurrent_Slider_valueChanged(int value) { m_logic->maxCurrentChanged(value); }
void ChannelOnlyDialog::on_PWMMinus_Btn_clicked() { m_logic->stepPulseWidth(-1); }
void ChannelOnlyDialog::on_PWMPlus_Btn_clicked() { m_logic->stepPulseWidth(1); }
void ChannelOnlyDialog::on_minCurrentMinus_Btn_clicked() { m_logic->stepMinCurrent(-1); }
void ChannelOnlyDialog::on_minCurrentPlus_Btn_clicked() { m_logic->stepMinCurrent(1); }
void ChannelOnlyDialog::on_maxCurrentMinus_Btn_clicked() { m_logic->stepMaxCurrent(-1); }
void ChannelOnlyDialog::on_maxCurrentPlus_Btn_clicked() { m_logic->stepMaxCurrent(1); }
void ChannelOnlyDialog::on_switch_Btn_clicked() { m_logic->toggleSwitch(); }
void ChannelOnlyDialog::on_frequent_Slider_sliderReleased() { m_logic->frequencyReleased(); }
void ChannelOnlyDialog::on_plus_Slider_sliderReleased() { m_logic->pulseWidthReleased(); }
void ChannelOnlyDialog::on_minCurrent_Slider_sliderReleased() { m_logic->minCurrentReleased(); }
void ChannelOnlyDialog::on_maxCurrent_Slider_sliderReleased() { m_logic->maxCurrentReleased(); }

void ChannelOnlyDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_logic->shown();
}

void ChannelOnlyDialog::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    // Dims the page behind the panel.
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 100));
}

void ChannelOnlyDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        m_logic->retranslate();
    }
    QDialog::changeEvent(event);
}
