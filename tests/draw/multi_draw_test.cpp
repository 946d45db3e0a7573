// Several students at once, over random rosters, rounds and absences: no slot shows
// a student twice or an absent one, and every settled student is drawn in the round
// and in the record exactly once, also across a round's end.
#include "draw/multi_draw.h"
#include "draw/round_keeper.h"
#include "storage/pick_record.h"
#include "tests/storage/data_folder.h"
#include "tests/support/fake_main_window.h"

#include <algorithm>
#include <random>
#include <set>

namespace tallyra {
namespace {

using MultiDrawTest = testing::DataFolderTest;

TEST_F(MultiDrawTest, SlotsAreDistinctPresentStudentsAndEachPickIsKeptOnce) {
    std::mt19937 random(2024);
    const auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    testing::FakeMainWindow window;
    RollCall rollCall;
    RoundKeeper keeper(rollCall, window, dataFolder());
    MultiDraw draw(7);
    std::size_t recorded = 0;
    for (int trial = 0; trial < 200; ++trial) {
        ClassRoster roster;
        const std::size_t size = 2 + below(40);
        for (std::size_t i = 1; i <= size; ++i) // repeated names: students are told apart by place
            roster.numbers.push_back(std::to_string(i % 7)), roster.names.push_back("生" + std::to_string(i % 5));
        StudentMarks drawn(size), absent(size);
        for (std::size_t i = 0; i < size; ++i)
            drawn[i] = below(3) == 0, absent[i] = below(5) == 0;
        absent[0] = absent[1] = false;
        // The round file is the round: it holds this trial's drawn students.
        (void)updateRoundFile(dataFolder(), "一班", [&](const MarksFile&) { return markedStudents(roster, drawn); });
        keeper.loadClass("一班", roster, RoundKeeper::Reason::Chosen);
        rollCall.loadRoster(roster, drawn, absent);
        const std::size_t present = size - rollCall.absentCount();
        const std::size_t wanted = 2 + below(present - 1);
        const bool askNewRound = MultiDraw::needsNewRoundQuestion(rollCall, wanted), yes = below(2) == 0;
        const std::vector<std::int32_t> left = rollCall.drawPool();
        const std::size_t slots = draw.start(rollCall, wanted, askNewRound && yes);
        ASSERT_EQ(slots, askNewRound && !yes ? left.size() : wanted);
        const auto check = [&](const std::vector<std::size_t>& shown) {
            ASSERT_EQ(shown.size(), slots);
            ASSERT_EQ(std::set<std::size_t>(shown.begin(), shown.end()).size(), slots) << "a student twice";
            for (const std::size_t position : shown)
                ASSERT_FALSE(absent[position - 1]) << "an absent student";
        };
        check(draw.roll());
        const std::vector<std::size_t> settled = draw.settle();
        check(settled);
        for (const std::int32_t position : askNewRound ? left : std::vector<std::int32_t>{}) {
            // The last of the round are certain to be drawn.
            ASSERT_NE(std::find(settled.begin(), settled.end(), position), settled.end());
        }
        if (slots == 0) continue;
        // What the class session does with a draw of several.
        rollCall.settleSeveral(settled, draw.certain(), draw.newRound());
        std::vector<Pick> picks;
        for (const std::size_t position : settled)
            picks.push_back({nowText(), "一班", roster.numberAt(position), roster.nameAt(position)});
        EXPECT_TRUE(keeper.keepSeveral(settled, draw.certain(), draw.newRound(), picks).empty());
        recorded += slots;
        for (const std::size_t position : settled) {
            const bool closedOldRound = std::find(left.begin(), left.end(), position) != left.end();
            EXPECT_EQ(rollCall.drawn()[position - 1], !(draw.newRound() && closedOldRound));
            EXPECT_TRUE(askNewRound || !drawn[position - 1]) << "drawn twice in one round";
        }
        EXPECT_EQ(std::count(rollCall.drawn().begin(), rollCall.drawn().end(), true),
                  draw.newRound() ? slots - left.size()
                                  : std::count(drawn.begin(), drawn.end(), true) + static_cast<std::ptrdiff_t>(slots));
    }
    std::size_t lines = 0;
    readPickRecord(dataFolder(), [&](const Pick&) { ++lines; });
    EXPECT_EQ(lines, recorded);
}

} // namespace
} // namespace tallyra
