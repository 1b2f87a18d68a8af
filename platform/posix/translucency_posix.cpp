#include "platform/translucency.h"

#include <QGuiApplication>
#include <QX11Info>

namespace platform {

bool translucencyShowsThrough()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !QX11Info::isPlatformX11())
        return true; // Wayland always composites; offscreen shows nothing beneath anyway
    return QX11Info::isCompositingManagerRunning();
}

} // namespace platform
