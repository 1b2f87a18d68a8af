#include "platform/volumebackendfactory.h"

#include "platform/win/coreaudiovolumebackend.h"

namespace platform {

// Core Audio is always the choice on Windows: its operations build their chain afresh, so an
// endpoint missing at start-up is used as soon as it appears.
VolumeBackendChoice chooseVolumeBackend()
{
    VolumeBackendChoice choice;
    auto coreAudio = std::make_unique<CoreAudioVolumeBackend>();
    if (!coreAudio->constructionError().empty())
        choice.notes.push_back(coreAudio->constructionError());
    choice.backend = std::move(coreAudio);
    choice.answered = true;
    return choice;
}

} // namespace platform
