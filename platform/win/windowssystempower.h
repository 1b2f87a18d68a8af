#pragma once

#include "platform/systempower.h"

namespace platform {

// Runs the system command "shutdown -s -t 00", which switches the PC off at once.
class WindowsSystemPower : public SystemPower
{
public:
    std::string name() const override;
    bool powerOff() override;
};

} // namespace platform
