#include "platform/win/coreaudiovolumebackend.h"

#include <windows.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <algorithm>
#include <string>

namespace platform {

namespace {

template<typename T>
void releaseInterface(T *&pointer)
{
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

} // namespace

CoreAudioVolumeBackend::CoreAudioVolumeBackend()
{
    const HRESULT hr = CoInitialize(nullptr);
    // Qt may have initialised COM on this thread in another mode: it is usable all the same,
    // but that initialisation is not ours to balance.
    m_comInitialized = SUCCEEDED(hr);
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) {
        m_constructionError = "Failed to initialize COM";
        return;
    }
    m_constructionError = open(m_held);
}

CoreAudioVolumeBackend::~CoreAudioVolumeBackend()
{
    release(m_held);
    if (m_comInitialized)
        CoUninitialize();
}

std::string CoreAudioVolumeBackend::open(Chain &chain)
{
    HRESULT hr = CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                  __uuidof(IMMDeviceEnumerator),
                                  reinterpret_cast<void **>(&chain.enumerator));
    if (FAILED(hr) || !chain.enumerator) {
        release(chain);
        return "Failed to create the device enumerator";
    }
    hr = chain.enumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, &chain.device);
    if (FAILED(hr) || !chain.device) {
        release(chain);
        return "Failed to get the default audio endpoint";
    }
    hr = chain.device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                reinterpret_cast<void **>(&chain.volume));
    if (FAILED(hr) || !chain.volume) {
        release(chain);
        return "Failed to activate the endpoint volume interface";
    }
    return {};
}

void CoreAudioVolumeBackend::release(Chain &chain)
{
    releaseInterface(chain.volume);
    releaseInterface(chain.device);
    releaseInterface(chain.enumerator);
}

std::string CoreAudioVolumeBackend::name() const
{
    return "Windows Core Audio";
}

bool CoreAudioVolumeBackend::readLevel(double &level)
{
    Chain chain;
    const std::string error = open(chain);
    if (!error.empty())
        return fail(error);
    float scalar = 0.0f;
    const HRESULT hr = chain.volume->GetMasterVolumeLevelScalar(&scalar);
    release(chain);
    if (FAILED(hr))
        return fail("Failed to read the master volume");
    level = scalar;
    return succeed();
}

bool CoreAudioVolumeBackend::setLevel(double level)
{
    Chain chain;
    const std::string error = open(chain);
    if (!error.empty())
        return fail(error);
    const float scalar = static_cast<float>(std::clamp(level, 0.0, 1.0));
    const HRESULT hr = chain.volume->SetMasterVolumeLevelScalar(scalar, nullptr);
    release(chain);
    return SUCCEEDED(hr) ? succeed() : fail("Failed to set the master volume");
}

bool CoreAudioVolumeBackend::setMute(bool mute)
{
    Chain chain;
    const std::string error = open(chain);
    if (!error.empty())
        return fail(error);
    const HRESULT hr = chain.volume->SetMute(mute ? TRUE : FALSE, nullptr);
    release(chain);
    return SUCCEEDED(hr) ? succeed() : fail("Failed to set the mute state");
}

} // namespace platform
