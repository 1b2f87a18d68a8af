#pragma once

#include "platform/systempower.h"

namespace platform {

// Takes every power-off request and leaves the computer on: for development runs and tests.
class SimulatedSystemPower : public SystemPower
{
public:
    std::string name() const override;
    bool powerOff() override;
    int requests() const { return m_requests; }

private:
    int m_requests = 0;
};

} // namespace platform
