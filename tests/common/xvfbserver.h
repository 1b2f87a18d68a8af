#pragma once

#include <QProcess>
#include <QString>

// An X server of a test's own: Xvfb on a display it picks itself (1920x1080, no TCP), ended
// with the object in every outcome.
class XvfbServer
{
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    // ":N", or empty when no server came up (errorString() says why).
    QString display() const { return m_display; }
    QString errorString() const { return m_error; }

private:
    QProcess m_process;
    QString m_display;
    QString m_error;
};
