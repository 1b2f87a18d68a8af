#pragma once

#include "game/gamemsg.h"
#include "platform/gamelauncher.h"
#include "platform/gamewindowfinder.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <memory>

class QDialog;
class QMessageBox;
class QTimer;
class QWidget;

// Starts the chosen game, finds its window and embeds it in the game host window. A game that
// does not report running within 30 s, that ends before it does, or that cannot be started at
// all is given up: everything stops and signalStartFailed() tells the shell.
class GameStarter : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSearchIntervalMs = 300;
    static constexpr int kGiveUpMs = 30000;
    static constexpr int kWatchIntervalMs = 250;
    static constexpr const char *kWindowClass = "UnityWndClass";
    static constexpr const char *kSearchTimerName = "gameSearchTimer";
    static constexpr const char *kGiveUpTimerName = "gameGiveUpTimer";
    static constexpr const char *kWatchTimerName = "gameWatchTimer";
    static constexpr const char *kContainerName = "gameContainer";
    // Directly below the 100-pixel title bar.
    static constexpr QRect kGameArea{0, 100, 1920, 980};

    enum class State { Idle, Starting, Running };

    // host holds the game's window; above is the window that stays over it (the training page).
    GameStarter(QDialog *host, QWidget *above, QObject *parent = nullptr);
    ~GameStarter() override;

    // The title of a game's window by game number; empty for a number without one.
    static QString windowTitle(int gameID);

    State state() const { return m_state; }
    // Its timeout is connected by the shell to the window search.
    QTimer *searchTimer() const { return m_searchTimer; }
    // The widget that holds the game's window while it is embedded, else null.
    QWidget *container() const { return m_container; }
    platform::GameWindowFinder::NativeWindow embeddedWindow() const { return m_window; }

    void start(const ST_GameMsg &game, int gameID);
    // One search for the game's window; embeds it and stops the search once found.
    void grabWindow();
    // The game reported that it runs: the wait for it ends.
    void gameRunning();
    // The game ended or the shell left it: searching stops and its window is given back.
    void gameEnded();
    // Ends any loading shown for the start and tells the user that the game did not start. The
    // box is opened, never run: this comes from timers and the game's messages.
    void showStartFailure(QWidget *parent);

signals:
    void signalStartFailed();
    // A game that reported running has ended without saying so (it crashed or was killed).
    void signalGameVanished();

private:
    void fail(const QString &reason);
    void watchProcess();
    void embed(platform::GameWindowFinder::NativeWindow window);
    void releaseWindow();
    void stopTimers();

    QDialog *m_host = nullptr;
    QPointer<QWidget> m_above;
    std::unique_ptr<platform::GameLauncher> m_launcher;
    std::unique_ptr<platform::GameWindowFinder> m_finder;
    QTimer *m_searchTimer = nullptr;
    QTimer *m_giveUpTimer = nullptr;
    QTimer *m_watchTimer = nullptr;
    State m_state = State::Idle;
    QString m_title;
    bool m_searchUnavailableLogged = false;
    platform::GameWindowFinder::NativeWindow m_window = 0;
    QPointer<QWidget> m_container;
    QPointer<QMessageBox> m_failureBox;
};
