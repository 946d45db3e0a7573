// The system's millisecond tick count, the roll call's seed source.
#pragma once

#include <cstdint>

namespace tallyra::platform {

// Milliseconds since the system started, 32-bit and wrapping: GetTickCount on
// Windows, the monotonic clock on POSIX.
std::uint32_t tickCount();

} // namespace tallyra::platform
