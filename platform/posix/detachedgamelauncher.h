#pragma once

#include "platform/gamelauncher.h"

#include <sys/types.h>

namespace platform {

// Starts a game program as a detached process from its own folder and watches its process id.
// The process's start time is kept with the id, so that an id the system hands to another
// process later is never taken for the game.
class DetachedGameLauncher : public GameLauncher
{
public:
    explicit DetachedGameLauncher(const std::string &applicationFolder);

    bool start(const std::string &program) override;
    bool isRunning() const override;
    void stop() override;

    pid_t processId() const { return m_pid; }

private:
    // Field 22 of /proc/<pid>/stat, or 0 when the process is gone or a zombie.
    static unsigned long long startTimeOf(pid_t pid);

    std::string m_applicationFolder;
    pid_t m_pid = 0;
    unsigned long long m_startTime = 0;
};

} // namespace platform
