#pragma once

#include "fes/serialportsource.h"

// The serial ports the operating system lists, through Qt.
class QtSerialPortSource : public SerialPortSource
{
public:
    QStringList portNames() const override;
};
