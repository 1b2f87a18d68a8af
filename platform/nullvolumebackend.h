#pragma once

#include "platform/volumebackend.h"

namespace platform {

// Stands in when no sound system answers: nothing can be read or set, and every call says so,
// so the volume dialog still opens and works.
class NullVolumeBackend : public VolumeBackend
{
public:
    std::string name() const override;
    bool readLevel(double &level) override;
    bool setLevel(double level) override;
    bool setMute(bool mute) override;
};

} // namespace platform
