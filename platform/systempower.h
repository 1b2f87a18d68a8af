#pragma once

#include "platform/lasterror.h"

#include <memory>
#include <string>

namespace platform {

// Switches the computer off through the operating system. Plain std types so the Windows side
// compiles without Qt.
class SystemPower : public LastError
{
public:
    virtual ~SystemPower() = default;

    // How the request is made, for the log (the command line).
    virtual std::string name() const = 0;
    // Asks the operating system to switch the computer off; false when the request was not taken.
    virtual bool powerOff() = 0;
};

// Set (to any value) where the computer must stay on whatever the program is told: the test
// suite and run.sh set it, and the program then only notes the request.
constexpr const char *kSimulatePowerOffVariable = "ROTAFLEX_SIMULATE_POWER_OFF";

// The product's way of this platform, or the simulated one when the variable above is set.
std::unique_ptr<SystemPower> makeSystemPower();
// The product's way of this platform, whatever the environment says (one per platform file).
std::unique_ptr<SystemPower> makePlatformSystemPower();

} // namespace platform
