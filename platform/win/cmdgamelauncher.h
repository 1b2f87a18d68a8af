#pragma once

#include "platform/gamelauncher.h"

namespace platform {

// Starts a game through "cmd.exe": the drive, folder and start lines written to it as Latin-1,
// then "exit", and up to 30000 ms for it to end. The game runs on, started by the interpreter,
// so its process is not ours to watch or end.
class CmdGameLauncher : public GameLauncher
{
public:
    static constexpr unsigned long kInterpreterWaitMs = 30000;

    bool start(const std::string &program) override;
    bool isRunning() const override;
    void stop() override;
};

} // namespace platform
