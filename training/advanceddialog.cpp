#include "training/advanceddialog.h"

#include "ui_advanceddialog.h"

#include <QComboBox>

namespace {
constexpr char kSwitchOnStyle[] = "border-image: url(:/DependFile/Source/gamePage/switchOn.png);";
constexpr char kSwitchOffStyle[] = "border-image: url(:/DependFile/Source/gamePage/switchOff.png);";
} // namespace

const std::vector<AdvancedDialog::NumberBox> &AdvancedDialog::numberBoxes()
{
    using P = ST_AdvancedParam;
    static const std::vector<NumberBox> boxes{
        {"negativeSpeedCompensate_ComboBox", &P::negativeSpeedCompensate, 0, 10},
        {"tiredContinueTime_ComboBox", &P::tiredContinueTime, 1, 60},
        {"tiredSpeedCompensate_ComboBox", &P::tiredSpeedCompensate, 0, 10},
        {"preheatContinueTime_ComboBox", &P::preheatContinueTime, 1, 60},
        {"preheatAContinueTime_ComboBox", &P::preheatAContinueTime, 1, 60},
        {"preheatCompensate_ComboBox", &P::preheatCompensate, 0, 10},
        {"preheatMaxPower_ComboBox", &P::preheatMaxPower, 0, 100},
        {"transitionalFesRise_ComboBox", &P::transitionalFesRise, 1, 10},
        {"positiveFChiXuTime_ComboBox", &P::positiveFChiXuTime, 1, 60},
        {"positiveFControlSpeed_ComboBox", &P::positiveFControlSpeed, 2, 55},
        {"positiveBSpeedCompensate_ComboBox", &P::positiveBSpeedCompensate, 0, 10},
        {"positiveBChiXuTime_ComboBox", &P::positiveBChiXuTime, 1, 60},
        {"positiveBresistance_ComboBox", &P::positiveBresistance, 0, 20},
        {"timeLimit_ComboBox", &P::timeLimit, 1, 60},
        {"speedLimit_ComboBox", &P::speedLimit, 1, 30},
    };
    return boxes;
}

AdvancedDialog::AdvancedDialog(QWidget *parent) : PromptDialog(parent), ui(new Ui::AdvancedDialog)
{
    ui->setupUi(this);
    for (const NumberBox &box : numberBoxes()) {
        QStringList items;
        for (int value = box.first; value <= box.last; ++value)
            items << QString::number(value);
        findChild<QComboBox *>(QLatin1String(box.name))->addItems(items);
    }
    showSettings(m_settings);
}

AdvancedDialog::~AdvancedDialog()
{
    delete ui;
}

void AdvancedDialog::showSettings(const ST_AdvancedParam &settings)
{
    for (const NumberBox &box : numberBoxes()) {
        auto *combo = findChild<QComboBox *>(QLatin1String(box.name));
        combo->setCurrentIndex(qBound(0, settings.*box.field - box.first, combo->count() - 1));
    }
    m_skipPassive = settings.skipPassive;
    m_preheatFes = settings.preheatFesSwitch;
    showSwitch(ui->skipPassive_Btn, m_skipPassive);
    showSwitch(ui->preheatFesSwitch_Btn, m_preheatFes);
}

void AdvancedDialog::showSwitch(QPushButton *button, int on)
{
    button->setStyleSheet(QLatin1String(on ? kSwitchOnStyle : kSwitchOffStyle));
}

void AdvancedDialog::showEvent(QShowEvent *event)
{
    // Whatever was left by a cancel, the kept values are what the dialog opens with.
    showSettings(m_settings);
    PromptDialog::showEvent(event);
}

void AdvancedDialog::retranslate()
{
    ui->retranslateUi(this);
}

void AdvancedDialog::on_confirm_Btn_clicked()
{
    for (const NumberBox &box : numberBoxes())
        m_settings.*box.field = findChild<QComboBox *>(QLatin1String(box.name))->currentText().toInt();
    m_settings.skipPassive = m_skipPassive;
    m_settings.preheatFesSwitch = m_preheatFes;
    accept();
}

void AdvancedDialog::on_cancel_Btn_clicked()
{
    reject();
}

void AdvancedDialog::on_skipPassive_Btn_clicked()
{
    flipSwitch(m_skipPassive, ui->skipPassive_Btn);
}

void AdvancedDialog::on_preheatFesSwitch_Btn_clicked()
{
    flipSwitch(m_preheatFes, ui->preheatFesSwitch_Btn);
}

void AdvancedDialog::flipSwitch(int &flag, QPushButton *button)
{
    flag = flag ? 0 : 1;
    showSwitch(button, flag);
}
