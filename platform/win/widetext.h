#pragma once

#include <string>
#include <windows.h>

namespace platform {

// UTF-8 text as the wide text of Windows' own calls.
inline std::wstring wideFromUtf8(const std::string &text)
{
    if (text.empty())
        return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &wide[0], length);
    return wide;
}

// Wide text as Latin-1 bytes; characters beyond Latin-1 become '?'.
inline std::string latin1FromWide(const std::wstring &text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (const wchar_t c : text)
        bytes.push_back(c <= 0xFF ? char(c) : '?');
    return bytes;
}

} // namespace platform
