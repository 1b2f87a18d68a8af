#include "feslinkpty.h"

#include "comm/streamframecutter.h"
#include "modalcloser.h"
#include "fes/channeldialog.h"
#include "fes/fescontroldialog.h"
#include "fes/fessetting.h"
#include "fes/fesprotocol.h"

#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QSerialPort>
#include <QTimer>

#include <memory>

void whenModal(std::function<void(QWidget *)> answer)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start();
}

void setUpChannel(FesSetting &page, int id, int maxCurrent, int muscle)
{
    whenModal([maxCurrent, muscle](QWidget *modal) {
        if (auto *cycling = qobject_cast<ChannelDialog *>(modal))
            cycling->selectMuscle(muscle);
        modal->findChild<QSlider *>(QStringLiteral("maxCurrent_Slider"))->setValue(maxCurrent);
        modal->findChild<QPushButton *>(QStringLiteral("confirm_Btn"))->click();
    });
    page.slotChannelWidgetClicked(id);
}

void FesLinkPty::createManager()
{
    ModalCloser closer; // the manager finds no serial port when it is first made
    FesControlDialog::createInstance(std::make_unique<ListedPorts>());
}

QSerialPort *FesLinkPty::managerPort()
{
    return FesControlDialog::getInstance()->findChild<QSerialPort *>(QStringLiteral("fesLink_SerialPort"));
}

bool FesLinkPty::open()
{
    if (!m_pty.isValid())
        return false;
    createManager();
    m_open = FesControlDialog::getInstance()->openSerialPort(m_pty.slavePath());
    return m_open;
}

FesLinkPty::~FesLinkPty()
{
    if (m_open)
        managerPort()->close();
}

QList<QByteArray> FesLinkPty::sentFrames(int waitMs)
{
    QByteArray bytes;
    QByteArray more;
    while (!(more = m_pty.read(waitMs)).isEmpty())
        bytes += more;
    StreamFrameCutter cutter(FesProtocol::kStart, FesProtocol::kEnd);
    return cutter.feed(bytes);
}
