// Random groups for group work: the students present split into groups whose sizes
// differ by at most one. The groups draw from a generator of their own, so the roll
// call's random source and its seeding stay as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace tallyra {

// Sizes of `groups` groups for `count` members (larger ones first); none for no groups.
std::vector<std::size_t> groupSizes(std::size_t count, std::size_t groups);
// How many groups hold `count` members when none is to exceed `size`.
std::size_t groupsOfSize(std::size_t count, std::size_t size);

class GroupDealer {
public:
    explicit GroupDealer(std::uint32_t seed) : engine_(seed) {}
    // The members shuffled into that many groups (at most one per member).
    std::vector<std::vector<std::size_t>> deal(std::vector<std::size_t> members, std::size_t groups);

private:
    std::minstd_rand engine_;
};

} // namespace tallyra
