#include "platform/instancemarker.h"

#include <string>
#include <windows.h>

namespace platform {

// A named one-byte file mapping: Windows removes it when the last handle closes, also when the
// holding process crashes.
InstanceMarker::InstanceMarker(const std::string &key) : m_key(key) {}

InstanceMarker::~InstanceMarker()
{
    release();
}

InstanceMarker::Result InstanceMarker::acquire()
{
    if (m_handle)
        return Result::Acquired;
    const std::wstring name(m_key.begin(), m_key.end());
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1,
                                        name.c_str());
    const DWORD err = GetLastError();
    if (!mapping) {
        m_lastError = "CreateFileMappingW failed, error " + std::to_string(err);
        return Result::Failed;
    }
    if (err == ERROR_ALREADY_EXISTS) {
        CloseHandle(mapping);
        return Result::HeldByLiveCopy;
    }
    m_handle = mapping;
    return Result::Acquired;
}

void InstanceMarker::release()
{
    if (!m_handle)
        return;
    CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
}

} // namespace platform
