#include "draw/platform/clock.h"

#include <windows.h>

namespace tallyra::platform {

std::uint32_t tickCount() {
    return GetTickCount();
}

} // namespace tallyra::platform
