// A round that lasts across restarts: it follows a roster changed in between,
// absent students are never drawn, every pick lands in the record, and a failed or
// unreadable round file or record is told once and never stops a draw.
#include "draw/round_keeper.h"
#include "storage/pick_record.h"
#include "storage/platform/append.h"
#include "storage/settings.h"
#include "storage/text_encoding.h"
#include "tests/storage/data_folder.h"
#include "tests/support/fake_main_window.h"

#include <algorithm>
#include <memory>

namespace tallyra {
namespace {

using testing::FakeMainWindow;

// One start of the program on the Data folder: a roll call and its keeper, which
// keeps each settled pick as the class session has it do.
struct Start : PickListener {
    FakeMainWindow window;
    RollCall rollCall;
    RoundKeeper keeper;

    Start(const DataFolder& data, std::string_view className, const ClassRoster& roster)
        : keeper(rollCall, window, data) {
        rollCall.setListener(this);
        keeper.loadClass(className, roster, RoundKeeper::Reason::StartUp);
    }
    void onSettled(const SettledPick& pick) override {
        for (const Message& failure : keeper.keepPick(pick))
            window.showMessage(failure);
    }
    void onRoundReset() override { keeper.roundReset(); }
    std::string drawOne() {
        rollCall.pressStartStop(window);
        rollCall.rollTick(window);
        rollCall.pressStartStop(window);
        return window.name;
    }
};

const ClassRoster kThree{{"1", "2", "3"}, {"甲", "乙", "丙"}};

class RoundKeeperTest : public testing::DataFolderTest {
protected:
    void TearDown() override {
        platform::setReplaceFailureHook(nullptr);
        platform::setReadFailureHook(nullptr);
        platform::setAppendFailureHook(nullptr);
        DataFolderTest::TearDown();
    }
};

TEST_F(RoundKeeperTest, TheRoundFollowsTheRosterAcrossRestarts) {
    // 甲 and 乙 of 一班 were drawn before the restart.
    const std::string both = "[Round]\r\nNumber=[1,2,]\r\nName=[甲,乙,]\r\nPlace=[1,1,]\r\n";
    const std::string secondOfTwo = "[Round]\r\nNumber=[1,2,]\r\nName=[甲,乙,]\r\nPlace=[2,1,]\r\n";
    const auto none = +[](RoundKeeper&, const DataFolder&) {};
    struct Row {
        const char* what;
        std::string file;
        ClassRoster roster;
        void (*between)(RoundKeeper&, const DataFolder&);
        std::string loadedAs;
        std::vector<std::int32_t> pool;
        std::vector<Message> told;
    };
    const std::vector<Row> rows = {
        {"unchanged", both, kThree, none, "一班", {3}, {}},
        {"乙 removed", both, {{"1", "3"}, {"甲", "丙"}}, none, "一班", {2}, {}},
        {"丁 added", both, {{"1", "2", "3", "4"}, {"甲", "乙", "丙", "丁"}}, none, "一班", {3, 4}, {}},
        {"甲 renumbered is someone new", both, {{"9", "2", "3"}, {"甲", "乙", "丙"}}, none, "一班", {1, 3}, {}},
        {"the second of two 甲",
         secondOfTwo,
         {{"1", "1", "2", "3"}, {"甲", "甲", "乙", "丙"}},
         none,
         "一班",
         {1, 4},
         {}},
        {"class renamed",
         both,
         kThree,
         +[](RoundKeeper& k, const DataFolder& d) {
             k.classRenamed("一班", "二班", moveStudentMarks(d, "一班", "二班"));
         },
         "二班",
         {3},
         {}},
        {"class deleted",
         both,
         kThree,
         +[](RoundKeeper& k, const DataFolder& d) { k.classDeleted("一班", deleteStudentMarks(d, "一班")); },
         "一班",
         {1, 2, 3},
         {}},
        {"damaged file", "[Round]\r\nNumber=1,2\r\n", kThree, none, "一班", {1, 2, 3}, {kRoundDamagedNotice}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        testing::writeBytes(data("一班.round"), encodeForFile(row.file));
        std::filesystem::remove(data("二班.round"));
        {
            Start before(dataFolder(), "一班", row.roster);
            row.between(before.keeper, dataFolder());
        }
        Start after(dataFolder(), row.loadedAs, row.roster);
        EXPECT_EQ(after.rollCall.drawPool(), row.pool);
        EXPECT_EQ(after.window.shown, row.told);
    }
}

TEST_F(RoundKeeperTest, TwoDrawnBeforeARestartTheThirdAfterThenTheRoundEndsAndTheRecordHoldsAllThree) {
    std::vector<std::string> drawn;
    {
        Start first(dataFolder(), "一班", kThree);
        drawn.push_back(first.drawOne());
        drawn.push_back(first.drawOne());
    }
    Start second(dataFolder(), "一班", kThree);
    drawn.push_back(second.drawOne());
    std::vector<std::string> sorted = drawn;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"丙", "乙", "甲"}));
    second.window.answer = MessageAnswer::No;
    second.rollCall.pressStartStop(second.window);
    EXPECT_EQ(second.window.shown, std::vector<Message>{kRoundOverQuestion});

    const std::vector<Pick> picks = parsePickRecord(testing::readBytes(data(kPickRecordFileName)));
    ASSERT_EQ(picks.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(picks[i].className + picks[i].name, "一班" + drawn[i]);
    EXPECT_TRUE(testing::readBytes(data(kPickRecordFileName)).starts_with("\xEF\xBB\xBF时间,班级,学号,姓名\r\n"));
}

TEST_F(RoundKeeperTest, AbsentStudentsAreNeverDrawnAndTheRosterFileIsNeverTouched) {
    const ClassRoster roster{{"1", "2", "3", "4", "5", "6"}, {"甲", "乙", "丙", "丁", "戊", "己"}};
    const std::string rosterBytes = encodeForFile("[ClassData]\r\nNumber=1,2,3,4,5,6\r\nName=甲,乙,丙,丁,戊,己\r\n");
    testing::writeBytes(data("一班.conf"), rosterBytes);
    {
        Start marking(dataFolder(), "一班", roster);
        ASSERT_TRUE(marking.keeper.setAbsent({false, true, false, false, true, false}));
    }
    Start start(dataFolder(), "一班", roster); // today's marks hold after a restart
    EXPECT_EQ(roundCountText(start.rollCall), "剩余 4 / 6 · 缺席 2");
    for (int i = 0; i < 1000; ++i) {
        const std::string name = start.drawOne();
        ASSERT_NE(name, "乙");
        ASSERT_NE(name, "戊");
    }
    EXPECT_EQ(start.window.shown.size(), 249u); // the round-end question every fourth start
    EXPECT_EQ(testing::readBytes(data("一班.conf")), rosterBytes);

    // Only absent students left: Start offers a new round in which they are still left out.
    start.rollCall.loadRoster(roster, {true, false, true, true, false, true}, {false, true, false, false, true, false});
    start.window.shown.clear();
    start.window.answer = MessageAnswer::No;
    start.rollCall.pressStartStop(start.window);
    EXPECT_EQ(start.window.shown, std::vector<Message>{kRestAbsentQuestion});
    start.rollCall.setAbsent(StudentMarks(6, true));
    start.rollCall.pressStartStop(start.window);
    EXPECT_EQ(start.window.shown.back(), kAllAbsentMessage);
}

TEST_F(RoundKeeperTest, AFailedOrUnreadableRoundFileOrRecordIsToldOnceAndNeverStopsADraw) {
    struct Row {
        const char* what;
        void (*inject)();
        Message told;
        bool roundFileKept; // the round file's bytes stay as they were
    };
    const std::vector<Row> rows = {
        {"round write fails", +[] { platform::setReplaceFailureHook([](const FilePath&) { return true; }); },
         kRoundSaveFailed, true},
        {"record append fails",
         +[] { platform::setAppendFailureHook([](const FilePath&) { return true; }); },
         {"保存失败", "", kWarningOk},
         false},
        {"round file unreadable",
         +[] { platform::setReadFailureHook([](const FilePath&) { return true; }); },
         {kRoundUnreadableTitle, "", kWarningOk},
         true},
    };
    const std::string rosterBytes = encodeForFile("[ClassData]\r\nNumber=1,2,3\r\nName=甲,乙,丙\r\n");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        testing::writeBytes(data("一班.conf"), rosterBytes);
        const std::string roundBytes = encodeForFile("[Round]\r\nNumber=[]\r\nName=[]\r\nPlace=[]\r\n");
        testing::writeBytes(data("一班.round"), roundBytes);
        row.inject();
        Start start(dataFolder(), "一班", kThree);
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(start.drawOne().empty());
        EXPECT_TRUE(start.rollCall.drawPool().empty());
        ASSERT_EQ(start.window.shown.size(), 1u);
        EXPECT_EQ(start.window.shown[0].title, row.told.title);
        EXPECT_EQ(testing::readBytes(data("一班.round")) == roundBytes, row.roundFileKept);
        EXPECT_EQ(testing::readBytes(data("一班.conf")), rosterBytes);
        TearDown();
        SetUp();
    }
}

// A roster cut at the value limit is drawn only over its whole students, and told
// once per class per start with how many were read.
TEST_F(RoundKeeperTest, ACutRosterIsToldOncePerClassPerStart) {
    std::string numbers, names;
    for (int i = 1; i <= 3000; ++i) { // six bytes an item: 1,706 whole, the next cut inside
        numbers += (i > 1 ? "," : "") + std::to_string(10000 + i);
        names += (i > 1 ? ",a" : "a");
    }
    testing::writeBytes(data("一班.conf"), "[ClassData]\r\nNumber=" + numbers + "\r\nName=" + names + "\r\n");
    const ClassRoster roster = loadRoster(dataFolder(), "一班").roster;
    Start start(dataFolder(), "一班", roster);
    start.keeper.loadClass("一班", roster, RoundKeeper::Reason::Chosen);
    EXPECT_EQ(start.rollCall.roster().size(), 1706u);
    ASSERT_EQ(start.window.shown.size(), 1u);
    EXPECT_NE(std::string(start.window.shown[0].text).find("“一班”"), std::string::npos);
    EXPECT_NE(std::string(start.window.shown[0].text).find(" 1706 "), std::string::npos);
}

} // namespace
} // namespace tallyra
