#pragma once

#include <QStringList>

// Where the names of the machine's serial ports come from: the operating system in the program,
// a fixed list where the real ports must not be probed (tests, the screenshot tool).
class SerialPortSource
{
public:
    virtual ~SerialPortSource() = default;
    virtual QStringList portNames() const = 0;
};
