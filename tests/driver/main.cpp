// The program itself, started as a real process, with a driver that plays the user on its
// windows: the start-up tests run it to reach the ways out that need a tap (the login, the
// shut-down button, closing the window). ROTAFLEX_DRIVE names the steps, comma-separated:
//   login     type the built-in account and confirm; done once the main window is up
//   escape    press Escape on the login (which must not end it)
//   taps      tap the maker's logo of the login ten times
//   shutdown  tap the function choice page's shut-down button
//   close     close the main window
// Each step is logged on standard error as "driver: ...", and so are the first sight of the login
// with the state of the main window at that moment, the first sight of the main window, and the
// end of the steps.
#include "app/startup.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <QtTest>

#include <cstdio>

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

    QStringList m_steps;
    QTimer m_timer;
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
