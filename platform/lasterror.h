#pragma once

#include <string>

namespace platform {

// Why the last call of an operating-system service failed, for the caller to log. Plain std
// types so the Windows side compiles without Qt.
class LastError
{
public:
    // Empty after a success.
    const std::string &lastError() const { return m_lastError; }

protected:
    bool succeed()
    {
        m_lastError.clear();
        return true;
    }
    bool fail(const std::string &text)
    {
        m_lastError = text;
        return false;
    }

private:
    std::string m_lastError;
};

} // namespace platform
