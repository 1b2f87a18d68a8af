#include "fes/qtserialportsource.h"

#include <QSerialPortInfo>

QStringList QtSerialPortSource::portNames() const
{
    QStringList names;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names << info.portName();
    return names;
}
