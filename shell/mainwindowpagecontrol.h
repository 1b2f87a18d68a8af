#pragma once

#include <QMetaType>
#include <QObject>

// The pages of the main window by number; pages ask for one another by these values only.
enum E_PAGENAME
{
    MainPage_E = 0,
    TrainingPage_E = 1,
    UserPage_E = 2,
    SettingPage_E = 3,
    BicycleModePage_E = 4,
    FesPage_E = 5,
    FesBicycleModePage_E = 6,
    FesBicyclePage_E = 7,
    TrainParamPage_E = 8
};
Q_DECLARE_METATYPE(E_PAGENAME)

// Holds the page in view and tells the main window which page to show.
class MainWindowPageControl : public QObject
{
    Q_OBJECT
public:
    static MainWindowPageControl *getInstance();

    // Stores the page and asks the main window to show it.
    void setCurrentPage(E_PAGENAME page);
    E_PAGENAME getCurrentPage() const;
    // Stores the page without asking for a switch.
    void setCurrentPageQuiet(E_PAGENAME page);

    // Whether a value names a page of the table.
    static bool isPage(int value);

signals:
    void signalSwitchPage(E_PAGENAME pageIndex);
    void signalSetBtnsLock(bool lock);
    void signalTurnOffRunning(int pageIndex);

private:
    MainWindowPageControl();

    E_PAGENAME m_currentPage = MainPage_E;
};
