#include "platform/posix/systemdpower.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>

extern char **environ;

namespace platform {

std::string SystemdPower::name() const
{
    return "systemctl poweroff";
}

bool SystemdPower::powerOff()
{
    char program[] = "systemctl";
    char verb[] = "poweroff";
    char *argv[] = {program, verb, nullptr};
    pid_t pid = 0;
    const int spawnError = posix_spawnp(&pid, program, nullptr, nullptr, argv, environ);
    if (spawnError != 0)
        return fail(std::string("systemctl did not start: ") + std::strerror(spawnError));

    // Bounded: a polkit agent asking for a password must not hold the program for ever.
    const timespec step = {0, 50 * 1000 * 1000};
    for (int waited = 0; waited <= kAnswerTimeoutMs; waited += 50) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
                return succeed();
            return fail("systemctl poweroff failed with status " + std::to_string(status));
        }
        if (done < 0 && errno != EINTR)
            return fail(std::string("systemctl poweroff lost: ") + std::strerror(errno));
        nanosleep(&step, nullptr);
    }
    return fail("systemctl poweroff gave no answer within "
                + std::to_string(kAnswerTimeoutMs / 1000) + " s");
}

std::unique_ptr<SystemPower> makePlatformSystemPower()
{
    return std::make_unique<SystemdPower>();
}

} // namespace platform
