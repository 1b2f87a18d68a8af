#include "platform/posix/pulsevolumebackend.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

const char *const kDefaultSink = "@DEFAULT_SINK@";

// -1 while the server has not answered, then 0 or 1.
void onSuccess(pa_context *, int success, void *userdata)
{
    *static_cast<int *>(userdata) = success ? 1 : 0;
}

struct SinkState
{
    bool found = false;
    pa_cvolume volume{};
};

void onSinkInfo(pa_context *, const pa_sink_info *info, int, void *userdata)
{
    if (!info)
        return; // the end of the list, or the server's refusal
    auto *sink = static_cast<SinkState *>(userdata);
    sink->volume = info->volume;
    sink->found = true;
}

} // namespace

PulseVolumeBackend::PulseVolumeBackend(const std::string &server, std::chrono::milliseconds timeout)
    : m_server(server), m_timeout(timeout)
{
}

PulseVolumeBackend::~PulseVolumeBackend()
{
    disconnect();
}

std::string PulseVolumeBackend::name() const
{
    return "PulseAudio";
}

bool PulseVolumeBackend::readLevel(double &level)
{
    return withConnection([&](Clock::time_point deadline) {
        pa_cvolume volume;
        if (!readSink(volume, deadline))
            return false;
        level = std::min(1.0, double(pa_cvolume_max(&volume)) / PA_VOLUME_NORM);
        return true;
    });
}

bool PulseVolumeBackend::setLevel(double level)
{
    const auto target = pa_volume_t(std::lround(std::clamp(level, 0.0, 1.0) * PA_VOLUME_NORM));
    return withConnection([&](Clock::time_point deadline) {
        pa_cvolume volume;
        if (!readSink(volume, deadline))
            return false;
        // Scaling keeps the balance between the channels.
        pa_cvolume_scale(&volume, target);
        int result = -1;
        return finish(pa_context_set_sink_volume_by_name(m_context, kDefaultSink, &volume,
                                                         onSuccess, &result),
                      deadline, "set the volume")
            && (result == 1 || contextFailure("set the volume"));
    });
}

bool PulseVolumeBackend::setMute(bool mute)
{
    return withConnection([&](Clock::time_point deadline) {
        int result = -1;
        return finish(pa_context_set_sink_mute_by_name(m_context, kDefaultSink, mute ? 1 : 0,
                                                       onSuccess, &result),
                      deadline, "set the mute state")
            && (result == 1 || contextFailure("set the mute state"));
    });
}

bool PulseVolumeBackend::withConnection(const std::function<bool(Clock::time_point)> &request)
{
    const Clock::time_point deadline = Clock::now() + m_timeout;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!contextReady() && !connect(deadline))
            return false;
        if (request(deadline))
            return succeed();
        if (contextReady())
            return false; // the server answered with a refusal
        // The connection was lost on the way: a restarted server gets one more try.
    }
    return false;
}

bool PulseVolumeBackend::connect(Clock::time_point deadline)
{
    disconnect();
    m_loop = pa_mainloop_new();
    if (!m_loop)
        return fail("PulseAudio: no main loop");
    m_context = pa_context_new(pa_mainloop_get_api(m_loop), "Rotaflex");
    if (!m_context)
        return fail("PulseAudio: no context");
    // Never start a sound server of our own.
    if (pa_context_connect(m_context, m_server.empty() ? nullptr : m_server.c_str(),
                           PA_CONTEXT_NOAUTOSPAWN, nullptr)
        < 0)
        return contextFailure("connect");
    return runUntil([this] { return contextReady(); }, deadline);
}

void PulseVolumeBackend::disconnect()
{
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    if (m_loop) {
        pa_mainloop_free(m_loop);
        m_loop = nullptr;
    }
}

bool PulseVolumeBackend::contextReady() const
{
    return m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY;
}

bool PulseVolumeBackend::runUntil(const std::function<bool()> &done, Clock::time_point deadline)
{
    while (!done()) {
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)))
            return contextFailure("connection");
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            disconnect(); // what the server still sends belongs to a request given up
            return fail("PulseAudio: no answer within " + std::to_string(m_timeout.count()) + " ms");
        }
        if (pa_mainloop_prepare(m_loop, int(left.count())) < 0 || pa_mainloop_poll(m_loop) < 0
            || pa_mainloop_dispatch(m_loop) < 0) {
            disconnect();
            return fail("PulseAudio: the main loop failed");
        }
    }
    return true;
}

bool PulseVolumeBackend::finish(pa_operation *operation, Clock::time_point deadline, const char *what)
{
    if (!operation)
        return contextFailure(what);
    const bool done = runUntil(
        [operation] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; }, deadline);
    if (!done && m_context)
        pa_operation_cancel(operation); // its callback must not reach a finished call's data
    pa_operation_unref(operation);
    return done;
}

bool PulseVolumeBackend::readSink(pa_cvolume &volume, Clock::time_point deadline)
{
    SinkState sink;
    if (!finish(pa_context_get_sink_info_by_name(m_context, kDefaultSink, onSinkInfo, &sink),
                deadline, "read the default sink"))
        return false;
    if (!sink.found)
        return contextFailure("read the default sink");
    volume = sink.volume;
    return true;
}

bool PulseVolumeBackend::contextFailure(const char *what)
{
    const int error = m_context ? pa_context_errno(m_context) : PA_ERR_UNKNOWN;
    return fail(std::string("PulseAudio: ") + what + ": " + pa_strerror(error));
}

} // namespace platform
