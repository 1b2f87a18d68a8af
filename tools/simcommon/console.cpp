#include "console.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

Console::Console(QObject *parent) : QObject(parent) {}

void Console::printLine(const QString &line)
{
    // Readers sit behind a pipe: every line goes out at once.
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Console::watchInput()
{
    // Standard input may be closed or /dev/null (started in the background); both are fine.
    if (m_notifier || ::fcntl(STDIN_FILENO, F_GETFD) == -1)
        return;
    m_notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &Console::readInput);
}

void Console::readInput()
{
    char buffer[1024];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        // End of input is not a request to quit: keep running until quit or a signal.
        m_notifier->setEnabled(false);
        const QByteArray rest = m_buffer;
        m_buffer.clear();
        if (!rest.trimmed().isEmpty())
            emit lineEntered(QString::fromLocal8Bit(rest));
        return;
    }
    m_buffer.append(buffer, int(n));
    int newline;
    while ((newline = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(newline);
        m_buffer.remove(0, newline + 1);
        emit lineEntered(QString::fromLocal8Bit(line));
    }
}
