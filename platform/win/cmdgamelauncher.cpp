#include "platform/win/cmdgamelauncher.h"

#include "platform/gamecommandlines.h"
#include "platform/win/widetext.h"

#include <string>
#include <windows.h>

namespace platform {

namespace {

std::string windowsError(const std::string &what)
{
    return what + ", error " + std::to_string(GetLastError());
}

} // namespace

bool CmdGameLauncher::start(const std::string &program)
{
    if (program.empty())
        return fail("the catalogue entry names no program");
    const std::wstring wideProgram = wideFromUtf8(program);
    const DWORD attributes = GetFileAttributesW(wideProgram.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return fail("no such program: " + program);

    SECURITY_ATTRIBUTES inheritable = {};
    inheritable.nLength = sizeof(inheritable);
    inheritable.bInheritHandle = TRUE;
    HANDLE inputRead = nullptr;
    HANDLE inputWrite = nullptr;
    if (!CreatePipe(&inputRead, &inputWrite, &inheritable, 0))
        return fail(windowsError("no pipe to cmd.exe"));
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    // The interpreter's echo is not read; it goes nowhere so that it can never fill a pipe.
    HANDLE output = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                OPEN_EXISTING, 0, nullptr);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    // CreateProcessW may write into the command line, so it gets a buffer of its own.
    std::wstring commandLine = L"cmd.exe";
    const BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    const std::string startError = started ? std::string() : windowsError("cmd.exe did not start");
    CloseHandle(inputRead);
    if (output != INVALID_HANDLE_VALUE)
        CloseHandle(output);
    if (!started) {
        CloseHandle(inputWrite);
        return fail(startError);
    }

    bool written = true;
    for (const std::string &line : gameCommandLines(latin1FromWide(wideProgram))) {
        DWORD count = 0;
        written = written && WriteFile(inputWrite, line.data(), DWORD(line.size()), &count, nullptr)
                  && count == line.size();
    }
    CloseHandle(inputWrite);
    if (WaitForSingleObject(process.hProcess, kInterpreterWaitMs) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return written ? succeed() : fail(windowsError("the lines did not reach cmd.exe"));
}

bool CmdGameLauncher::isRunning() const
{
    return true;
}

void CmdGameLauncher::stop() {}

std::unique_ptr<GameLauncher> makeGameLauncher(const std::string &)
{
    return std::make_unique<CmdGameLauncher>();
}

} // namespace platform
