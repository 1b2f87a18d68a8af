#include "platform/simulatedsystempower.h"

namespace platform {

std::string SimulatedSystemPower::name() const
{
    return "simulated power-off (the computer stays on)";
}

bool SimulatedSystemPower::powerOff()
{
    ++m_requests;
    return succeed();
}

} // namespace platform
