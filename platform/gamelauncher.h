#pragma once

#include "platform/lasterror.h"

#include <memory>
#include <string>

namespace platform {

// Starts a game program as a process of its own that outlives the call, and watches it. Plain
// std types so the Windows side compiles without Qt.
class GameLauncher : public LastError
{
public:
    virtual ~GameLauncher() = default;

    // Starts the program (a folder and a file name, UTF-8) from its own folder; false, with the
    // reason in lastError(), when it cannot be started.
    virtual bool start(const std::string &program) = 0;
    // False once the started program has ended; true while it runs or where that cannot be told.
    virtual bool isRunning() const = 0;
    // Asks the started program to end, if it still runs and this platform can reach it.
    virtual void stop() = 0;
};

// This platform's launcher; relative programs resolve from applicationFolder where the platform
// starts games itself.
std::unique_ptr<GameLauncher> makeGameLauncher(const std::string &applicationFolder);

} // namespace platform
