#pragma once

#include "platform/lasterror.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Finds another program's top-level window by class and title, and hands it in and out of an
// embedding. Plain std types so the Windows side compiles without Qt.
class GameWindowFinder : public LastError
{
public:
    // A native window handle (HWND, X11 window id); 0 is none.
    using NativeWindow = std::uintptr_t;
    enum class Response { Responding, Hung, Unknown };

    virtual ~GameWindowFinder() = default;

    // False, with the reason in lastError(), where other programs' windows cannot be found.
    virtual bool isAvailable() = 0;
    // The first top-level window with this class and title (UTF-8), or 0.
    virtual NativeWindow find(const std::string &className, const std::string &title) = 0;
    // Whether the window answers; Unknown while an answer is still awaited (ask again later).
    virtual Response response(NativeWindow window) = 0;
    // Before embedding: the window must outlive this program's own windows.
    virtual void keep(NativeWindow window) = 0;
    // Once the embedding has ended (the window that held it still exists): the window, if it
    // still exists, goes back to the desktop, shown.
    virtual void release(NativeWindow window) = 0;
};

// This platform's finder for the running session (Windows; X11; none elsewhere).
std::unique_ptr<GameWindowFinder> makeGameWindowFinder();

} // namespace platform
