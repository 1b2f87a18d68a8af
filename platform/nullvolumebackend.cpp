#include "platform/nullvolumebackend.h"

namespace platform {

namespace {
const char *const kNoSoundSystem = "no sound system answered";
}

std::string NullVolumeBackend::name() const
{
    return "none";
}

bool NullVolumeBackend::readLevel(double &)
{
    return fail(kNoSoundSystem);
}

bool NullVolumeBackend::setLevel(double)
{
    return fail(kNoSoundSystem);
}

bool NullVolumeBackend::setMute(bool)
{
    return fail(kNoSoundSystem);
}

} // namespace platform
