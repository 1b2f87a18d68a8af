#include "platform/volumebackendfactory.h"

#include "platform/nullvolumebackend.h"
#include "platform/posix/alsavolumebackend.h"
#include "platform/posix/pulsevolumebackend.h"

namespace platform {

VolumeBackendChoice chooseVolumeBackend()
{
    VolumeBackendChoice choice;
    std::unique_ptr<VolumeBackend> candidates[] = {std::make_unique<PulseVolumeBackend>(),
                                                   std::make_unique<AlsaVolumeBackend>()};
    for (auto &candidate : candidates) {
        double level = 0;
        if (candidate->readLevel(level)) {
            choice.backend = std::move(candidate);
            choice.answered = true;
            return choice;
        }
        choice.notes.push_back(candidate->lastError());
    }
    choice.backend = std::make_unique<NullVolumeBackend>();
    return choice;
}

} // namespace platform
