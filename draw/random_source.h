// The roll call's source of chance: a 32-bit linear congruential generator with
// 15-bit output, reseeded from the tick count on every Start/Stop press.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace tallyra {

class RandomSource {
public:
    // Milliseconds since some fixed moment, 32-bit and wrapping (GetTickCount on Windows).
    using TickSource = std::function<std::uint32_t()>;

    explicit RandomSource(TickSource ticks = systemTicks);

    // With a seed the state becomes its 32 bits. Without one, the state is the tick
    // count plus a process-wide counter, which then grows by 100 plus the seed's low
    // byte, so seedings within the same millisecond still differ.
    void seedRandom(std::optional<std::int32_t> seed = std::nullopt);

    // Advances the state once; a value in 0..32767.
    int nextRandom15();

    // A value in the inclusive range of the two bounds (omitted: 0 and 2147483647;
    // negative bounds count as 0; the order of the bounds does not matter). Equal
    // bounds return that value without advancing the generator.
    std::int32_t randomInRange(std::optional<std::int32_t> low = std::nullopt,
                               std::optional<std::int32_t> high = std::nullopt);

    std::uint32_t state() const { return state_; }

    static std::uint32_t systemTicks();
    // The process-wide seed counter; tests reset it.
    static std::uint32_t& seedCounter();

private:
    TickSource ticks_;
    std::uint32_t state_ = 1;
};

} // namespace tallyra
