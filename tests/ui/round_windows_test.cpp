// The menu's way to a fair term on the in-memory toolkit: absent students checked
// off, the count, the record window and a new round that asks first.
#include "storage/platform/append.h"
#include "tests/ui/window_fixture.h"
#include "ui/windows/absence_window.h"
#include "ui/windows/record_window.h"

namespace tallyra::ui {
namespace {

using testing::WindowFixture;
using RoundWindowsTest = WindowFixture;

TEST_F(RoundWindowsTest, TheMenuMarksAbsentStudentsShowsTheRecordAndStartsANewRound) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1", "2", "3"}, {"甲", "乙", "丙"}});
    startProgram();
    const auto count = [&] { return toolkit.text(mainId(), main_units::kRoundCount); };
    EXPECT_EQ(count(), "剩余 3 / 3");

    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "今天缺席的学生…"));
    const WindowId absence = toolkit.find("AbsenceWindow");
    EXPECT_FALSE(toolkit.isWindowVisible(mainId()));
    EXPECT_EQ(toolkit.unit(absence, absence_units::kStudentList).items,
              (std::vector<std::string>{"1  甲", "2  乙", "3  丙"}));
    toolkit.setItemChecked(absence, absence_units::kStudentList, 1, true);
    toolkit.click(absence, absence_units::kSaveButton);
    EXPECT_TRUE(toolkit.isWindowVisible(mainId()));
    EXPECT_EQ(count(), "剩余 2 / 3 · 缺席 1");

    // The record is held by a spreadsheet at the second pick: the pick waits, is counted and told.
    std::vector<std::string> drawn;
    for (int i = 0; i < 2; ++i) {
        if (i == 1) platform::setAppendFailureHook([](const FilePath&) { return true; });
        toolkit.click(mainId(), main_units::kStartStop);
        toolkit.tick(mainId(), main_units::kRollTimer);
        toolkit.click(mainId(), main_units::kStartStop);
        drawn.push_back(toolkit.text(mainId(), main_units::kName));
    }
    platform::setAppendFailureHook(nullptr);
    EXPECT_EQ(count(), "剩余 0 / 3 · 缺席 1 · 1 条记录待写入");
    EXPECT_EQ(toolkit.messages.back().title, "保存失败");

    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "点名记录…"));
    const WindowId record = toolkit.find("RecordWindow");
    const std::string text = toolkit.text(record, record_units::kRecordBox);
    EXPECT_LT(text.find(drawn[0]), text.find(drawn[1])) << text;
    EXPECT_NE(text.find("（从少到多）：\r\n0 次  2号 乙\r\n1 次"), std::string::npos) << text;
    EXPECT_NE(text.find("本轮尚未抽到：\r\n2号 乙（今天缺席）\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("本轮已抽到：\r\n1号 甲\r\n3号 丙\r\n"), std::string::npos) << text;
    toolkit.click(record, record_units::kOpenButton);
    EXPECT_EQ(toolkit.openedFiles, std::vector<std::string>{pickRecordPath(folder.data()).utf8()});
    toolkit.systemOpens = false; // no program for .csv: it says so, and where the file is
    toolkit.click(record, record_units::kOpenButton);
    EXPECT_EQ(toolkit.messages.back().text, recordNotOpenedText(pickRecordPath(folder.data()).utf8()));
    EXPECT_NE(toolkit.messages.back().text.find(pickRecordPath(folder.data()).utf8()), std::string_view::npos);
    toolkit.systemOpens = true;
    toolkit.click(record, shared::kCloseButton);
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "本轮抽取情况…")); // the record, scrolled to the round
    const testing::UnitState& box = toolkit.unit(toolkit.find("RecordWindow"), record_units::kRecordBox);
    ASSERT_TRUE(box.selectedLine);
    std::size_t line = 0, start = 0;
    while (line < *box.selectedLine && (start = box.text.find("\r\n", start) + 2) != 1)
        ++line;
    EXPECT_EQ(box.text.substr(start).find("本轮抽取情况"), 0u) << box.text;
    toolkit.click(toolkit.find("RecordWindow"), shared::kCloseButton);

    toolkit.answers = {MessageAnswer::No, MessageAnswer::Yes};
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "开始新一轮抽取"));
    EXPECT_EQ(toolkit.messages.back(), kNewRoundQuestion);
    EXPECT_EQ(count(), "剩余 0 / 3 · 缺席 1 · 1 条记录待写入");
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "开始新一轮抽取"));
    EXPECT_EQ(count(), "剩余 2 / 3 · 缺席 1 · 1 条记录待写入"); // until the next pick is written
}

TEST_F(RoundWindowsTest, TheHotKeyDoesNothingWhileTheMenuOrABoxOfItIsOpen) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1", "2"}, {"甲", "乙"}});
    startProgram();
    int pressed = 0;
    toolkit.whileOpen = [&] { pressed += toolkit.pressHotKey(mainId()) ? 1 : 0; };
    toolkit.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "开始新一轮抽取")); // the menu, then its question
    toolkit.whileOpen = nullptr;
    EXPECT_EQ(pressed, 2);
    EXPECT_FALSE(rollCall.isRolling());
    EXPECT_FALSE(toolkit.window(mainId()).floating);
}

// The prompt for a new hot key ends when another class is chosen, a window opens or
// full screen begins; the title then names the current class, and a key is a key.
TEST_F(RoundWindowsTest, TheHotKeyPromptEndsOnAClassChoiceAWindowOrFullScreen) {
    folder.prepare("一班,二班", "一班");
    folder.addRoster("一班", {{"1"}, {"甲"}});
    folder.addRoster("二班", {{"2"}, {"乙"}});
    startProgram();
    struct Row {
        const char* what;
        std::function<void()> act;
        std::string title;
    };
    const Row rows[] = {
        {"full screen", [&] { ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "全屏显示\tF11")); },
         "Tallyra × Korvane [一班]"},
        {"the record window", [&] { ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "点名记录…")); },
         "Tallyra × Korvane [一班]"},
        {"another class", [&] { toolkit.choose(openSettings(), kClassBox, 1); }, "Tallyra × Korvane [二班]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "更换全局热键（当前 F9）…"));
        ASSERT_EQ(title(), kHotKeyPrompt);
        row.act();
        EXPECT_EQ(title(), row.title);
        for (const WindowId open : toolkit.openWindows())
            if (open != mainId()) toolkit.click(open, shared::kCloseButton);
        windows->main().setFullScreen(false);
        toolkit.messages.clear();
        toolkit.stroke(mainId(), {'K'});
        EXPECT_EQ(windows->main().hotKey(), kDefaultHotKey);
        EXPECT_TRUE(toolkit.messages.empty());
    }
}

} // namespace
} // namespace tallyra::ui
