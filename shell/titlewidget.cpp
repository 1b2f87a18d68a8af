#include "shell/titlewidget.h"

#include "comm/ccommunicateapi.h"
#include "platform/systempower.h"
#include "shell/sounddialog.h"
#include "training/icemodule.h"
#include "ui_titlewidget.h"
#include "users/loginwidget.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QPixmap>
#include <QTimer>

namespace {

// The title of each page, by page number; the empty ones show no title.
constexpr const char *kPageTitles[] = {
    QT_TRANSLATE_NOOP("TitleWidget", "功能选择"), "", QT_TRANSLATE_NOOP("TitleWidget", "用户管理"),
    QT_TRANSLATE_NOOP("TitleWidget", "软件设置"), QT_TRANSLATE_NOOP("TitleWidget", "参数设置"),
    QT_TRANSLATE_NOOP("TitleWidget", "FES参数"), QT_TRANSLATE_NOOP("TitleWidget", "踏车参数"), "",
    QT_TRANSLATE_NOOP("TitleWidget", "参数设置")};

void requestPage(E_PAGENAME page)
{
    MainWindowPageControl::getInstance()->setCurrentPage(page);
}

} // namespace

TitleWidget::TitleWidget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TitleWidget>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    ui->quit_Btn->hide();
    ui->signal_Label->hide();
    ui->wifiSignal2_Label->hide();
    connect(ui->back1_Btn, &QPushButton::clicked, this, &TitleWidget::slotBackClicked);
    connect(ui->back2_Btn, &QPushButton::clicked, this, &TitleWidget::slotBackClicked);
    connect(CCommunicateAPI::getInstance(), &CCommunicateAPI::signalCommunicateChanged, this,
            &TitleWidget::slotStateChanged);

    m_statusTimer = new QTimer(this);
    m_statusTimer->setObjectName(QStringLiteral("status_Timer"));
    connect(m_statusTimer, &QTimer::timeout, this, &TitleWidget::slotCheckTimer);
    m_statusTimer->start(kStatusIntervalMs);
    slotCheckTimer();
}

TitleWidget::~TitleWidget() = default;

void TitleWidget::setTitleByPage(int page)
{
    m_page = page;
    const bool known = MainWindowPageControl::isPage(page);
    ui->title_Label->setText(known ? tr(kPageTitles[page]) : QString());
    if (page == TrainingPage_E)
        setBackButtonsVisible(false);
    else if (known && page != FesBicyclePage_E)
        setBackButtonsVisible(true);
    ui->quit_Btn->hide();
}

void TitleWidget::setBackButtonsVisible(bool visible)
{
    ui->back1_Btn->setVisible(visible);
    ui->back2_Btn->setVisible(visible);
}

void TitleWidget::setFesFlag(int8_t flag)
{
    m_fesFlag = flag;
}

void TitleWidget::setUserName(const QString &name)
{
    ui->user_Btn->setText(name);
}

void TitleWidget::slotBackClicked()
{
    const int current = MainWindowPageControl::getInstance()->getCurrentPage();
    const bool known = MainWindowPageControl::isPage(current);
    qDebug().noquote() << QStringLiteral("当前页") << (known ? current : 0);
    if (!known)
        return;
    switch (current) {
    case MainPage_E:
        askForLogin();
        break;
    case TrainingPage_E:
        break;
    case FesPage_E:
        requestPage(m_fesFlag ? BicycleModePage_E : MainPage_E);
        break;
    case FesBicyclePage_E:
        requestPage(FesBicycleModePage_E);
        break;
    case TrainParamPage_E:
        requestPage(m_fesFlag ? FesBicycleModePage_E : BicycleModePage_E);
        break;
    default:
        requestPage(MainPage_E);
        break;
    }
}

void TitleWidget::askForLogin()
{
    // A user input, not live data: the nested loop of exec() holds no receive path.
    LoginWidget login(window());
    login.setWindowModality(Qt::WindowModal);
    if (login.exec() == 1)
        return;
    // Escaping the login must not give the program back without a user.
    qDebug().noquote() << QStringLiteral("the login ended without a user: the program ends");
    QCoreApplication::quit();
}

void TitleWidget::on_user_Btn_clicked()
{
    requestPage(UserPage_E);
}

void TitleWidget::slotCheckTimer()
{
    const bool connected = IceModule::getInstance()->getDeviceState() != 0;
    ui->wifiSignal_Label->setPixmap(QPixmap(connected ? QStringLiteral(":/DependFile/Source/signal/deviceConnected.png")
                                                      : QStringLiteral(":/DependFile/Source/signal/deviceDisconnected.png")));
}

void TitleWidget::on_quit_Btn_clicked()
{
    emit signalCloseWindow();
}

void TitleWidget::slotStateChanged(QString text)
{
    ui->state_label->setText(text);
}

void TitleWidget::on_sound_Button_clicked()
{
    // Made on first use: finding the sound system may take a moment.
    if (!m_soundDialog)
        m_soundDialog = new SoundDialog(window());
    m_soundDialog->open();
}

QString TitleWidget::upPicturePath()
{
    return QCoreApplication::applicationDirPath() + QLatin1String(kUpPictureFolder) + QLatin1String(kUpPictureFile);
}

bool TitleWidget::saveUpPicture()
{
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1String(kUpPictureFolder);
    const bool folderExists = QDir(folder).exists();
    if (!folderExists)
        qDebug().noquote() << QStringLiteral("保存图片失败");
    const bool saved = grab().save(upPicturePath(), "PNG");
    if (!saved && folderExists)
        qDebug().noquote() << QStringLiteral("保存图片失败");
    return saved;
}

void TitleWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        setTitleByPage(m_page);
    }
    QWidget::changeEvent(event);
}
