#pragma once

#include "shell/mainwindowpagecontrol.h"

#include <QWidget>

#include <cstdint>
#include <memory>

class ArmOrLeg;
class FesSetting;
class GameDisplayPage;
class GameStarter;
class QDialog;
class SettingWidget;
class TitleWidget;
class TrainManager;
class TrainingParamSetting;
class UserManager;

namespace Ui {
class CMainWindow;
}

// The one full-screen window: the title bar over a stack of pages, the page a page number asks
// for in view. The training page and the window that hosts a game are top-level windows of
// their own, owned here.
class CMainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit CMainWindow(QWidget *parent = nullptr);
    ~CMainWindow() override;

    TitleWidget *titleWidget() const;
    TrainManager *trainManager() const { return m_trainManager; }
    ArmOrLeg *modePage() const { return m_modePage; }
    FesSetting *fesSetting() const { return m_fesSetting; }
    UserManager *userManager() const { return m_userManager; }
    TrainingParamSetting *paramPage() const { return m_paramPage; }
    SettingWidget *settingWidget() const { return m_settingWidget; }
    GameDisplayPage *trainingPage() const { return m_trainingPage.get(); }
    QDialog *gameHostWindow() const { return m_gameHost.get(); }
    GameStarter *gameStarter() const { return m_gameStarter; }

signals:
    // Every show of the window; the login that let the user in closes on it.
    void signalShowCompleted();

public slots:
    void slotSwitchPage(E_PAGENAME page);
    void slotCurrentUserChanged();
    // Page 1: starts the chosen game; its window is searched for and embedded when it comes.
    void startGame_Btn_clicked();
    // 1: the game runs, the training page comes over it; 0: the game ended, back to page 0.
    void slotGameStateChanged(int8_t state);
    void closeWindow();
    void slotGrabWindow();

protected:
    void showEvent(QShowEvent *event) override;
    // However the window is closed, the program quits, and the quit switches the boxes off.
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showPage(E_PAGENAME page);

    std::unique_ptr<Ui::CMainWindow> ui;
    TrainManager *m_trainManager = nullptr;
    ArmOrLeg *m_modePage = nullptr;
    FesSetting *m_fesSetting = nullptr;
    UserManager *m_userManager = nullptr;
    TrainingParamSetting *m_paramPage = nullptr;
    SettingWidget *m_settingWidget = nullptr;
    std::unique_ptr<GameDisplayPage> m_trainingPage;
    std::unique_ptr<QDialog> m_gameHost;
    GameStarter *m_gameStarter = nullptr;
};
