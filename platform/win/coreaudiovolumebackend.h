#pragma once

#include "platform/volumebackend.h"

struct IMMDeviceEnumerator;
struct IMMDevice;
struct IAudioEndpointVolume;

namespace platform {

// The Windows master volume of the default playback endpoint (multimedia role) through Core
// Audio. The chain is built once at construction and held; every operation builds it afresh, so a
// device that changes or appears later is followed.
class CoreAudioVolumeBackend : public VolumeBackend
{
public:
    CoreAudioVolumeBackend();
    ~CoreAudioVolumeBackend() override;
    CoreAudioVolumeBackend(const CoreAudioVolumeBackend &) = delete;
    CoreAudioVolumeBackend &operator=(const CoreAudioVolumeBackend &) = delete;

    // Empty when construction obtained the whole chain, else the failure text to log.
    const std::string &constructionError() const { return m_constructionError; }

    std::string name() const override;
    bool readLevel(double &level) override;
    bool setLevel(double level) override;
    bool setMute(bool mute) override;

private:
    struct Chain
    {
        IMMDeviceEnumerator *enumerator = nullptr;
        IMMDevice *device = nullptr;
        IAudioEndpointVolume *volume = nullptr;
    };
    // Builds the chain into `chain`; on failure releases what was obtained and returns the text.
    static std::string open(Chain &chain);
    static void release(Chain &chain);

    Chain m_held;
    bool m_comInitialized = false;
    std::string m_constructionError;
};

} // namespace platform
