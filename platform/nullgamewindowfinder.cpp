#include "platform/nullgamewindowfinder.h"

namespace platform {

NullGameWindowFinder::NullGameWindowFinder(const std::string &reason) : m_reason(reason) {}

bool NullGameWindowFinder::isAvailable()
{
    return fail(m_reason);
}

GameWindowFinder::NativeWindow NullGameWindowFinder::find(const std::string &, const std::string &)
{
    return 0;
}

GameWindowFinder::Response NullGameWindowFinder::response(NativeWindow)
{
    return Response::Responding;
}

void NullGameWindowFinder::keep(NativeWindow) {}

void NullGameWindowFinder::release(NativeWindow) {}

} // namespace platform
