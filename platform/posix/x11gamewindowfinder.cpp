#include "platform/posix/x11gamewindowfinder.h"

#include "platform/nullgamewindowfinder.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QX11Info>

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// A property's bytes, or empty when the window lacks it (or is gone).
std::string propertyBytes(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property,
                          xcb_atom_t type)
{
    // Replies of a vanished window carry an error, which a null error pointer drops.
    xcb_get_property_reply_t *reply =
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, property, type, 0, 1024), nullptr);
    if (!reply)
        return std::string();
    const std::string bytes(static_cast<const char *>(xcb_get_property_value(reply)),
                            std::size_t(xcb_get_property_value_length(reply)));
    std::free(reply);
    return bytes;
}

// The class part of WM_CLASS ("instance\0class\0").
std::string classPart(const std::string &wmClass)
{
    const std::string::size_type split = wmClass.find('\0');
    if (split == std::string::npos)
        return std::string();
    const std::string rest = wmClass.substr(split + 1);
    return rest.substr(0, rest.find('\0'));
}

// Errors of a request that has no reply are taken here, so that Qt's event queue never sees them.
void checkQuietly(xcb_connection_t *connection, xcb_void_cookie_t cookie)
{
    std::free(xcb_request_check(connection, cookie));
}

} // namespace

X11GameWindowFinder::X11GameWindowFinder()
{
    if (QX11Info::isPlatformX11()) {
        m_connection = QX11Info::connection();
        m_root = xcb_window_t(QX11Info::appRootWindow());
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

X11GameWindowFinder::~X11GameWindowFinder()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    if (m_pingConnection)
        xcb_disconnect(m_pingConnection);
}

bool X11GameWindowFinder::isAvailable()
{
    if (!m_connection)
        return fail("no X11 connection");
    return succeed();
}

xcb_atom_t X11GameWindowFinder::atom(const char *name)
{
    const auto known = m_atoms.find(name);
    if (known != m_atoms.end())
        return known->second;
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    if (value != XCB_ATOM_NONE)
        m_atoms[name] = value;
    return value;
}

std::vector<xcb_window_t> X11GameWindowFinder::topLevelWindows()
{
    std::vector<xcb_window_t> windows;
    const std::string clients = propertyBytes(m_connection, m_root, atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    windows.resize(clients.size() / sizeof(xcb_window_t));
    if (!windows.empty()) {
        std::memcpy(windows.data(), clients.data(), windows.size() * sizeof(xcb_window_t));
        return windows;
    }
    // Without a window manager there is no client list: the top-level windows are the root's children.
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr);
    if (!tree)
        return windows;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    windows.assign(children, children + xcb_query_tree_children_length(tree));
    std::free(tree);
    return windows;
}

std::string X11GameWindowFinder::title(xcb_window_t window)
{
    const std::string name = propertyBytes(m_connection, window, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
    return name.empty() ? propertyBytes(m_connection, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY) : name;
}

bool X11GameWindowFinder::isMapped(xcb_window_t window)
{
    xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
    const bool mapped = attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED;
    std::free(attributes);
    return mapped;
}

GameWindowFinder::NativeWindow X11GameWindowFinder::find(const std::string &className, const std::string &title)
{
    if (!m_connection)
        return 0;
    const std::vector<xcb_window_t> windows = topLevelWindows();
    // All class requests first, then their replies: one round trip for every window.
    std::vector<xcb_get_property_cookie_t> cookies;
    cookies.reserve(windows.size());
    for (const xcb_window_t window : windows)
        cookies.push_back(xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256));
    std::vector<xcb_window_t> sameClass;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(m_connection, cookies[i], nullptr);
        if (!reply)
            continue;
        const std::string wmClass(static_cast<const char *>(xcb_get_property_value(reply)),
                                  std::size_t(xcb_get_property_value_length(reply)));
        std::free(reply);
        // Qt's hidden client leader has a name but no class: the class filters it out.
        if (classPart(wmClass) == className)
            sameClass.push_back(windows[i]);
    }
    for (const xcb_window_t window : sameClass) {
        // A window not yet shown may still be getting its title and size.
        if (this->title(window) == title && isMapped(window))
            return window;
    }
    return 0;
}

bool X11GameWindowFinder::listsPing(xcb_window_t window)
{
    const std::string protocols = propertyBytes(m_connection, window, atom("WM_PROTOCOLS"), XCB_ATOM_ATOM);
    const xcb_atom_t ping = atom("_NET_WM_PING");
    for (std::size_t at = 0; at + sizeof(xcb_atom_t) <= protocols.size(); at += sizeof(xcb_atom_t)) {
        xcb_atom_t listed = 0;
        std::memcpy(&listed, protocols.data() + at, sizeof(listed));
        if (listed == ping)
            return true;
    }
    return false;
}

bool X11GameWindowFinder::openPingConnection()
{
    if (m_pingConnection)
        return true;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return fail("no second X11 connection for the ping");
    }
    // Answers are sent to the root for the clients that watch it (Qt's games) or its children.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    checkQuietly(connection, xcb_change_window_attributes_checked(connection, m_root, XCB_CW_EVENT_MASK, &mask));
    m_pingConnection = connection;
    return true;
}

void X11GameWindowFinder::collectPingAnswers()
{
    const xcb_atom_t protocols = atom("WM_PROTOCOLS");
    const xcb_atom_t ping = atom("_NET_WM_PING");
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_pingConnection)) {
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event);
            if (message->type == protocols && message->data.data32[0] == ping)
                m_pingsAnswered.insert(message->data.data32[2]);
        }
        std::free(event);
    }
}

GameWindowFinder::Response X11GameWindowFinder::response(NativeWindow window)
{
    const auto id = xcb_window_t(window);
    // A window that does not take pings cannot be asked: it counts as answering.
    if (!m_connection || !listsPing(id) || !openPingConnection())
        return Response::Responding;
    collectPingAnswers();
    const auto sent = m_pingsSent.find(id);
    if (sent == m_pingsSent.end()) {
        xcb_client_message_event_t message = {};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = atom("WM_PROTOCOLS");
        message.data.data32[0] = atom("_NET_WM_PING");
        message.data.data32[1] = XCB_CURRENT_TIME;
        message.data.data32[2] = id;
        m_pingsAnswered.erase(id);
        checkQuietly(m_pingConnection, xcb_send_event_checked(m_pingConnection, 0, id, XCB_EVENT_MASK_NO_EVENT,
                                                              reinterpret_cast<const char *>(&message)));
        m_pingsSent[id] = std::chrono::steady_clock::now();
        return Response::Unknown;
    }
    Response answer = Response::Hung;
    if (m_pingsAnswered.erase(id) > 0)
        answer = Response::Responding;
    else if (std::chrono::steady_clock::now() - sent->second < std::chrono::milliseconds(kPingAnswerMs))
        return Response::Unknown;
    m_pingsSent.erase(sent);
    closeIdlePingConnection();
    return answer;
}

void X11GameWindowFinder::closeIdlePingConnection()
{
    // It hears of every change of every window: kept open only while an answer is awaited.
    if (!m_pingConnection || !m_pingsSent.empty())
        return;
    xcb_disconnect(m_pingConnection);
    m_pingConnection = nullptr;
    m_pingsAnswered.clear();
}

void X11GameWindowFinder::keep(NativeWindow window)
{
    if (!m_connection)
        return;
    m_embedded.insert(xcb_window_t(window));
    // X destroys a client's windows when it disconnects, with every window inside them, unless
    // the inner window is in the save set: then it goes back to the root.
    checkQuietly(m_connection, xcb_change_save_set_checked(m_connection, XCB_SET_MODE_INSERT, xcb_window_t(window)));
}

void X11GameWindowFinder::release(NativeWindow window)
{
    const auto id = xcb_window_t(window);
    if (!m_connection)
        return;
    xcb_translate_coordinates_reply_t *place = xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, id, m_root, 0, 0), nullptr);
    // Gone with its program: nothing to give back.
    if (!place)
        return;
    checkQuietly(m_connection, xcb_change_save_set_checked(m_connection, XCB_SET_MODE_DELETE, id));
    checkQuietly(m_connection, xcb_reparent_window_checked(m_connection, id, m_root, place->dst_x, place->dst_y));
    // Qt hid it when the embedding ended.
    checkQuietly(m_connection, xcb_map_window_checked(m_connection, id));
    std::free(place);
    m_pingsSent.erase(id);
    closeIdlePingConnection();
}

bool X11GameWindowFinder::nativeEventFilter(const QByteArray &eventType, void *message, long *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if (event->response_type != 0)
        return false;
    const auto *error = static_cast<const xcb_generic_error_t *>(message);
    return error->error_code == XCB_WINDOW && m_embedded.count(error->resource_id) > 0;
}

std::unique_ptr<GameWindowFinder> makeGameWindowFinder()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb") && QX11Info::isPlatformX11())
        return std::make_unique<X11GameWindowFinder>();
    return std::make_unique<NullGameWindowFinder>(
        "other programs' windows are found only under X11; this session runs on "
        + QGuiApplication::platformName().toStdString());
}

} // namespace platform
