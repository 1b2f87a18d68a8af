#include "feslinkpty.h"

#include "comm/streamframecutter.h"
#include "modalcloser.h"
#include "fes/fescontroldialog.h"
#include "fes/fesprotocol.h"

#include <QSerialPort>

#include <memory>

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
