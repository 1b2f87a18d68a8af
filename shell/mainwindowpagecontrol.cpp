#include "shell/mainwindowpagecontrol.h"

MainWindowPageControl *MainWindowPageControl::getInstance()
{
    static MainWindowPageControl *instance = new MainWindowPageControl;
    return instance;
}

MainWindowPageControl::MainWindowPageControl()
{
    // Queued connections and signal spies carry the page by this name.
    qRegisterMetaType<E_PAGENAME>("E_PAGENAME");
}

void MainWindowPageControl::setCurrentPage(E_PAGENAME page)
{
    m_currentPage = page;
    emit signalSwitchPage(page);
}

E_PAGENAME MainWindowPageControl::getCurrentPage() const
{
    return m_currentPage;
}

void MainWindowPageControl::setCurrentPageQuiet(E_PAGENAME page)
{
    m_currentPage = page;
}

bool MainWindowPageControl::isPage(int value)
{
    return value >= MainPage_E && value <= TrainParamPage_E;
}
