#pragma once

#include "platform/gamewindowfinder.h"

namespace platform {

// Finds a game's window with FindWindowW, asks IsHungAppWindow whether it answers, and gives it
// back to the desktop before the window that held it goes.
class Win32GameWindowFinder : public GameWindowFinder
{
public:
    bool isAvailable() override;
    NativeWindow find(const std::string &className, const std::string &title) override;
    Response response(NativeWindow window) override;
    void keep(NativeWindow window) override;
    void release(NativeWindow window) override;
};

} // namespace platform
