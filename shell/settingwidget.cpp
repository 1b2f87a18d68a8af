#include "shell/settingwidget.h"

#include "app/languagemanager.h"
#include "comm/ccommunicateapi.h"
#include "comm/deviceprotocol.h"
#include "fes/fescontroldialog.h"
#include "fes/maiboxueyangdialog.h"
#include "shell/torquedialog.h"
#include "training/icemodule.h"
#include "ui_settingwidget.h"
#include "users/operatoraccount.h"

#include <QButtonGroup>
#include <QDebug>
#include <QEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QShowEvent>
#include <QTimer>

namespace {
constexpr int kSystemTab = 0;
constexpr int kPasswordTab = 1;
constexpr int kProductTab = 2;

constexpr uint8_t kHeightUp = 1;
constexpr uint8_t kHeightDown = 2;

constexpr char kEnabledStyle[] = "background: #0D9DDB;border-radius: 8px;color:white;";
constexpr char kDisabledStyle[] = "background: #E1E1E1;border-radius: 8px;color:white;";

// The tab buttons' frame in the form's style sheet: 12 px padding left and right, a 2 px border.
constexpr int kTabFrameWidth = 2 * (12 + 2);
constexpr int kTabFrameHeight = 2 * 2;

// The product tab's button is wider in English, where its caption is longer.
struct ProductButtonLook
{
    int pointSize;
    QSize size;
    const char *picture;
};
const ProductButtonLook kChineseLook{15, QSize(230, 60), ":/DependFile/Source/channel/PLN_CH.png"};
const ProductButtonLook kEnglishLook{13, QSize(265, 60), ":/DependFile/Source/channel/PLN_EN.png"};

int torqueLevelOf(const QString &radioName)
{
    static const QStringList names{QStringLiteral("torque_Low"), QStringLiteral("torque_Middle"),
                                   QStringLiteral("torque_Hign")};
    return names.indexOf(radioName);
}
} // namespace

SettingWidget::SettingWidget(QWidget *parent)
    : QWidget(parent), ui(new Ui::SettingWidget), m_torqueLevel(uint8_t(IceModule::getInstance()->getTorqueLevel()))
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground); // the page's white comes from its style sheet
    ui->groupBox_3->hide();
    ui->groupBox_13->hide();
    ui->OpenFES_Btn->hide();
    ui->groupBox_5->hide();
    ui->originalPasswordTips_Label->hide();
    ui->confirmPasswordTips_Label->hide();
    ui->upVersion_Label->setText(QStringLiteral(ROTAFLEX_VERSION));

    m_tabGroup = new QButtonGroup(this);
    m_tabGroup->setExclusive(true);
    m_tabGroup->addButton(ui->systemSetting_Btn, kSystemTab);
    m_tabGroup->addButton(ui->secretManage_Btn, kPasswordTab);
    m_tabGroup->addButton(ui->productMsg_Btn, kProductTab);
    showTab(kSystemTab);

    m_checkTimer = new QTimer(this);
    m_checkTimer->setObjectName(QStringLiteral("check_Timer"));
    m_checkTimer->setInterval(kCheckIntervalMs);
    connect(m_checkTimer, &QTimer::timeout, this, &SettingWidget::slotCheckTimerSlot);

    m_versionTimer = new QTimer(this);
    m_versionTimer->setObjectName(QStringLiteral("version_Timer"));
    m_versionTimer->setSingleShot(true);
    m_versionTimer->setInterval(kVersionDelayMs);
    connect(m_versionTimer, &QTimer::timeout, this, [this] {
        const QString version = IceModule::getInstance()->getLowerMachineVersion();
        // A machine that has not answered shows a dash rather than an empty place.
        ui->lowVersion_Label->setText(version.isEmpty() ? QStringLiteral("--") : version);
    });

    // Checking the saved language's radio switches the application to it; neither radio is
    // checked in the form, so Chinese is installed too, with Qt's own Chinese button texts.
    const int language = LanguageManager::getInstance()->readLanguage();
    if (language == Chinese_E)
        ui->CH_RadioButton->setChecked(true);
    else if (language == English_E)
        ui->EN_RadioButton->setChecked(true);
    applyLanguageLook(language);

    m_torqueDialog = new TorqueDialog(this);
    connect(m_torqueDialog, &QDialog::finished, this, &SettingWidget::torqueDialogFinished);
    for (QAbstractButton *radio : {ui->torque_Low, ui->torque_Middle, ui->torque_Hign})
        connect(radio, &QAbstractButton::clicked, this, &SettingWidget::on_torque_Radio_clicked);
    checkKeptTorqueRadio();

    m_oximeterDialog = new MaiBoXueyangDialog(this);
    showOximeterState();
}

SettingWidget::~SettingWidget()
{
    delete ui;
}

void SettingWidget::on_resetPassword_Btn_clicked()
{
    OperatorAccount account;
    const bool done = account.reset();
    if (!done)
        qWarning().noquote() << "password reset not written:" << account.lastError();
    showNotice(OperatorAccount::resetMessage(done));
}

void SettingWidget::on_bioelectricity_Btn_clicked()
{
    if (!m_oximeterDialog)
        m_oximeterDialog = new MaiBoXueyangDialog(this);
    m_oximeterDialog->show();
    m_oximeterDialog->raise();
}

void SettingWidget::on_systemSetting_Btn_clicked()
{
    showTab(kSystemTab);
}

void SettingWidget::on_secretManage_Btn_clicked()
{
    showTab(kPasswordTab);
    ui->originalPasswordTips_Label->hide();
    ui->confirmPasswordTips_Label->hide();
}

void SettingWidget::on_productMsg_Btn_clicked()
{
    showTab(kProductTab);
}

void SettingWidget::on_cancelPassword_Btn_clicked()
{
    ui->originalPassword_LineEdit->clear();
    ui->newPassword_LineEdit->clear();
    ui->confirmPassword_LineEdit->clear();
}

void SettingWidget::on_savePassword_Btn_clicked()
{
    ui->originalPasswordTips_Label->hide();
    ui->confirmPasswordTips_Label->hide();
    OperatorAccount account;
    const OperatorAccount::ChangeResult result = account.changePassword(
        ui->originalPassword_LineEdit->text(), ui->newPassword_LineEdit->text(), ui->confirmPassword_LineEdit->text());
    switch (result) {
    case OperatorAccount::WrongOld:
        ui->originalPasswordTips_Label->setText(OperatorAccount::changeMessage(result));
        ui->originalPasswordTips_Label->show();
        break;
    case OperatorAccount::Mismatch:
        ui->confirmPasswordTips_Label->setText(OperatorAccount::changeMessage(result));
        ui->confirmPasswordTips_Label->show();
        break;
    case OperatorAccount::Changed:
        on_cancelPassword_Btn_clicked();
        showNotice(OperatorAccount::changeMessage(result));
        break;
    case OperatorAccount::WriteFailed:
        // The fields stay, so that the user can try again once the folder is writable.
        qWarning().noquote() << "password change not written:" << account.lastError();
        showNotice(OperatorAccount::changeMessage(result));
        break;
    }
}

void SettingWidget::slotCheckTimerSlot()
{
    ui->FESConfig_Btn->setEnabled(m_fesEnabled);
    ui->FESConfig_Btn->setStyleSheet(QLatin1String(m_fesEnabled ? kEnabledStyle : kDisabledStyle));
    ui->bioelectricity_Btn->setEnabled(m_oximeterConnected);
    ui->bioelectricity_Btn->setStyleSheet(QLatin1String(m_oximeterConnected ? kEnabledStyle : kDisabledStyle));
    showOximeterState();
}

void SettingWidget::slotOximeterStateChanged(bool connected)
{
    m_oximeterConnected = connected;
    showOximeterState();
}

void SettingWidget::on_CH_RadioButton_toggled(bool checked)
{
    if (!checked)
        return;
    LanguageManager::getInstance()->setLanguage(Chinese_E);
    applyLanguageLook(Chinese_E);
}

void SettingWidget::on_EN_RadioButton_toggled(bool checked)
{
    if (!checked)
        return;
    LanguageManager::getInstance()->setLanguage(English_E);
    applyLanguageLook(English_E);
}

void SettingWidget::on_Up_Btn_clicked()
{
    sendHeightStep(kHeightUp);
}

void SettingWidget::on_down_Btn_clicked()
{
    sendHeightStep(kHeightDown);
}

void SettingWidget::on_torque_Radio_clicked()
{
    const auto *radio = qobject_cast<QAbstractButton *>(sender());
    m_pendingTorqueLevel = radio ? torqueLevelOf(radio->objectName()) : -1;
    // Window-modal without a nested event loop: the answer arrives in torqueDialogFinished().
    m_torqueDialog->open();
}

void SettingWidget::on_FESConfig_Btn_clicked()
{
    FesControlDialog::getInstance()->show();
}

void SettingWidget::on_OpenFES_Btn_clicked()
{
    if (m_fesEnabled)
        m_fesEnabled = false;
    else if (FesControlDialog::getInstance()->startFes())
        m_fesEnabled = true;
    showFesEnabled();
}

void SettingWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A page shown, not a window restored: one version query each time the page comes up.
    if (event->spontaneous())
        return;
    CCommunicateAPI::getInstance()->sendVersionQuery();
    m_versionTimer->start();
    m_checkTimer->start();
}

void SettingWidget::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        m_checkTimer->stop();
}

void SettingWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        applyLanguageLook(LanguageManager::getInstance()->getLanguage());
        showFesEnabled();
        showOximeterState();
    }
    QWidget::changeEvent(event);
}

void SettingWidget::showTab(int index)
{
    m_tabGroup->button(index)->setChecked(true);
    ui->stackedWidget->setCurrentIndex(index);
}

void SettingWidget::applyLanguageLook(int language)
{
    const ProductButtonLook &look = language == Chinese_E ? kChineseLook : kEnglishLook;
    // Style sheet geometry, as the form's: the application's button rules would override a
    // plain setFont() or setFixedSize().
    ui->productMsg_Btn->setStyleSheet(
        QStringLiteral("font-size: %1pt; font-weight: bold; min-width: %2px; max-width: %2px; min-height: %3px; max-height: %3px;")
            .arg(look.pointSize)
            .arg(look.size.width() - kTabFrameWidth)
            .arg(look.size.height() - kTabFrameHeight));
    ui->label_9->setPixmap(QPixmap(QLatin1String(look.picture)));
}

void SettingWidget::torqueDialogFinished(int result)
{
    if (result == 1 && m_pendingTorqueLevel >= 0) {
        m_torqueLevel = uint8_t(m_pendingTorqueLevel);
        IceModule::getInstance()->setTorqueLevel(m_torqueLevel);
        qDebug() << "torque level" << m_torqueLevel;
    }
    m_pendingTorqueLevel = -1;
    // A cancelled dialog puts the previous choice back.
    checkKeptTorqueRadio();
}

void SettingWidget::checkKeptTorqueRadio()
{
    QAbstractButton *radios[] = {ui->torque_Low, ui->torque_Middle, ui->torque_Hign};
    if (m_torqueLevel < 3)
        radios[m_torqueLevel]->setChecked(true);
}

void SettingWidget::sendHeightStep(uint8_t step)
{
    if (IceModule::getInstance()->getEmergencyState() == 0)
        CCommunicateAPI::getInstance()->sendRealTimeParam(DeviceProtocol::kItemSpeedStep, step);
}

void SettingWidget::showFesEnabled()
{
    ui->OpenFES_Btn->setText(m_fesEnabled ? tr("已启用") : tr("启用"));
}

void SettingWidget::showOximeterState()
{
    ui->bioelectricityState_Label->setText(m_oximeterConnected ? tr("已连接") : tr("未连接"));
}

void SettingWidget::showNotice(const QString &text)
{
    // Opened, not run: the page's event loop goes on while the box is up.
    auto *box = new QMessageBox(QMessageBox::Warning, OperatorAccount::messageTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
