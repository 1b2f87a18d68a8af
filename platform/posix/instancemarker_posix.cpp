#include "platform/instancemarker.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

// A lock file held with flock(): the kernel drops the lock when the holder dies, however it dies,
// which a System V shared-memory segment does not do.
InstanceMarker::InstanceMarker(const std::string &key, const std::string &directory)
    : m_key(key), m_directory(directory)
{
}

InstanceMarker::~InstanceMarker()
{
    release();
}

InstanceMarker::Result InstanceMarker::acquire()
{
    if (m_fd >= 0)
        return Result::Acquired;
    const std::string path = m_directory + "/rotaflex-" + m_key + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_lastError = path + ": " + std::strerror(errno);
        return Result::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK)
            return Result::HeldByLiveCopy;
        m_lastError = path + ": " + std::strerror(err);
        return Result::Failed;
    }
    // The pid inside is for people reading the file; the lock alone decides.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        const ssize_t written = ::write(fd, pid.data(), pid.size());
        (void)written;
    }
    m_fd = fd;
    return Result::Acquired;
}

bool InstanceMarker::isHeld() const
{
    return m_fd >= 0;
}

void InstanceMarker::release()
{
    if (m_fd < 0)
        return;
    // The file stays: unlinking it would let a starter lock an orphaned inode while a third
    // copy creates and locks a new file.
    if (::ftruncate(m_fd, 0) != 0) {
        // nothing to do: the lock below is what matters
    }
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

} // namespace platform
