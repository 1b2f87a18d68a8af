#pragma once

#include "platform/volumebackend.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

struct VolumeBackendChoice
{
    std::unique_ptr<VolumeBackend> backend;
    // False when nothing answered and the null backend stands in.
    bool answered = false;
    // Why the sound systems tried before it were passed over, for the log.
    std::vector<std::string> notes;
};

// The first sound system of this platform that answers, or the null backend when none does.
VolumeBackendChoice chooseVolumeBackend();

} // namespace platform
