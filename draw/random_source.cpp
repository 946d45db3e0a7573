#include "draw/random_source.h"

#include "draw/platform/clock.h"

#include <algorithm>

namespace tallyra {

RandomSource::RandomSource(TickSource ticks) : ticks_(std::move(ticks)) {}

std::uint32_t RandomSource::systemTicks() {
    return platform::tickCount();
}

std::uint32_t& RandomSource::seedCounter() {
    static std::uint32_t counter = 0;
    return counter;
}

void RandomSource::seedRandom(std::optional<std::int32_t> seed) {
    if (seed) {
        state_ = static_cast<std::uint32_t>(*seed);
        return;
    }
    const std::uint32_t t = ticks_();
    const std::uint32_t newSeed = t + seedCounter();
    seedCounter() += (newSeed & 0xFFu) + 100u;
    state_ = newSeed;
}

int RandomSource::nextRandom15() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

std::int32_t RandomSource::randomInRange(std::optional<std::int32_t> low, std::optional<std::int32_t> high) {
    const std::int32_t lo = std::max<std::int32_t>(low.value_or(0), 0);
    const std::int32_t hi = std::max<std::int32_t>(high.value_or(2147483647), 0);
    const std::int32_t lower = std::min(lo, hi);
    const std::int32_t upper = std::max(lo, hi);
    if (lower == upper) return lower;
    const std::int32_t span = std::min<std::int32_t>(upper - lower, 2147483646);
    const std::int32_t r = nextRandom15();
    return lower + r % (span + 1);
}

} // namespace tallyra
