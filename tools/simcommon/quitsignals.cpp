#include "quitsignals.h"

#include "console.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int s_signalPipe[2] = {-1, -1};

void onSignal(int number)
{
    // Only async-signal-safe work here: the event loop picks the byte up.
    const int savedErrno = errno;
    const char byte = char(number);
    [[maybe_unused]] const ssize_t ignored = ::write(s_signalPipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

QuitSignals::QuitSignals(QObject *parent) : QObject(parent) {}

QuitSignals::~QuitSignals()
{
    if (!m_notifier)
        return;
    delete m_notifier;
    m_notifier = nullptr;
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    ::close(s_signalPipe[0]);
    ::close(s_signalPipe[1]);
    s_signalPipe[0] = s_signalPipe[1] = -1;
}

bool QuitSignals::install()
{
    // The handler writes to one process-wide pipe, so only one instance may own it.
    if (s_signalPipe[0] >= 0)
        return false;
    if (::pipe2(s_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        s_signalPipe[0] = s_signalPipe[1] = -1;
        return false;
    }
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    // A peer or a reader of stdout that goes away must not end the simulator through a broken pipe.
    std::signal(SIGPIPE, SIG_IGN);
    m_notifier = new QSocketNotifier(s_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::handleSignal);
    return true;
}

void QuitSignals::handleSignal()
{
    char number = 0;
    while (::read(s_signalPipe[0], &number, 1) == 1) {
    }
    Console::printLine(QStringLiteral("signal received, exiting"));
    QCoreApplication::quit();
}
