#include "platform/instancemarker.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

// A name in Linux's abstract UNIX socket namespace, bound by the running copy. It has no file
// and no permissions, so TMPDIR, the working folder and the user make no difference, and the
// kernel frees the name when the holder dies, however it dies.
InstanceMarker::InstanceMarker(const std::string &key) : m_key(key) {}

InstanceMarker::~InstanceMarker()
{
    release();
}

InstanceMarker::Result InstanceMarker::acquire()
{
    if (m_fd >= 0)
        return Result::Acquired;
    const std::string name = "rotaflex-" + m_key;
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (name.size() + 1 > sizeof(address.sun_path)) {
        m_lastError = "instance name too long: " + name;
        return Result::Failed;
    }
    // sun_path[0] stays 0: that selects the abstract namespace.
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        m_lastError = std::string("socket: ") + std::strerror(errno);
        return Result::Failed;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EADDRINUSE)
            return Result::HeldByLiveCopy;
        m_lastError = "bind @" + name + ": " + std::strerror(err);
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Acquired;
}

void InstanceMarker::release()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
}

} // namespace platform
