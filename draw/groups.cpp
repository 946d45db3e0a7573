#include "draw/groups.h"

#include <algorithm>

namespace tallyra {

std::vector<std::size_t> groupSizes(std::size_t count, std::size_t groups) {
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < groups; ++i)
        sizes.push_back(count / groups + (i < count % groups ? 1 : 0));
    return sizes;
}

std::size_t groupsOfSize(std::size_t count, std::size_t size) {
    return size == 0 ? 0 : (count + size - 1) / size;
}

std::vector<std::vector<std::size_t>> GroupDealer::deal(std::vector<std::size_t> members, std::size_t groups) {
    std::shuffle(members.begin(), members.end(), engine_);
    std::vector<std::vector<std::size_t>> dealt;
    auto next = members.begin();
    for (const std::size_t size : groupSizes(members.size(), std::min(groups, members.size()))) {
        dealt.emplace_back(next, next + static_cast<std::ptrdiff_t>(size));
        next += static_cast<std::ptrdiff_t>(size);
    }
    return dealt;
}

} // namespace tallyra
