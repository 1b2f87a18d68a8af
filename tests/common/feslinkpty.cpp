#include "feslinkpty.h"

#include "comm/streamframecutter.h"
#include "modalcloser.h"
#include "fes/fescontroldialog.h"
#include "fes/fesprotocol.h"

bool FesLinkPty::open()
{
    if (!m_pty.isValid())
        return false;
    ModalCloser closer; // the manager may find no serial port when it is first made
    m_open = FesControlDialog::getInstance()->openSerialPort(m_pty.slavePath());
    return m_open;
}

FesLinkPty::~FesLinkPty()
{
    if (m_open)
        FesControlDialog::getInstance()->serialPort()->close();
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
