// Random groups: every class size from 1 to 200 and every number of groups, by count
// and by size; every student in exactly one group, sizes differing by at most one.
#include "draw/groups.h"

#include <gtest/gtest.h>

#include <numeric>

namespace tallyra {
namespace {

TEST(Groups, SizesDifferByAtMostOneAndEveryStudentIsInOneGroup) {
    GroupDealer dealer(12345);
    for (std::size_t count = 1; count <= 200; ++count) {
        std::vector<std::size_t> members(count);
        std::iota(members.begin(), members.end(), std::size_t{1});
        for (std::size_t groups = 1; groups <= count + 1; ++groups) {
            const auto dealt = dealer.deal(members, groups);
            ASSERT_EQ(dealt.size(), std::min(groups, count));
            std::vector<std::size_t> seen;
            std::size_t smallest = count, largest = 0;
            for (const auto& group : dealt) {
                seen.insert(seen.end(), group.begin(), group.end());
                smallest = std::min(smallest, group.size());
                largest = std::max(largest, group.size());
            }
            std::sort(seen.begin(), seen.end());
            ASSERT_EQ(seen, members) << count << " in " << groups;
            ASSERT_LE(largest - smallest, 1u) << count << " in " << groups;
            // By size: no group larger than asked.
            const std::size_t bySize = groupsOfSize(count, groups);
            ASSERT_LE(groupSizes(count, bySize).front(), groups) << count << " in groups of " << groups;
        }
    }
    // Its own generator: two deals of the same class differ.
    std::vector<std::size_t> members(30);
    std::iota(members.begin(), members.end(), std::size_t{1});
    EXPECT_NE(dealer.deal(members, 5), dealer.deal(members, 5));
}

} // namespace
} // namespace tallyra
