#include "comm/ccommunicationinterface.h"

void CCommunicationInterface::handOn(const QByteArray &frame)
{
    QMetaObject::invokeMethod(this, [this, frame] { emit signalReadyRead(frame); }, Qt::QueuedConnection);
}

void CCommunicationInterface::postWarning(LinkWarning kind)
{
    QMetaObject::invokeMethod(this, [this, kind] { emit signalLinkWarning(kind); }, Qt::QueuedConnection);
}
