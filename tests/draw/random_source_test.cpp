// The random source, bit for bit: the generator, seeding from the tick count and
// the counter, and the mapping onto a range.
#include "draw/random_source.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <limits>
#include <vector>

namespace tallyra {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

RandomSource seeded(std::int32_t seed) {
    RandomSource random([] { return 0u; });
    random.seedRandom(seed);
    return random;
}

TEST(RandomSource, GeneratorFromItsFirstState) {
    RandomSource fromStart;
    EXPECT_EQ(fromStart.state(), 1u);
    std::vector<int> values;
    for (int i = 0; i < 5; ++i)
        values.push_back(fromStart.nextRandom15());
    EXPECT_EQ(values, (std::vector<int>{41, 18467, 6334, 26500, 19169}));

    RandomSource negative = seeded(-1); // the seed's 32 bits, taken as unsigned
    EXPECT_EQ(negative.state(), 0xFFFFFFFFu);
    EXPECT_EQ(negative.nextRandom15(), 35);
    EXPECT_EQ(negative.nextRandom15(), 29739);
}

TEST(RandomSource, SeedingWithoutSeedUsesTicksAndTheCounter) {
    struct Case {
        std::uint32_t ticks;
        std::uint32_t counterBefore;
        std::uint32_t seed;
        std::uint32_t counterAfter;
    } const cases[] = {
        {1000, 0, 1000, 332},   // 1000 + (1000 & 0xFF = 232) + 100
        {1000, 332, 1332, 484}, // the same millisecond again
        {0, 0, 0, 100},
        {0xFFFFFFF0u, 0x20, 0x10, 0x20 + 0x10 + 100},               // wraps modulo 2^32
        {0xFF, 0xFFFFFF00u, 0xFFFFFFFFu, 0xFFFFFF00u + 0xFF + 100}, // the counter wraps too
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks);
        RandomSource::seedCounter() = c.counterBefore;
        RandomSource random([&] { return c.ticks; });
        random.seedRandom();
        EXPECT_EQ(random.state(), c.seed);
        EXPECT_EQ(RandomSource::seedCounter(), c.counterAfter);
    }

    // Two sources share the counter: seedings in one millisecond never repeat a seed.
    RandomSource::seedCounter() = 0;
    RandomSource first([] { return 1000u; });
    RandomSource second([] { return 1000u; });
    first.seedRandom();
    second.seedRandom();
    EXPECT_EQ(first.state(), 1000u);
    EXPECT_EQ(second.state(), 1332u);
    EXPECT_EQ(RandomSource::seedCounter(), 484u);

    second.seedRandom(7); // an explicit seed leaves the counter alone
    EXPECT_EQ(RandomSource::seedCounter(), 484u);
    EXPECT_EQ(second.state(), 7u);
}

TEST(RandomSource, RandomInRange) {
    using Bound = std::optional<std::int32_t>;
    struct Case {
        const char* name;
        std::int32_t seed;
        Bound low;
        Bound high;
        std::vector<std::int32_t> values; // three calls in a row
    } const cases[] = {
        {"seeded 1, 1..10", 1, 1, 10, {2, 8, 5}},
        {"bounds 1 and 0 give 0..1", 1, 1, 0, {1, 1, 0}},
        {"swapped bounds", 1, 5, 3, {5, 5, 4}},
        {"in order", 1, 3, 5, {5, 5, 4}},
        {"negative low bound counts as 0", 1, -4, 2, {2, 2, 1}},
        {"both omitted", 1, std::nullopt, std::nullopt, {41, 18467, 6334}},
        {"high omitted", 1, 100, std::nullopt, {141, 18567, 6434}},
        {"full span is cut, not overflowed", 1, 0, kMax, {41, 18467, 6334}},
        {"full span swapped", 1, kMax, -5, {41, 18467, 6334}},
        {"another seed", 12345, 1, 40, {25, 5, 36}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RandomSource random = seeded(c.seed);
        std::vector<std::int32_t> values;
        for (int i = 0; i < 3; ++i)
            values.push_back(random.randomInRange(c.low, c.high));
        EXPECT_EQ(values, c.values);
    }
}

TEST(RandomSource, EqualBoundsReturnThatValueWithoutAdvancing) {
    using Bound = std::optional<std::int32_t>;
    struct Case {
        Bound low;
        Bound high;
        std::int32_t value;
    } const cases[] = {{1, 1, 1}, {kMax, kMax, kMax}, {-3, 0, 0}, {-1, -2, 0}, {std::nullopt, 0, 0}};
    for (const auto& c : cases) {
        RandomSource random = seeded(99);
        EXPECT_EQ(random.randomInRange(c.low, c.high), c.value);
        EXPECT_EQ(random.state(), 99u);
    }
}

#ifdef _WIN32
// On Windows the seed's tick is the system's own tick count.
TEST(RandomSource, SystemTicksAreGetTickCount) {
    const DWORD before = GetTickCount();
    const std::uint32_t ticks = RandomSource::systemTicks();
    const DWORD after = GetTickCount();
    EXPECT_GE(ticks, before);
    EXPECT_LE(ticks, after);
}
#endif

} // namespace
} // namespace tallyra
