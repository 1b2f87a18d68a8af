#include "users/loginwidget.h"

#include "app/languagemanager.h"
#include "fes/fesquitswitch.h"
#include "platform/systempower.h"
#include "ui_loginwidget.h"
#include "users/shutdeondialog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {

QTimer *namedTimer(QObject *parent, const char *name, int intervalMs, bool singleShot)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    timer->setSingleShot(singleShot);
    return timer;
}

} // namespace

LoginWidget::LoginWidget(QWidget *parent, std::unique_ptr<platform::SystemPower> power, std::function<void()> quit)
    : QDialog(parent), m_ui(std::make_unique<Ui::LoginWidget>()), m_power(std::move(power)), m_quit(std::move(quit))
{
    m_ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    if (!m_power)
        m_power = platform::makeSystemPower();
    if (!m_quit)
        m_quit = [] { QCoreApplication::exit(0); };

    m_shutdownDialog = new ShutdeonDialog(this);
    connect(m_shutdownDialog, &QDialog::finished, this, &LoginWidget::shutdownAnswered);
    m_tapTimer = namedTimer(this, "tap_Timer", kTapPeriodMs, false);
    m_quitTimer = namedTimer(this, "quit_Timer", kBoxesOffWaitMs, true);
    m_powerOffTimer = namedTimer(this, "powerOff_Timer", kPowerOffWaitMs, true);
    connect(m_quitTimer, &QTimer::timeout, this, &LoginWidget::quitNow);
    connect(m_powerOffTimer, &QTimer::timeout, this, &LoginWidget::powerOffNow);

    connect(this, &LoginWidget::signalResult, this, &QDialog::done);
    // The tips keep their room while hidden, so the form does not jump when one appears.
    for (QWidget *tip : {static_cast<QWidget *>(m_ui->userNameTips_Label), static_cast<QWidget *>(m_ui->passwordTips_Label),
                         static_cast<QWidget *>(m_ui->forgetPasswordTips_Label)}) {
        QSizePolicy policy = tip->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        tip->setSizePolicy(policy);
        tip->hide();
    }
    m_ui->password_LineEdit->setEchoMode(QLineEdit::Password);
    m_ui->remember_RadioButton->setChecked(true);
    const OperatorAccount::Credentials remembered = m_account.remembered();
    m_ui->userName_LineEdit->setText(remembered.userName);
    m_ui->password_LineEdit->setText(remembered.password);
    connect(m_tapTimer, &QTimer::timeout, this, &LoginWidget::slotCleanTimes);
}

LoginWidget::~LoginWidget()
{
    if (m_powerOffPending)
        powerOffNow();
}

void LoginWidget::slotShowCompleted()
{
    close();
}

void LoginWidget::slotCleanTimes()
{
    m_tapCount = 0;
}

void LoginWidget::on_forgetPassword_Btn_clicked()
{
    m_ui->forgetPasswordTips_Label->setText(tr("请联系管理员获取初始密码"));
    m_ui->forgetPasswordTips_Label->show();
}

void LoginWidget::on_confirm_Btn_clicked()
{
    const QString userName = m_ui->userName_LineEdit->text();
    const QString password = m_ui->password_LineEdit->text();
    switch (m_account.checkLogin(userName, password)) {
    case OperatorAccount::WrongUserName:
        m_ui->userNameTips_Label->setText(tr("用户名输入错误"));
        m_ui->userNameTips_Label->show();
        return;
    case OperatorAccount::WrongPassword:
        m_ui->passwordTips_Label->setText(tr("密码输入错误"));
        m_ui->passwordTips_Label->show();
        return;
    case OperatorAccount::Accepted:
        break;
    }
    emit signalResult(1);
    // Unticked, the remember file keeps what an earlier login left in it.
    if (m_ui->remember_RadioButton->isChecked() && !m_account.remember(userName, password))
        qWarning().noquote() << QStringLiteral("the login is not remembered:") << m_account.lastError();
}

void LoginWidget::on_userName_LineEdit_textChanged(const QString &)
{
    m_ui->userNameTips_Label->hide();
    m_ui->forgetPasswordTips_Label->hide();
}

void LoginWidget::on_password_LineEdit_textChanged(const QString &)
{
    m_ui->passwordTips_Label->hide();
    m_ui->forgetPasswordTips_Label->hide();
}

void LoginWidget::on_pushButton_clicked()
{
    if (m_leaving)
        return;
    // Not exec(): the answer arrives by signal, and nothing waits in a nested loop meanwhile.
    m_shutdownDialog->ask();
}

void LoginWidget::shutdownAnswered()
{
    const int value = m_shutdownDialog->value();
    qDebug().noquote() << QStringLiteral("关机值：") + QString::number(value);
    if (value == 0 || m_leaving)
        return;
    leave(true);
}

void LoginWidget::on_company_Label_clicked()
{
    if (m_leaving)
        return;
    if (m_tapCount++ == 0)
        m_tapTimer->start();
    qDebug().noquote() << QStringLiteral("logo taps:") << m_tapCount;
    if (m_tapCount >= kTapsToExit)
        leave(false);
}

void LoginWidget::leave(bool powerOff)
{
    m_leaving = true;
    m_tapTimer->stop();
    m_powerOffPending = powerOff;
    FesQuitSwitch::switchAllOff();
    m_quitTimer->start();
}

void LoginWidget::quitNow()
{
    m_quit();
    if (m_powerOffPending)
        m_powerOffTimer->start();
    close();
}

void LoginWidget::powerOffNow()
{
    m_powerOffTimer->stop();
    m_powerOffPending = false;
    if (m_power->powerOff())
        qDebug().noquote() << QStringLiteral("switching the computer off:") << QString::fromStdString(m_power->name());
    else
        qWarning().noquote() << QStringLiteral("the computer was not switched off:")
                             << QString::fromStdString(m_power->name()) << QString::fromStdString(m_power->lastError());
}

void LoginWidget::reject()
{
    if (m_leaving)
        QDialog::reject();
}

void LoginWidget::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    applyLanguage();
    QDialog::showEvent(event);
}

void LoginWidget::applyLanguage()
{
    if (LanguageManager::getInstance()->getLanguage() == Chinese_E) {
        m_ui->company_Label->setStyleSheet(QStringLiteral("border-image: url(:/DependFile/Source/login/company.png);"));
        m_ui->productionName_Label->setFont(QFont(QStringLiteral("黑体"), 18));
    } else {
        m_ui->company_Label->setStyleSheet(QStringLiteral("border-image: url(:/DependFile/Source/login/company_En.png);"));
        m_ui->productionName_Label->setFont(QFont(QStringLiteral("Arial"), 18));
    }
}

void LoginWidget::changeEvent(QEvent *event)
{
    // What was typed or remembered stays in the fields: only the texts of the form change.
    if (event->type() == QEvent::LanguageChange)
        m_ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
