#include "fes/musclebutton.h"

#include "ui_musclebutton.h"

#include <QEvent>
#include <QPixmap>

namespace {

const QString kCurrentUnit = QStringLiteral("mA");
const QString kPulseWidthUnit = QStringLiteral("us");
const QString kFrequencyUnit = QStringLiteral("Hz");
const QString kSelectedStyle = QStringLiteral("#groupBox{background: #E4F4FC;border-radius: 6px;}");
const QString kUnselectedStyle = QStringLiteral("#groupBox{background: #EFEFEF;border-radius: 6px;}");

int numberWithout(const QString &text, const QString &unit)
{
    return QString(text).remove(unit).trimmed().toInt();
}

} // namespace

MuscleButton::MuscleButton(QWidget *parent) : QWidget(parent), m_ui(new Ui::MuscleButton)
{
    m_ui->setupUi(this);
    setSelected(false);
    setConnected(false);
    setData(m_data);
    setNotice(QString());
}

MuscleButton::~MuscleButton()
{
    delete m_ui;
}

void MuscleButton::setTitle(const QString &text, int id)
{
    m_title = text;
    m_id = id;
    m_ui->title_Label->setText(text);
}

void MuscleButton::setData(const ST_ChannelParam &param)
{
    if (param.muscleId <= 15)
        m_ui->side_Label->setPixmap(QPixmap(QString::fromLatin1(kLeftPicture)));
    else if (param.muscleId <= 30)
        m_ui->side_Label->setPixmap(QPixmap(QString::fromLatin1(kRightPicture)));
    else
        m_ui->side_Label->clear();

    m_ui->muscle_Label->setText(param.muscleName);
    m_ui->current_Label->setText(QString::number(param.minCurrent) + QLatin1Char('~')
                                 + QString::number(param.maxCurrent) + kCurrentUnit);
    m_ui->plus_Label->setText(QString::number(param.pulseWidth) + kPulseWidthUnit);
    m_ui->frequent_Label->setText(QString::number(param.frequency) + kFrequencyUnit);
    m_data = param;
}

ST_ChannelParam MuscleButton::getData() const
{
    ST_ChannelParam param = m_data;
    param.muscleName = m_ui->muscle_Label->text();
    param.switchFlag = m_selected ? 1 : 0;
    param.frequency = numberWithout(m_ui->frequent_Label->text(), kFrequencyUnit);
    param.pulseWidth = numberWithout(m_ui->plus_Label->text(), kPulseWidthUnit);
    const QStringList currents = QString(m_ui->current_Label->text()).remove(kCurrentUnit).split(QLatin1Char('~'));
    if (currents.size() == 2) {
        param.minCurrent = currents.at(0).trimmed().toInt();
        param.maxCurrent = currents.at(1).trimmed().toInt();
    }
    return param;
}

void MuscleButton::setSelected(bool selected)
{
    m_selected = selected;
    setStyleSheet(selected ? kSelectedStyle : kUnselectedStyle);
}

void MuscleButton::setMode(int mode)
{
    if (mode != 0 && mode != 1)
        return;
    m_ui->muscle_Label->setVisible(mode == 1);
    m_ui->side_Label->setVisible(mode == 1);
}

QString MuscleButton::batteryPicture(int level)
{
    int step = -1;
    if (level == 0)
        step = 0;
    else if (level > 0 && level < 25)
        step = 25;
    else if (level >= 25 && level < 50)
        step = 50;
    else if (level >= 50 && level < 75)
        step = 75;
    else if (level >= 75 && level <= 100)
        step = 100;
    if (step < 0)
        return QString();
    return QString::fromLatin1(kBatteryFolder) + QStringLiteral("battery_%1.png").arg(step);
}

void MuscleButton::setBattery(int level)
{
    const QString picture = batteryPicture(level);
    if (picture.isEmpty())
        m_ui->battery_Label->clear();
    else
        m_ui->battery_Label->setPixmap(QPixmap(picture));
}

void MuscleButton::setConnected(bool connected)
{
    m_ui->connect_Label->setPixmap(
        QPixmap(QString::fromLatin1(connected ? kConnectedPicture : kDisconnectedPicture)));
}

void MuscleButton::setNotice(const QString &text)
{
    m_ui->notice_Label->setText(text);
    m_ui->notice_Label->setVisible(!text.isEmpty());
}

void MuscleButton::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    emit muscleButtonClicked(m_id);
}

void MuscleButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // retranslateUi resets the texts of the form; the record and title are ours to restore.
        const ST_ChannelParam shown = getData();
        const QString notice = m_ui->notice_Label->text();
        m_ui->retranslateUi(this);
        setNotice(notice);
        m_ui->title_Label->setText(m_title);
        m_ui->muscle_Label->setText(shown.muscleName);
        m_ui->current_Label->setText(QString::number(shown.minCurrent) + QLatin1Char('~')
                                     + QString::number(shown.maxCurrent) + kCurrentUnit);
        m_ui->plus_Label->setText(QString::number(shown.pulseWidth) + kPulseWidthUnit);
        m_ui->frequent_Label->setText(QString::number(shown.frequency) + kFrequencyUnit);
    }
    QWidget::changeEvent(event);
}
