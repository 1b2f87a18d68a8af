#pragma once

#include "platform/volumebackend.h"

#include <pulse/volume.h>

#include <chrono>
#include <functional>

struct pa_mainloop;
struct pa_context;
struct pa_operation;

namespace platform {

// The volume of PulseAudio's (or PipeWire's) default sink through the asynchronous API. No
// thread: each call runs the library's loop itself, bounded by a fixed time, so a server that
// hangs never holds the caller longer than that and a refused connection fails at once. The
// connection is kept between calls and made anew when it was lost.
class PulseVolumeBackend : public VolumeBackend
{
public:
    // An empty server means the library's own choice (PULSE_SERVER, then its defaults).
    explicit PulseVolumeBackend(const std::string &server = {},
                                std::chrono::milliseconds timeout = std::chrono::milliseconds(300));
    ~PulseVolumeBackend() override;
    PulseVolumeBackend(const PulseVolumeBackend &) = delete;
    PulseVolumeBackend &operator=(const PulseVolumeBackend &) = delete;

    std::string name() const override;
    bool readLevel(double &level) override;
    bool setLevel(double level) override;
    bool setMute(bool mute) override;

private:
    using Clock = std::chrono::steady_clock;

    // Runs `request` on a ready connection, reconnecting once when the server went away.
    bool withConnection(const std::function<bool(Clock::time_point)> &request);
    bool connect(Clock::time_point deadline);
    void disconnect();
    bool contextReady() const;
    // Iterates the loop until `done` holds, the connection fails or the deadline passes.
    bool runUntil(const std::function<bool()> &done, Clock::time_point deadline);
    // Waits for `operation` to finish and unreferences it.
    bool finish(pa_operation *operation, Clock::time_point deadline, const char *what);
    bool readSink(pa_cvolume &volume, Clock::time_point deadline);
    bool contextFailure(const char *what);

    std::string m_server;
    std::chrono::milliseconds m_timeout;
    pa_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
};

} // namespace platform
