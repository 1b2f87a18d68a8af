#include "platform/win/windowssystempower.h"

#include <string>
#include <windows.h>

namespace platform {

std::string WindowsSystemPower::name() const
{
    return "shutdown -s -t 00";
}

bool WindowsSystemPower::powerOff()
{
    // CreateProcessW may write into the command line, so it gets a buffer of its own.
    std::wstring commandLine = L"shutdown -s -t 00";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return fail("shutdown did not start, error " + std::to_string(GetLastError()));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return succeed();
}

std::unique_ptr<SystemPower> makePlatformSystemPower()
{
    return std::make_unique<WindowsSystemPower>();
}

} // namespace platform
