#include "ptypair.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return;
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_master = master;
    // Holding the slave open keeps the pty alive between the opens of the code under test.
    m_slaveKeep = slave;
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    closeMaster();
    if (m_slaveKeep >= 0)
        ::close(m_slaveKeep);
}

void PtyPair::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

bool PtyPair::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return false;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return true;
}

QByteArray PtyPair::readAtLeast(int count, int timeoutMs, bool runEvents)
{
    QByteArray result;
    QDeadlineTimer deadline(timeoutMs);
    while (m_master >= 0 && result.size() < count && !deadline.hasExpired()) {
        // Let the code under test run: its writes come from its event loop.
        if (runEvents)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, 10) > 0 && (fd.revents & POLLIN)) {
            char buffer[4096];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0)
                result.append(buffer, int(n));
        }
    }
    return result;
}

QByteArray PtyPair::read(int timeoutMs)
{
    return readAtLeast(1, timeoutMs);
}
