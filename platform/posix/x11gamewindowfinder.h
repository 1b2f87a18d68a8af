#pragma once

#include "platform/gamewindowfinder.h"

#include <QAbstractNativeEventFilter>

#include <chrono>
#include <map>
#include <set>
#include <vector>

#include <xcb/xcb.h>

namespace platform {

// Finds a game's window under X11 on Qt's own connection: the window manager's client list, or
// the root's children where no window manager runs, matched by WM_CLASS and by _NET_WM_NAME or
// WM_NAME. Whether the window answers is asked with _NET_WM_PING on a second connection of its
// own, so that the answers (sent to the root) need no change to what Qt's connection selects.
// A game's window goes with its program whenever that ends: the errors that Qt's requests on an
// embedded window then meet are expected, and are taken out of Qt's event stream.
class X11GameWindowFinder : public GameWindowFinder, public QAbstractNativeEventFilter
{
public:
    // How long a ping may go unanswered before the window counts as hung.
    static constexpr int kPingAnswerMs = 250;

    X11GameWindowFinder();
    ~X11GameWindowFinder() override;

    bool isAvailable() override;
    NativeWindow find(const std::string &className, const std::string &title) override;
    Response response(NativeWindow window) override;
    void keep(NativeWindow window) override;
    void release(NativeWindow window) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

private:
    xcb_atom_t atom(const char *name);
    std::vector<xcb_window_t> topLevelWindows();
    std::string title(xcb_window_t window);
    bool isMapped(xcb_window_t window);
    bool listsPing(xcb_window_t window);
    bool openPingConnection();
    void collectPingAnswers();
    void closeIdlePingConnection();

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    std::map<std::string, xcb_atom_t> m_atoms;
    xcb_connection_t *m_pingConnection = nullptr;
    std::map<xcb_window_t, std::chrono::steady_clock::time_point> m_pingsSent;
    std::set<xcb_window_t> m_pingsAnswered;
    // Every window ever embedded: errors on them may still arrive after they are given back.
    std::set<xcb_window_t> m_embedded;
};

} // namespace platform
