#pragma once

#include "platform/gamewindowfinder.h"

namespace platform {

// Stands in where other programs' windows cannot be reached (Wayland, offscreen): finds nothing
// and says why.
class NullGameWindowFinder : public GameWindowFinder
{
public:
    explicit NullGameWindowFinder(const std::string &reason);

    bool isAvailable() override;
    NativeWindow find(const std::string &className, const std::string &title) override;
    Response response(NativeWindow window) override;
    void keep(NativeWindow window) override;
    void release(NativeWindow window) override;

private:
    std::string m_reason;
};

} // namespace platform
