#pragma once

namespace platform {

// Whether the translucent parts of a window show what lies beneath it. Under X11 without a
// compositing manager they do not: there they paint black.
bool translucencyShowsThrough();

} // namespace platform
