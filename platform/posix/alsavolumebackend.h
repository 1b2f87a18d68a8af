#pragma once

#include "platform/volumebackend.h"

#include <functional>

typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace platform {

// The ALSA mixer's playback control of one card (Master, else PCM, else Speaker), for machines
// without a sound server. The mixer is opened afresh for every call, so a card that comes or
// goes is followed. ALSA's own error printing is silenced: its failures are reported here.
class AlsaVolumeBackend : public VolumeBackend
{
public:
    explicit AlsaVolumeBackend(const std::string &device = "default");

    std::string name() const override;
    bool readLevel(double &level) override;
    bool setLevel(double level) override;
    bool setMute(bool mute) override;

private:
    // Opens the mixer, finds the control and runs `action` on it.
    bool withControl(const std::function<bool(snd_mixer_elem_t *)> &action);

    std::string m_device;
};

} // namespace platform
