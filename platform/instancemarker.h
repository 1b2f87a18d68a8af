#pragma once

#include <string>

namespace platform {

// Marks the one running copy of the program on this machine, for every user, working folder and
// TMPDIR. The marker dies with its process, so a crashed copy never locks the next start out.
// Plain std types so the Windows side compiles without Qt.
class InstanceMarker
{
public:
    enum class Result { Acquired, HeldByLiveCopy, Failed };

    explicit InstanceMarker(const std::string &key);
    ~InstanceMarker();
    InstanceMarker(const InstanceMarker &) = delete;
    InstanceMarker &operator=(const InstanceMarker &) = delete;

    Result acquire();
    void release();
    // Text of the last system error, for the log.
    const std::string &lastError() const { return m_lastError; }

private:
    std::string m_key;
    std::string m_lastError;
#ifdef _WIN32
    void *m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace platform
