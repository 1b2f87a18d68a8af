#include "fesptylink.h"

#include "fes/fesframe.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

FesPtyLink::FesPtyLink(QObject *parent) : QObject(parent) {}

FesPtyLink::~FesPtyLink()
{
    close();
}

bool FesPtyLink::open(const QString &linkPath)
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
    connect(m_notifier, &QSocketNotifier::activated, this, &FesPtyLink::readPty);
    return true;
}

void FesPtyLink::close()
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

void FesPtyLink::sendPayload(const QByteArray &payload)
{
    writePty(FesFrame::createFrame(payload));
    ++m_framesSent;
}

void FesPtyLink::readPty()
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
    if (bytes.isEmpty())
        return;
    for (const FesFrameReader::Item &item : m_reader.feed(bytes)) {
        switch (item.kind) {
        case FesFrameReader::Item::Kind::Frame:
            ++m_framesReceived;
            emit frameReceived(item.bytes);
            break;
        case FesFrameReader::Item::Kind::BadEnd:
            emit notice(QStringLiteral("rx bad end byte 0x%1, frame dropped: %2")
                            .arg(uint8_t(item.bytes.back()), 2, 16, QLatin1Char('0'))
                            .arg(QString::fromLatin1(item.bytes.toHex(' '))));
            break;
        case FesFrameReader::Item::Kind::Stray:
            emit notice(QStringLiteral("rx skipped %1 bytes outside frames: %2")
                            .arg(item.bytes.size())
                            .arg(QString::fromLatin1(item.bytes.left(32).toHex(' '))));
            break;
        }
    }
}

void FesPtyLink::writePty(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            m_fullReported = false;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // The program does not read: drop the rest, as a real line would lose it.
        if (!m_fullReported)
            emit notice(QStringLiteral("pty full, replies dropped until the program reads"));
        m_fullReported = true;
        return;
    }
}
