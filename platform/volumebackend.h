#pragma once

#include "platform/lasterror.h"

#include <string>

namespace platform {

// Master volume of the default playback device, as the operating system's sound system holds
// it. Levels run from 0 to 1. Plain std types so the Windows side compiles without Qt.
class VolumeBackend : public LastError
{
public:
    virtual ~VolumeBackend() = default;

    // Short name of the sound system, for the log.
    virtual std::string name() const = 0;
    virtual bool readLevel(double &level) = 0;
    virtual bool setLevel(double level) = 0;
    virtual bool setMute(bool mute) = 0;
};

} // namespace platform
