#include "platform/systempower.h"

#include "platform/simulatedsystempower.h"

#include <cstdlib>

namespace platform {

std::unique_ptr<SystemPower> makeSystemPower()
{
    if (std::getenv(kSimulatePowerOffVariable))
        return std::make_unique<SimulatedSystemPower>();
    return makePlatformSystemPower();
}

} // namespace platform
