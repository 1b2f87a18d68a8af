#include "platform/win/win32gamewindowfinder.h"

#include "platform/win/widetext.h"

#include <windows.h>

namespace platform {

namespace {

HWND handleOf(GameWindowFinder::NativeWindow window)
{
    return reinterpret_cast<HWND>(window);
}

} // namespace

bool Win32GameWindowFinder::isAvailable()
{
    return succeed();
}

GameWindowFinder::NativeWindow Win32GameWindowFinder::find(const std::string &className, const std::string &title)
{
    const std::wstring wideClass = wideFromUtf8(className);
    const std::wstring wideTitle = wideFromUtf8(title);
    return reinterpret_cast<NativeWindow>(FindWindowW(wideClass.c_str(), wideTitle.c_str()));
}

GameWindowFinder::Response Win32GameWindowFinder::response(NativeWindow window)
{
    return IsHungAppWindow(handleOf(window)) ? Response::Hung : Response::Responding;
}

// A window of another process survives ours as long as it is given back before our windows go.
void Win32GameWindowFinder::keep(NativeWindow) {}

void Win32GameWindowFinder::release(NativeWindow window)
{
    const HWND handle = handleOf(window);
    if (!IsWindow(handle))
        return;
    SetParent(handle, nullptr);
    const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
    SetWindowLongPtrW(handle, GWL_STYLE, (style & ~LONG_PTR(WS_CHILD)) | LONG_PTR(WS_POPUP));
}

std::unique_ptr<GameWindowFinder> makeGameWindowFinder()
{
    return std::make_unique<Win32GameWindowFinder>();
}

} // namespace platform
