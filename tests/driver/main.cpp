// The program itself, started as a real process, with a driver that plays the user on its
// windows: the start-up tests run it to reach the ways out that need a tap (the login, the
// shut-down button, closing the window). ROTAFLEX_DRIVE names the steps, comma-separated:
//   login     type the built-in account and confirm; done once the main window is up
//   escape    press Escape on the login (which must not end it)
//   taps      tap the maker's logo of the login ten times
//   shutdown  tap the function choice page's shut-down button
//   close     close the main window
// and the road of one training, each step waiting until its window is there:
//   cycling   tap the function choice page's cycling button
//   start     tap the mode page's start and confirm the position prompt that comes
//   train     on the training page (over the embedded game): tap start, let live data flow 3 s
//   stop      tap stop; done once the report is shown
//   save      tap the report's save and close the saved notice
//   main      wait for the function choice page, the training page and the game gone
//   pause     wait 2 s (time to look at the screen)
// Each step is logged on standard error as "driver: ...", with what it saw, and so are the first
// sight of the login with the state of the main window at that moment, the first sight of the
// main window, and the end of the steps.
#include "app/startup.h"
#include "shell/mainwindowpagecontrol.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <QtTest>

#ifndef Q_OS_WIN
#include <QX11Info>
#include <xcb/xcb.h>
#endif

#include <cstdio>
#include <cstdlib>

namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "driver: %s\n", qPrintable(text));
    std::fflush(stderr);
}

QWidget *shownWindow(const char *className)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->inherits(className))
            return widget;
    }
    return nullptr;
}

QWidget *shownWindowNamed(const char *objectName)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() == QLatin1String(objectName))
            return widget;
    }
    return nullptr;
}

// The shown button of that name that lies in window itself, not in a dialog it owns.
QAbstractButton *buttonIn(QWidget *window, const char *name)
{
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>(QLatin1String(name))) {
        if (button->isVisible() && button->window() == window)
            return button;
    }
    return nullptr;
}

QString currentStackPage(QWidget *main)
{
    auto *stack = main->findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
    return stack && stack->currentWidget() ? stack->currentWidget()->objectName() : QString();
}

int pageNumber()
{
    return MainWindowPageControl::getInstance()->getCurrentPage();
}

QString rectText(const QRect &rect)
{
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

// Whether upper lies above lower among the X server's top-level windows; empty off X11.
QString stackedAbove(QWidget *upper, QWidget *lower)
{
#ifndef Q_OS_WIN
    if (!QX11Info::isPlatformX11())
        return QString();
    xcb_connection_t *connection = QX11Info::connection();
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, QX11Info::appRootWindow()), nullptr);
    if (!tree)
        return QString();
    // The root's children come bottom first.
    const xcb_window_t *children = xcb_query_tree_children(tree);
    int upperAt = -1;
    int lowerAt = -1;
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        upperAt = children[i] == xcb_window_t(upper->winId()) ? i : upperAt;
        lowerAt = children[i] == xcb_window_t(lower->winId()) ? i : lowerAt;
    }
    std::free(tree);
    return upperAt > lowerAt && lowerAt >= 0 ? QStringLiteral("above") : QStringLiteral("not above");
#else
    Q_UNUSED(upper)
    Q_UNUSED(lower)
    return QString();
#endif
}

bool built(const char *className)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits(className))
            return true;
    }
    return false;
}

class Driver : public QObject
{
public:
    explicit Driver(const QStringList &steps) : QObject(qApp), m_steps(steps)
    {
        connect(&m_timer, &QTimer::timeout, this, &Driver::tick);
        m_timer.start(50);
    }

private:
    // Runs the next step once its window is there; true when the step is done.
    bool step(const QString &name)
    {
        QWidget *login = shownWindow("LoginWidget");
        QWidget *main = shownWindow("CMainWindow");
        if (name == QLatin1String("login") && login) {
            login->findChild<QLineEdit *>(QStringLiteral("userName_LineEdit"))->setText(QStringLiteral("zenk"));
            login->findChild<QLineEdit *>(QStringLiteral("password_LineEdit"))->setText(QStringLiteral("482915"));
            login->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
            m_waitForMain = true;
            return false;
        }
        if (name == QLatin1String("login") && m_waitForMain && main) {
            m_waitForMain = false;
            return true;
        }
        if (name == QLatin1String("escape") && login) {
            say(QStringLiteral("escape on the login"));
            QTest::keyClick(login, Qt::Key_Escape);
            return true;
        }
        if (name == QLatin1String("taps") && login) {
            say(QStringLiteral("ten taps on the logo"));
            QWidget *logo = login->findChild<QWidget *>(QStringLiteral("company_Label"));
            for (int i = 0; i < 10; ++i)
                QTest::mouseClick(logo, Qt::LeftButton);
            return true;
        }
        if (name == QLatin1String("shutdown") && main) {
            say(QStringLiteral("shut-down button"));
            main->findChild<QToolButton *>(QStringLiteral("shutDown_Btn"))->click();
            return true;
        }
        if (name == QLatin1String("close") && main) {
            say(QStringLiteral("closing the main window"));
            main->close();
            return true;
        }
        if (name == QLatin1String("pause"))
            return waited(kPauseMs, QStringLiteral("pause of %1 ms").arg(kPauseMs));
        if (!main)
            return false;
        if (name == QLatin1String("cycling") && currentStackPage(main) == QLatin1String("Main_Page")) {
            main->findChild<QToolButton *>(QStringLiteral("bicycleTrain_Btn"))->click();
            say(QStringLiteral("cycling button; page %1, %2 shown").arg(pageNumber()).arg(currentStackPage(main)));
            return true;
        }
        if (name == QLatin1String("start"))
            return startTraining(main);
        if (name == QLatin1String("train"))
            return train();
        if (name == QLatin1String("stop"))
            return stopTraining();
        if (name == QLatin1String("save"))
            return saveReport();
        if (name == QLatin1String("main") && currentStackPage(main) == QLatin1String("Main_Page")
            && !shownWindow("GameDisplayPage") && !shownWindowNamed("gameHost_Dialog")) {
            say(QStringLiteral("function choice page shown; page %1; training page and game host hidden").arg(pageNumber()));
            return true;
        }
        return false;
    }

    // Holds a step for ms from its first call; true once the time has passed.
    bool waited(int ms, const QString &what)
    {
        if (!m_clock.isValid()) {
            m_clock.start();
            say(what);
        }
        if (m_clock.elapsed() < ms)
            return false;
        m_clock.invalidate();
        return true;
    }

    bool startTraining(QWidget *main)
    {
        if (!m_startTapped) {
            QAbstractButton *confirm = currentStackPage(main) == QLatin1String("FESCar_Page") ? buttonIn(main, "confirm_Btn") : nullptr;
            if (!confirm)
                return false;
            confirm->click();
            m_startTapped = true;
            say(QStringLiteral("start on the mode page; page %1").arg(pageNumber()));
            return false;
        }
        for (const char *prompt : {"VerticalToHorizonDialog", "HorizontalToVerticalDialog"}) {
            QWidget *dialog = shownWindow(prompt);
            if (!dialog)
                continue;
            buttonIn(dialog, "confirm_Btn")->click();
            say(QStringLiteral("position prompt %1 confirmed; page %2").arg(QLatin1String(prompt)).arg(pageNumber()));
            m_startTapped = false;
            return true;
        }
        return false;
    }

    bool train()
    {
        QWidget *training = shownWindow("GameDisplayPage");
        if (!m_trainStarted) {
            if (!training)
                return false;
            say(QStringLiteral("training page shown; %1").arg(gameView(training)));
            buttonIn(training, "start_Btn")->click();
            m_trainStarted = true;
            say(QStringLiteral("start on the training page"));
        }
        if (!waited(kLiveDataMs, QStringLiteral("live data for %1 ms").arg(kLiveDataMs)))
            return false;
        // The game may report running before its window is found: what counts is the view now.
        say(QStringLiteral("after the live data: %1").arg(training ? gameView(training) : QStringLiteral("training page gone")));
        m_trainStarted = false;
        return true;
    }

    // The share of black pixels on the screen between the training page's panels: what a
    // person sees of the game there.
    static int blackShareBetweenPanels()
    {
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, 480, 300, 960, 400).toImage();
        if (shot.isNull())
            return -1;
        int black = 0;
        for (int y = 0; y < shot.height(); y += 4) {
            for (int x = 0; x < shot.width(); x += 4)
                black += (shot.pixel(x, y) & 0xffffff) == 0 ? 1 : 0;
        }
        return 100 * black / (((shot.width() + 3) / 4) * ((shot.height() + 3) / 4));
    }

    static QString gameView(QWidget *training)
    {
        QWidget *host = shownWindowNamed("gameHost_Dialog");
        QWidget *container = host ? host->findChild<QWidget *>(QStringLiteral("gameContainer")) : nullptr;
        const QString above = host ? stackedAbove(training, host) : QString();
        return QStringLiteral("training page at %1; page %2; game window %3%4; black between the panels %5%")
            .arg(rectText(training->geometry()))
            .arg(pageNumber())
            .arg(container ? QStringLiteral("embedded, host at ") + rectText(host->geometry()) : QStringLiteral("not embedded"))
            .arg(above.isEmpty() ? QString() : QStringLiteral("; training page ") + above + QStringLiteral(" the game host"))
            .arg(blackShareBetweenPanels());
    }

    bool stopTraining()
    {
        QWidget *training = shownWindow("GameDisplayPage");
        if (!m_stopTapped) {
            QAbstractButton *stop = training ? buttonIn(training, "stop_Btn") : nullptr;
            if (!stop)
                return false;
            stop->click();
            m_stopTapped = true;
            say(QStringLiteral("stop on the training page"));
        }
        QWidget *report = shownWindow("ReportDialogBase");
        if (!report)
            return false;
        say(QStringLiteral("report %1 shown").arg(QLatin1String(report->metaObject()->className())));
        m_stopTapped = false;
        return true;
    }

    bool saveReport()
    {
        if (!m_saveTapped) {
            QWidget *report = shownWindow("ReportDialogBase");
            QAbstractButton *save = report ? buttonIn(report, "save_Btn") : nullptr;
            if (!save)
                return false;
            // Queued: the saved notice runs a loop of its own, in which this driver goes on.
            QMetaObject::invokeMethod(save, &QAbstractButton::click, Qt::QueuedConnection);
            m_saveTapped = true;
            say(QStringLiteral("save on the report"));
            return false;
        }
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(window);
            if (!box || !box->isVisible())
                continue;
            say(QStringLiteral("notice \"%1\" closed").arg(box->text()));
            box->accept();
            m_saveTapped = false;
            return true;
        }
        return false;
    }

    void tick()
    {
        if (!m_loginSeen && shownWindow("LoginWidget")) {
            m_loginSeen = true;
            say(QStringLiteral("login shown; main window %1")
                    .arg(shownWindow("CMainWindow") ? QStringLiteral("shown")
                         : built("CMainWindow")     ? QStringLiteral("built, hidden")
                                                    : QStringLiteral("not built")));
        }
        if (!m_mainSeen && shownWindow("CMainWindow")) {
            m_mainSeen = true;
            say(QStringLiteral("main window shown"));
        }
        if (!m_loginSeen)
            return;
        if (m_steps.isEmpty()) {
            say(QStringLiteral("steps done"));
            m_timer.stop();
            return;
        }
        if (step(m_steps.first()))
            m_steps.removeFirst();
    }

    static constexpr int kPauseMs = 2000;
    static constexpr int kLiveDataMs = 3000;

    QStringList m_steps;
    QTimer m_timer;
    QElapsedTimer m_clock;
    bool m_startTapped = false;
    bool m_trainStarted = false;
    bool m_stopTapped = false;
    bool m_saveTapped = false;
    bool m_waitForMain = false;
    bool m_loginSeen = false;
    bool m_mainSeen = false;
};

void startDriver()
{
    const QStringList steps = QString::fromLocal8Bit(qgetenv("ROTAFLEX_DRIVE")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    // Made once the application object is complete.
    QTimer::singleShot(0, qApp, [steps] { new Driver(steps); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)

int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(resources);
    return Startup::run(argc, argv);
}
