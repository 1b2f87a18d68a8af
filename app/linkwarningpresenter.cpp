#include "app/linkwarningpresenter.h"

#include "app/languagemanager.h"
#include "comm/ccommunicateapi.h"
#include "comm/ccommunicationinterface.h"

#include <QMessageBox>

LinkWarningPresenter *LinkWarningPresenter::install(QObject *parent)
{
    auto *presenter = new LinkWarningPresenter(parent);
    connect(CCommunicateAPI::getInstance(), &CCommunicateAPI::signalLinkWarning, presenter,
            &LinkWarningPresenter::slotLinkWarning);
    return presenter;
}

LinkWarningPresenter::LinkWarningPresenter(QObject *parent) : QObject(parent) {}

bool LinkWarningPresenter::boxTexts(int kind, int language, QString *title, QString *text)
{
    if (kind == CCommunicationInterface::ConfigMissing) {
        *title = tr("警告");
        *text = tr("获取串口配置失败");
        return true;
    }
    if (kind != CCommunicationInterface::PortNotOpened)
        return false;
    if (language != Chinese_E) {
        *title = tr("Warning");
        *text = tr("Failed to open the serial port");
    } else {
        *title = tr("警告");
        *text = tr("串口打开失败");
    }
    return true;
}

void LinkWarningPresenter::slotLinkWarning(int kind)
{
    QString title;
    QString text;
    if (!boxTexts(kind, LanguageManager::getInstance()->getLanguage(), &title, &text))
        return;
    // The reopen timer retries every second; the user needs one box, not a pile of them.
    if (m_open.value(kind))
        return;
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Retry);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    m_open.insert(kind, box);
}
