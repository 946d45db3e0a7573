// The menu's way to a fair term on the in-memory toolkit: absent students checked
// off, the count, the record window and a new round that asks first.
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

    std::vector<std::string> drawn;
    for (int i = 0; i < 2; ++i) {
        toolkit.click(mainId(), main_units::kStartStop);
        toolkit.tick(mainId(), main_units::kRollTimer);
        toolkit.click(mainId(), main_units::kStartStop);
        drawn.push_back(toolkit.text(mainId(), main_units::kName));
    }
    EXPECT_EQ(count(), "剩余 0 / 3 · 缺席 1");

    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "点名记录…"));
    const WindowId record = toolkit.find("RecordWindow");
    const std::string text = toolkit.text(record, record_units::kRecordBox);
    EXPECT_LT(text.find(drawn[0]), text.find(drawn[1])) << text;
    EXPECT_NE(text.find("（从少到多）：\r\n0 次  2号 乙\r\n1 次"), std::string::npos) << text;
    EXPECT_NE(text.find("本轮尚未抽到：\r\n2号 乙（今天缺席）\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("本轮已抽到：\r\n1号 甲\r\n3号 丙\r\n"), std::string::npos) << text;
    toolkit.click(record, record_units::kOpenButton);
    EXPECT_EQ(toolkit.openedFiles, std::vector<std::string>{pickRecordPath(folder.data()).utf8()});
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
    EXPECT_EQ(count(), "剩余 0 / 3 · 缺席 1");
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "开始新一轮抽取"));
    EXPECT_EQ(count(), "剩余 2 / 3 · 缺席 1");
}

} // namespace
} // namespace tallyra::ui
