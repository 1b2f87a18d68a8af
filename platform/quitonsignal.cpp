#include "platform/quitonsignal.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSocketNotifier>

#ifdef Q_OS_WIN

// A Windows GUI program gets no console signals: it is ended through its windows, which already
// runs the quit handlers.
void QuitOnSignal::install(QObject *) {}

#else

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: hand the signal number to the event loop.
void onSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    const ssize_t written = ::write(g_pipe[0], &byte, 1);
    (void)written;
}
} // namespace

void QuitOnSignal::install(QObject *parent)
{
    if (g_pipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) {
        qWarning("termination signals: no socket pair");
        return;
    }
    new QuitOnSignal(parent);
}

QuitOnSignal::QuitOnSignal(QObject *parent)
    : QObject(parent), m_notifier(new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnSignal::handleSignal);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void QuitOnSignal::handleSignal()
{
    char byte = 0;
    if (::read(g_pipe[1], &byte, 1) == 1)
        qDebug().noquote() << QStringLiteral("signal %1: quitting").arg(int(byte));
    QCoreApplication::quit();
}

#endif
