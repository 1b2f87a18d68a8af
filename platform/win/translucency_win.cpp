#include "platform/translucency.h"

namespace platform {

// The desktop window manager composites every window since Windows 8.
bool translucencyShowsThrough()
{
    return true;
}

} // namespace platform
