#include "platform/posix/alsavolumebackend.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace platform {

namespace {

const char *const kControlNames[] = {"Master", "PCM", "Speaker"};

void silentAlsaErrors(const char *, int, const char *, int, const char *, ...) {}

struct MixerCloser
{
    void operator()(snd_mixer_t *mixer) const { snd_mixer_close(mixer); }
};

std::string alsaError(const std::string &what, int code)
{
    return "ALSA: " + what + ": " + snd_strerror(code);
}

} // namespace

AlsaVolumeBackend::AlsaVolumeBackend(const std::string &device) : m_device(device)
{
    snd_lib_error_set_handler(silentAlsaErrors);
}

std::string AlsaVolumeBackend::name() const
{
    return "ALSA mixer";
}

bool AlsaVolumeBackend::readLevel(double &level)
{
    return withControl([&](snd_mixer_elem_t *control) {
        long min = 0;
        long max = 0;
        snd_mixer_selem_get_playback_volume_range(control, &min, &max);
        if (max <= min)
            return fail("ALSA: the playback control has no volume range");
        // The loudest channel is the master level, as balance keeps the others below it.
        long loudest = min;
        bool read = false;
        for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
            const auto id = snd_mixer_selem_channel_id_t(channel);
            long value = 0;
            if (snd_mixer_selem_has_playback_channel(control, id)
                && snd_mixer_selem_get_playback_volume(control, id, &value) == 0) {
                loudest = std::max(loudest, value);
                read = true;
            }
        }
        if (!read)
            return fail("ALSA: the playback control has no readable channel");
        level = double(loudest - min) / double(max - min);
        return succeed();
    });
}

bool AlsaVolumeBackend::setLevel(double level)
{
    return withControl([&](snd_mixer_elem_t *control) {
        long min = 0;
        long max = 0;
        snd_mixer_selem_get_playback_volume_range(control, &min, &max);
        const long value = min + std::lround(std::clamp(level, 0.0, 1.0) * double(max - min));
        const int rc = snd_mixer_selem_set_playback_volume_all(control, value);
        return rc == 0 ? succeed() : fail(alsaError("set the volume", rc));
    });
}

bool AlsaVolumeBackend::setMute(bool mute)
{
    return withControl([&](snd_mixer_elem_t *control) {
        if (!snd_mixer_selem_has_playback_switch(control))
            // A control without a switch can never be muted, so unmuting it is already done.
            return mute ? fail("ALSA: the playback control has no mute switch") : succeed();
        const int rc = snd_mixer_selem_set_playback_switch_all(control, mute ? 0 : 1);
        return rc == 0 ? succeed() : fail(alsaError("set the mute state", rc));
    });
}

bool AlsaVolumeBackend::withControl(const std::function<bool(snd_mixer_elem_t *)> &action)
{
    snd_mixer_t *raw = nullptr;
    int rc = snd_mixer_open(&raw, 0);
    if (rc < 0)
        return fail(alsaError("open the mixer", rc));
    const std::unique_ptr<snd_mixer_t, MixerCloser> mixer(raw);
    if ((rc = snd_mixer_attach(raw, m_device.c_str())) < 0)
        return fail(alsaError("open the card \"" + m_device + "\"", rc));
    if ((rc = snd_mixer_selem_register(raw, nullptr, nullptr)) < 0 || (rc = snd_mixer_load(raw)) < 0)
        return fail(alsaError("load the mixer", rc));
    snd_mixer_selem_id_t *id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    for (const char *controlName : kControlNames) {
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, controlName);
        snd_mixer_elem_t *control = snd_mixer_find_selem(raw, id);
        if (control && snd_mixer_selem_has_playback_volume(control))
            return action(control);
    }
    return fail("ALSA: no Master, PCM or Speaker control on \"" + m_device + "\"");
}

} // namespace platform
