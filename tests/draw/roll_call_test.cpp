// The roll call against a recording main window: rounds, the round-end question,
// the empty roster, settling, the number's font size, and rosters that change
// or are odd while rolling.
#include "draw/roll_call.h"
#include "storage/text_encoding.h"
#include "tests/support/fake_main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

namespace tallyra {
namespace {

using testing::FakeMainWindow;

ClassRoster rosterOf(int students) {
    ClassRoster roster;
    for (int i = 1; i <= students; ++i) {
        roster.numbers.push_back(std::string(i < 10 ? "0" : "") + std::to_string(i));
        roster.names.push_back("学生" + std::to_string(i));
    }
    return roster;
}

class RollCallTest : public ::testing::Test {
protected:
    RollCallTest() : rollCall_(RandomSource([this] { return ++ticks_ * 7u; })) { rollCall_.setListener(&listener_); }

    struct Listener : PickListener {
        std::vector<std::pair<std::string, std::string>>& settled;
        explicit Listener(std::vector<std::pair<std::string, std::string>>& to) : settled(to) {}
        void onSettled(const SettledPick& pick) override { settled.emplace_back(pick.number, pick.name); }
        void onRoundReset() override {}
    };

    // Start, a few ticks, Stop.
    void drawOne(int ticks = 3) {
        rollCall_.pressStartStop(window_);
        ASSERT_TRUE(window_.rolling());
        for (int i = 0; i < ticks; ++i)
            rollCall_.rollTick(window_);
        rollCall_.pressStartStop(window_);
    }

    std::uint32_t ticks_ = 0;
    RollCall rollCall_;
    FakeMainWindow window_;
    std::vector<std::pair<std::string, std::string>> settled_;
    Listener listener_{settled_};
};

TEST_F(RollCallTest, AClassOfNIsDrawnOnceEachThenTheRoundEndQuestionComes) {
    for (int n : {1, 2, 7, 40}) {
        SCOPED_TRACE(n);
        settled_.clear();
        window_.shown.clear();
        rollCall_.loadRoster(rosterOf(n));
        std::set<std::string> drawn;
        for (int i = 0; i < n; ++i) {
            drawOne(i % 2 ? 0 : 3); // a Stop before any tick settles on a student of the pool too
            EXPECT_EQ(window_.buttonCaption, "开始");
            EXPECT_EQ(window_.interval, 0);
            drawn.insert(settled_.back().first);
        }
        EXPECT_TRUE(window_.shown.empty());
        EXPECT_EQ(drawn.size(), static_cast<std::size_t>(n));
        for (const auto& [number, name] : settled_)
            EXPECT_EQ(name, "学生" + std::to_string(std::stoi(number)));
        EXPECT_TRUE(rollCall_.drawPool().empty());

        window_.answer = MessageAnswer::Yes;
        rollCall_.pressStartStop(window_);
        ASSERT_EQ(window_.shown.size(), 1u);
        EXPECT_EQ(window_.shown[0], (Message{"全班已抽完", "全班均已抽完，是否开始新一轮抽取？", 0x24}));
        EXPECT_TRUE(window_.rolling());
        EXPECT_EQ(window_.interval, 10);
        EXPECT_EQ(rollCall_.drawPool().size(), static_cast<std::size_t>(n));
        rollCall_.rollTick(window_);
        rollCall_.pressStartStop(window_);
    }
}

TEST_F(RollCallTest, AnsweringNoLeavesTheRollCallIdleAndAsksAgainNextTime) {
    rollCall_.loadRoster(rosterOf(1));
    drawOne();
    window_.answer = MessageAnswer::No;
    for (int press = 1; press <= 2; ++press) {
        rollCall_.pressStartStop(window_);
        EXPECT_EQ(window_.shown.size(), static_cast<std::size_t>(press));
        EXPECT_EQ(window_.buttonCaption, "开始");
        EXPECT_EQ(window_.interval, 0);
        EXPECT_TRUE(rollCall_.drawPool().empty());
    }
}

TEST_F(RollCallTest, EmptyRosterIsRefusedAndNothingElseChanges) {
    rollCall_.pressStartStop(window_);
    ASSERT_EQ(window_.shown.size(), 1u);
    EXPECT_EQ(window_.shown[0],
              (Message{"数据有误", "尚未找到合法的学号数据，可能学号数据有误或尚未添加班级，请在设置中检查！", 0x10}));
    EXPECT_EQ(window_.buttonCaption, "开始");
    EXPECT_EQ(window_.interval, 0);
    EXPECT_EQ(ticks_, 1u); // the press reseeds before it checks anything
}

TEST_F(RollCallTest, EveryTickShowsAStudentStillInThePool) {
    rollCall_.loadRoster(rosterOf(5));
    drawOne();
    const std::string first = settled_.back().first;
    rollCall_.pressStartStop(window_);
    for (int i = 0; i < 200; ++i) {
        rollCall_.rollTick(window_);
        ASSERT_NE(window_.number, first);
        ASSERT_EQ(window_.name, "学生" + std::to_string(std::stoi(window_.number)));
        const std::int32_t position = rollCall_.drawPool()[static_cast<std::size_t>(rollCall_.lastPick() - 1)];
        ASSERT_EQ(rollCall_.roster().numberAt(static_cast<std::size_t>(position)), window_.number);
    }
}

TEST_F(RollCallTest, StopWithLastPickOutsideThePoolRemovesNothingAndStillTellsTheListener) {
    rollCall_.loadRoster(rosterOf(5));
    rollCall_.pressStartStop(window_);
    for (int i = 0; i < 1000 && rollCall_.lastPick() < 2; ++i)
        rollCall_.rollTick(window_);
    ASSERT_GE(rollCall_.lastPick(), 2);
    const auto shown = std::make_pair(window_.number, window_.name);

    rollCall_.loadRoster(rosterOf(1)); // a smaller class loaded while rolling, no tick since
    rollCall_.pressStartStop(window_);
    EXPECT_EQ(rollCall_.drawPool(), (std::vector<std::int32_t>{1}));
    ASSERT_EQ(settled_.size(), 1u);
    EXPECT_EQ(settled_[0], shown);
    EXPECT_EQ(window_.buttonCaption, "开始");
}

TEST_F(RollCallTest, TheListenerGetsTheLabelTexts) {
    rollCall_.loadRoster({{"07"}, {"张三"}});
    rollCall_.pressStartStop(window_);
    rollCall_.rollTick(window_);
    window_.name = "张三 "; // whatever the labels show is what was settled on
    rollCall_.pressStartStop(window_);
    ASSERT_EQ(settled_.size(), 1u);
    EXPECT_EQ(settled_[0], std::make_pair(std::string("07"), std::string("张三 ")));
}

TEST(NumberFontSize, ByByteLength) {
    // clang-format off
    const std::pair<std::size_t, std::optional<int>> table[] = {
        {0, 90},  {6, 90},  {7, 80},  {8, 70},  {9, 60},  {10, 55}, {11, 50}, {12, 45}, {13, 42}, {14, 40},
        {15, 37}, {16, 35}, {17, 33}, {18, 32}, {19, 30}, {20, 28},
        {21, std::nullopt}, {22, std::nullopt}, {1000, std::nullopt},
    };
    // clang-format on
    for (const auto& [bytes, points] : table)
        EXPECT_EQ(numberFontSize(bytes), points) << bytes << " bytes";
}

TEST_F(RollCallTest, TicksSizeTheNumberByItsFileBytes) {
    struct Case {
        std::string number;
        int points; // after the tick
    } const cases[] = {
        {"12345678", 70},
        {"123456789012345678901", 70}, // 21 bytes: the size of the tick before
        {"1", 90},
        {"学号学号", 70},              // 4 Chinese characters: 8 bytes in the file, 12 in UTF-8
        {"学号学号学号学号学号", 28},  // 20 bytes
        {"学号学号学号学号学号1", 28}, // 21 bytes: unchanged
        {"𠀀𠀀", 70},                  // four bytes each (where the system converts GB18030)
        {"", 90},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        if (!storesAsItself(c.number)) continue;
        rollCall_.loadRoster({{c.number}, {"张三"}});
        if (!window_.rolling()) rollCall_.pressStartStop(window_);
        rollCall_.rollTick(window_);
        EXPECT_EQ(window_.number, c.number);
        EXPECT_EQ(window_.fontSize, c.points);
    }
}

TEST_F(RollCallTest, PositionsWithoutANameShowAnEmptyName) {
    rollCall_.loadRoster({{"1", "2", "3"}, {"张三"}});
    rollCall_.pressStartStop(window_);
    for (int i = 0; i < 100; ++i) {
        rollCall_.rollTick(window_);
        ASSERT_EQ(window_.name, window_.number == "1" ? "张三" : "");
    }
    rollCall_.pressStartStop(window_);
    EXPECT_EQ(rollCall_.drawPool().size(), 2u);
}

TEST_F(RollCallTest, ATickAfterTheRosterWasEmptiedWhileRollingShowsNothingOutsideIt) {
    rollCall_.loadRoster(rosterOf(3));
    rollCall_.pressStartStop(window_);
    rollCall_.rollTick(window_);
    rollCall_.loadRoster({}); // the current class deleted while the hidden main window rolls
    rollCall_.rollTick(window_);
    rollCall_.rollTick(window_);
    EXPECT_EQ(window_.number, "");
    EXPECT_EQ(window_.name, "");
    EXPECT_EQ(window_.rolling(), window_.interval != 0);

    rollCall_.pressStartStop(window_); // a press on the empty roster
    EXPECT_EQ(window_.shown.back(), kNoStudentsMessage);
    rollCall_.rollTick(window_);
    EXPECT_EQ(window_.rolling(), window_.interval != 0);
}

TEST_F(RollCallTest, LoadingARosterStartsAFullRoundAndLeavesTheWindowAlone) {
    rollCall_.loadRoster(rosterOf(4));
    drawOne();
    drawOne();
    const auto before = std::make_tuple(window_.number, window_.name, window_.buttonCaption, rollCall_.lastPick());
    rollCall_.loadRoster(rosterOf(4));
    EXPECT_EQ(rollCall_.drawPool(), (std::vector<std::int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(before, std::make_tuple(window_.number, window_.name, window_.buttonCaption, rollCall_.lastPick()));
}

} // namespace
} // namespace tallyra
