#include "ptyendpoint.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyEndpoint::PtyEndpoint(QObject *parent) : QObject(parent) {}

PtyEndpoint::~PtyEndpoint()
{
    close();
}

bool PtyEndpoint::open(const QString &linkPath)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        m_error = QStringLiteral("openpty failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B115200);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    // Never block on a full pty when nobody reads the other end.
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_master = master;
    // Holding the slave open keeps the pty alive and the master readable while the program has
    // its port closed, so it can close and reopen it at will.
    m_slave = slave;
    m_ptyPath = QString::fromLocal8Bit(name);

    if (!linkPath.isEmpty()) {
        const QByteArray encoded = QFile::encodeName(linkPath);
        if (QFileInfo(linkPath).isSymLink())
            ::unlink(encoded.constData());
        if (::symlink(name, encoded.constData()) != 0) {
            m_error = QStringLiteral("cannot make the link %1: %2")
                          .arg(linkPath, QString::fromLocal8Bit(std::strerror(errno)));
            close();
            return false;
        }
        m_linkPath = linkPath;
    }

    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyEndpoint::readAvailable);
    return true;
}

void PtyEndpoint::close()
{
    if (m_notifier) {
        m_notifier->setEnabled(false);
        delete m_notifier;
        m_notifier = nullptr;
    }
    if (!m_linkPath.isEmpty()) {
        // Only remove the link if it still points at our pty.
        if (QFileInfo(m_linkPath).symLinkTarget() == QFileInfo(m_ptyPath).absoluteFilePath())
            ::unlink(QFile::encodeName(m_linkPath).constData());
        m_linkPath.clear();
    }
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = -1;
    m_slave = -1;
}

void PtyEndpoint::readAvailable()
{
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: drained
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}

void PtyEndpoint::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            m_dropReported = false;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // Nobody reads: drop the rest, as a real line would lose it.
        if (!m_dropReported)
            emit outputDropped();
        m_dropReported = true;
        return;
    }
}
