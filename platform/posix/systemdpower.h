#pragma once

#include "platform/systempower.h"

namespace platform {

// Asks systemd to switch the computer off (`systemctl poweroff`); systemd then ends every
// program, this one included, with SIGTERM.
class SystemdPower : public SystemPower
{
public:
    // How long systemctl may take to accept the request.
    static constexpr int kAnswerTimeoutMs = 10000;

    std::string name() const override;
    bool powerOff() override;
};

} // namespace platform
