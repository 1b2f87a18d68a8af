#include "shell/gamestarter.h"

#include "training/protectgamestart.h"

#include <QApplication>
#include <QDebug>
#include <QDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

namespace {

QTimer *namedTimer(QObject *parent, const char *name, int intervalMs, bool singleShot)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(intervalMs);
    timer->setSingleShot(singleShot);
    return timer;
}

} // namespace

GameStarter::GameStarter(QDialog *host, QWidget *above, QObject *parent)
    : QObject(parent),
      m_host(host),
      m_above(above),
      m_launcher(platform::makeGameLauncher(QCoreApplication::applicationDirPath().toStdString())),
      m_finder(platform::makeGameWindowFinder()),
      m_searchTimer(namedTimer(this, kSearchTimerName, kSearchIntervalMs, false)),
      m_giveUpTimer(namedTimer(this, kGiveUpTimerName, kGiveUpMs, true)),
      m_watchTimer(namedTimer(this, kWatchTimerName, kWatchIntervalMs, false))
{
    connect(m_giveUpTimer, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("the game did not report running within %1 ms").arg(m_giveUpTimer->interval())); });
    connect(m_watchTimer, &QTimer::timeout, this, &GameStarter::watchProcess);
}

GameStarter::~GameStarter()
{
    // Where the host outlives this object, the game's window must not stay inside it.
    releaseWindow();
}

QString GameStarter::windowTitle(int gameID)
{
    switch (gameID) {
    case 1:
        return QStringLiteral("GM01_Alpha");
    case 2:
        return QStringLiteral("GM02_Bravo");
    case 3:
        return QStringLiteral("GM03_Charlie");
    case 4:
        return QStringLiteral("GM04_Delta");
    default:
        return QString();
    }
}

void GameStarter::start(const ST_GameMsg &game, int gameID)
{
    stopTimers();
    releaseWindow();
    m_title = windowTitle(gameID);
    const QString program = game.path + game.gameName;
    qDebug().noquote() << QStringLiteral("starting game %1: %2").arg(gameID).arg(program);
    if (!m_launcher->start(program.toStdString())) {
        qWarning().noquote() << "ProcessError" << QString::fromStdString(m_launcher->lastError());
        fail(QStringLiteral("the game could not be started"));
        return;
    }
    m_state = State::Starting;
    m_giveUpTimer->start();
    m_watchTimer->start();
    if (m_title.isEmpty()) {
        qDebug().noquote() << QStringLiteral("game %1 has no window title: its window is not searched for").arg(gameID);
    } else if (m_finder->isAvailable()) {
        m_searchTimer->start();
    } else if (!m_searchUnavailableLogged) {
        m_searchUnavailableLogged = true;
        qDebug().noquote() << "game windows are not embedded:" << QString::fromStdString(m_finder->lastError());
    }
}

void GameStarter::grabWindow()
{
    // A game number without a title never has a window to find.
    if (m_title.isEmpty())
        return;
    const platform::GameWindowFinder::NativeWindow window = m_finder->find(kWindowClass, m_title.toStdString());
    if (window == 0)
        return;
    switch (m_finder->response(window)) {
    case platform::GameWindowFinder::Response::Unknown:
        return; // asked; the answer is read at the next search
    case platform::GameWindowFinder::Response::Hung:
        qDebug().noquote() << QStringLiteral("正在运行");
        break;
    case platform::GameWindowFinder::Response::Responding:
        break;
    }
    m_searchTimer->stop();
    embed(window);
}

void GameStarter::embed(platform::GameWindowFinder::NativeWindow window)
{
    QWindow *foreign = QWindow::fromWinId(WId(window));
    if (!foreign) {
        qWarning().noquote() << "game window" << window << "cannot be wrapped";
        return;
    }
    m_finder->keep(window);
    m_window = window;
    m_container = QWidget::createWindowContainer(foreign, m_host);
    m_container->setObjectName(QLatin1String(kContainerName));
    if (!m_host->windowFlags().testFlag(Qt::FramelessWindowHint))
        m_host->setWindowFlag(Qt::FramelessWindowHint);
    delete m_host->layout();
    auto *layout = new QGridLayout(m_host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_container);
    m_host->show();
    m_host->resize(kGameArea.size());
    m_host->move(kGameArea.topLeft());
    // The game may have reported running before its window came: the training page stays on top.
    if (m_above && m_above->isVisible())
        m_above->raise();
    qDebug().noquote() << QStringLiteral("game window embedded: %1 class \"%2\" title \"%3\"")
                              .arg(window)
                              .arg(QLatin1String(kWindowClass), m_title);
}

void GameStarter::gameRunning()
{
    if (m_state != State::Starting)
        return;
    m_state = State::Running;
    m_giveUpTimer->stop();
    // Still watched: a game that dies would leave the close repeating and the shell waiting.
}

void GameStarter::gameEnded()
{
    stopTimers();
    releaseWindow();
    m_state = State::Idle;
}

void GameStarter::watchProcess()
{
    if (m_launcher->isRunning())
        return;
    if (m_state == State::Running) {
        m_watchTimer->stop();
        m_state = State::Idle;
        emit signalGameVanished();
        return;
    }
    fail(QStringLiteral("the game ended before it reported running"));
}

void GameStarter::fail(const QString &reason)
{
    qWarning().noquote() << "game start given up:" << reason;
    stopTimers();
    // A game that started late must not come up over the page the shell goes back to.
    m_launcher->stop();
    releaseWindow();
    m_host->hide();
    m_state = State::Idle;
    emit signalStartFailed();
}

void GameStarter::showStartFailure(QWidget *parent)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *loading = qobject_cast<ProtectGameStart *>(window))
            loading->close();
    }
    if (m_failureBox)
        return;
    m_failureBox = new QMessageBox(QMessageBox::Warning, tr("提示"), tr("游戏未能启动，请重试"), QMessageBox::Ok, parent);
    m_failureBox->setAttribute(Qt::WA_DeleteOnClose);
    m_failureBox->open();
}

void GameStarter::releaseWindow()
{
    // The container first: it hides the game's window inside the host, which still exists.
    delete m_container.data();
    if (m_window != 0) {
        m_finder->release(m_window);
        m_window = 0;
    }
}

void GameStarter::stopTimers()
{
    m_searchTimer->stop();
    m_giveUpTimer->stop();
    m_watchTimer->stop();
}
