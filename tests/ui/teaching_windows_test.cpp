// The menu's lesson tools on the in-memory toolkit: a roster from a file, random
// groups, who is left in the round, several students at once, a pick taken back.
#include "storage/pick_record.h"
#include "storage/roster_import.h"
#include "storage/student_marks.h"
#include "storage/text_encoding.h"
#include "tests/ui/window_fixture.h"
#include "ui/windows/groups_window.h"
#include "ui/windows/multi_draw_window.h"
#include "ui/windows/record_window.h"

namespace tallyra::ui {
namespace {

std::vector<Pick> recordedPicks(const DataFolder& data) {
    std::vector<Pick> picks;
    readPickRecord(data, [&](const Pick& pick) { picks.push_back(pick); });
    return picks;
}

using testing::WindowFixture;
using TeachingWindowsTest = WindowFixture;

TEST_F(TeachingWindowsTest, ARosterFromAFileFillsTheBoxAndOnlySaveWritesIt) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1"}, {"甲"}});
    startProgram();
    const std::filesystem::path file = folder.path() / tallyra::pathFromUtf8("高一3班.csv");
    const auto write = [&](std::string_view bytes) { std::ofstream(file, std::ios::binary) << bytes; };
    write(encodeForFile("学号,姓名\r\n01,张三\r\n02,李四\r\n"));

    toolkit.chosenFiles = {toFilePath(file).utf8()};
    toolkit.inputs = {"高一3班"};
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "从文件导入班级…"));
    EXPECT_EQ(toolkit.proposedInputs.back(), "高一3班");
    const WindowId management = windows->classManagement()->id();
    EXPECT_EQ(toolkit.text(management, class_management_units::kRosterBox), "01\t张三\r\n02\t李四\r\n");
    EXPECT_EQ(readRoster(folder.data(), "高一3班"), ClassRoster{}); // not written before 保存
    toolkit.click(management, class_management_units::kSaveButton);
    EXPECT_EQ(readRoster(folder.data(), "高一3班"), (ClassRoster{{"01", "02"}, {"张三", "李四"}}));

    // Dropped on the roster box: a damaged file is listed and changes nothing; a good one replaces the text.
    write("01,王五\r\n02,\r\n");
    ASSERT_TRUE(toolkit.dropFile(management, class_management_units::kRosterBox, toFilePath(file).utf8()));
    EXPECT_EQ(toolkit.messages.back().title, kImportProblemsTitle);
    EXPECT_NE(toolkit.messages.back().text.find("第 2 行"), std::string_view::npos);
    EXPECT_EQ(toolkit.text(management, class_management_units::kRosterBox), "01\t张三\r\n02\t李四\r\n");
    write("王五\n");
    ASSERT_TRUE(toolkit.dropFile(management, class_management_units::kRosterBox, toFilePath(file).utf8()));
    EXPECT_EQ(toolkit.text(management, class_management_units::kRosterBox), "01\t王五\r\n");
    toolkit.chosenFiles = {toFilePath(folder.path() / tallyra::pathFromUtf8("名单.xlsx")).utf8()};
    toolkit.click(management, shared::kCloseButton);
    toolkit.click(settingsId(), shared::kCloseButton);
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "从文件导入班级…"));
    EXPECT_EQ(toolkit.messages.back(), kImportSpreadsheetRefused);
}

TEST_F(TeachingWindowsTest, GroupsSplitThePresentStudentsAndCopyAsColumns) {
    folder.prepare("一班", "一班");
    ClassRoster roster;
    for (int i = 1; i <= 10; ++i)
        roster.numbers.push_back(std::to_string(i)), roster.names.push_back("生" + std::to_string(i));
    folder.addRoster("一班", roster);
    startProgram();
    StudentMarks absent(10, false);
    absent[9] = true;
    ASSERT_FALSE(windows->session().setAbsent(absent)); // nothing to tell: kept
    const auto roundBefore = rollCall.drawPool();

    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "随机分组…"));
    const WindowId groups = toolkit.find("GroupsWindow");
    const auto shown = [&] {
        std::string all;
        int columns = 0;
        for (int c = 0; c < groups_units::kColumns; ++c)
            if (toolkit.unit(groups, groups_units::column(c)).visible)
                ++columns, all += toolkit.text(groups, groups_units::column(c));
        return std::pair(columns, all);
    };
    EXPECT_EQ(shown().first, 4); // the default: 4 groups of 9 present students
    for (int i = 1; i <= 9; ++i)
        EXPECT_NE(shown().second.find(std::to_string(i) + " 生" + std::to_string(i) + "\r\n"), std::string::npos);
    EXPECT_EQ(shown().second.find("生10"), std::string::npos);

    toolkit.setText(groups, groups_units::kNumberBox, "2");
    toolkit.click(groups, groups_units::kBySize);
    EXPECT_EQ(shown().first, 5);
    toolkit.click(groups, groups_units::kCopyButton);
    EXPECT_TRUE(
        toolkit.clipboard.starts_with("第1组（2人）\t第2组（2人）\t第3组（2人）\t第4组（2人）\t第5组（1人）\r\n"))
        << toolkit.clipboard;
    EXPECT_TRUE(toolkit.clipboard.ends_with("\t\r\n")) << toolkit.clipboard; // the group of one has no second row
    toolkit.setText(groups, groups_units::kNumberBox, "0");
    toolkit.click(groups, groups_units::kRegroupButton);
    EXPECT_EQ(toolkit.messages.back().text, "请输入 1 到 9 之间的数字。");
    EXPECT_EQ(shown().first, 5); // the groups stay

    toolkit.key(groups, Key::F11, KeyAction::Pressed);
    EXPECT_EQ(toolkit.windowRect(groups), toolkit.monitorRect(groups));
    toolkit.key(groups, Key::Escape, KeyAction::Pressed);
    EXPECT_NE(toolkit.windowRect(groups), toolkit.monitorRect(groups));
    toolkit.key(groups, Key::Escape, KeyAction::Pressed);
    EXPECT_TRUE(toolkit.isWindowVisible(mainId()));
    EXPECT_EQ(rollCall.drawPool(), roundBefore); // the round is untouched
}

TEST_F(TeachingWindowsTest, ThreeOfFiveWithTwoLeftAsksForANewRoundAndRepeatsNoOne) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1", "2", "3", "4", "5"}, {"甲", "乙", "丙", "丁", "戊"}});
    startProgram();
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "一次抽取多人…"));
    // Another copy draws three meanwhile: Start reads the round file.
    (void)updateRoundFile(folder.data(), "一班", [&](const MarksFile&) {
        return markedStudents(rollCall.roster(), {true, true, true, false, false});
    });
    const WindowId multi = toolkit.find("MultiDrawWindow");
    EXPECT_EQ(toolkit.text(multi, multi_draw_units::kCountBox), "2");
    toolkit.setText(multi, multi_draw_units::kCountBox, "3");
    toolkit.answers = {MessageAnswer::Yes};
    toolkit.key(multi, Key::Space, KeyAction::Pressed);
    ASSERT_FALSE(toolkit.messages.empty());
    EXPECT_EQ(toolkit.messages.back().text, fewLeftQuestion(2));
    ASSERT_TRUE(toolkit.tick(multi, multi_draw_units::kTimer));
    toolkit.click(multi, multi_draw_units::kStartStop);
    std::set<std::string> shown;
    for (int i = 0; i < 3; ++i)
        shown.insert(toolkit.text(multi, multi_draw_units::slot(i)));
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_TRUE(shown.contains("4 丁") && shown.contains("5 戊"));
    EXPECT_FALSE(toolkit.unit(multi, multi_draw_units::slot(3)).visible);
    EXPECT_EQ(recordedPicks(folder.data()).size(), 3u);
    EXPECT_EQ(toolkit.text(mainId(), main_units::kRoundCount), "剩余 4 / 5"); // one drawn in the new round
    EXPECT_EQ(setting(kSettingsSection, settings::kMultiDrawCountKey), "3");
    toolkit.key(multi, Key::F11, KeyAction::Pressed);
    EXPECT_EQ(toolkit.windowRect(multi), toolkit.monitorRect(multi));
    EXPECT_GT(toolkit.unitRect(multi, multi_draw_units::slot(0)).width, 300);
}

TEST_F(TeachingWindowsTest, TenSlotsShareAFullScreenAndOneTextSizeWithoutOverlapping) {
    folder.prepare("一班", "一班");
    ClassRoster roster;
    for (int i = 1; i <= 12; ++i)
        roster.numbers.push_back(std::to_string(i)), roster.names.push_back(i == 12 ? "阿卜杜热合曼·买买提江" : "欧阳");
    folder.addRoster("一班", roster);
    toolkit.screen = {1920, 1080};
    startProgram();
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "一次抽取多人…"));
    const WindowId multi = toolkit.find("MultiDrawWindow");
    toolkit.setText(multi, multi_draw_units::kCountBox, "10");
    toolkit.key(multi, Key::F11, KeyAction::Pressed);
    toolkit.click(multi, multi_draw_units::kStartStop);
    toolkit.click(multi, multi_draw_units::kStartStop);
    ASSERT_EQ(toolkit.windowRect(multi), toolkit.monitorRect(multi));
    std::vector<Rect> slots;
    for (int i = 0; i < 10; ++i) {
        const Rect slot = toolkit.unitRect(multi, multi_draw_units::slot(i));
        EXPECT_TRUE(toolkit.unit(multi, multi_draw_units::slot(i)).visible);
        EXPECT_TRUE(slot.left >= 0 && slot.top >= 0 && slot.left + slot.width <= 1920 &&
                    slot.top + slot.height <= 1080);
        for (const Rect& other : slots)
            EXPECT_TRUE(slot.left >= other.left + other.width || other.left >= slot.left + slot.width ||
                        slot.top >= other.top + other.height || other.top >= slot.top + slot.height);
        slots.push_back(slot);
    }
    // One text size in every slot: the largest at which the longest name fits, in the grid
    // where it is largest (one column: two would give 75 pixels).
    const int height = toolkit.unit(multi, multi_draw_units::slot(0)).charHeight;
    EXPECT_GE(height, 80);
    const Size at = testing::MemoryToolkit::measureLine("12 阿卜杜热合曼·买买提江", height),
               above = testing::MemoryToolkit::measureLine("12 阿卜杜热合曼·买买提江", height + 1);
    EXPECT_TRUE(at.width <= slots[0].width && at.height <= slots[0].height);
    EXPECT_TRUE(above.width > slots[0].width || above.height > slots[0].height);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(toolkit.unit(multi, multi_draw_units::slot(i)).charHeight, height) << i;
}

TEST_F(TeachingWindowsTest, APickTakenBackMarksTheStudentAbsentAndRollsAgain) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1", "2", "3"}, {"甲", "乙", "丙"}});
    startProgram();
    constexpr std::string_view kTakeBack = "刚抽到的学生缺席，重新抽取";
    toolkit.click(mainId(), main_units::kStartStop);
    toolkit.tick(mainId(), main_units::kRollTimer);
    toolkit.click(mainId(), main_units::kStartStop);
    const std::string called = toolkit.text(mainId(), main_units::kName);
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), kTakeBack));
    EXPECT_TRUE(rollCall.isRolling());
    EXPECT_EQ(toolkit.text(mainId(), main_units::kRoundCount), "剩余 2 / 3 · 缺席 1");
    toolkit.tick(mainId(), main_units::kRollTimer);
    toolkit.click(mainId(), main_units::kStartStop);
    EXPECT_NE(toolkit.text(mainId(), main_units::kName), called);
    // The record keeps the pick and a line that takes it back; the record window does not count it.
    const std::vector<Pick> picks = recordedPicks(folder.data());
    ASSERT_EQ(picks.size(), 3u);
    EXPECT_TRUE(picks[1].takenBack && picks[1].name == called && !picks[0].takenBack && picks[0].name == called);
    EXPECT_NE(fileBytes(pickRecordPath(folder.data())).find(called + ",缺席\r\n"), std::string::npos);
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "点名记录…"));
    const std::string summary = toolkit.text(toolkit.find("RecordWindow"), record_units::kRecordBox);
    EXPECT_NE(summary.find("0 次  " + std::string(called == "甲"   ? "1号 甲"
                                                  : called == "乙" ? "2号 乙"
                                                                   : "3号 丙")),
              std::string::npos)
        << summary;
    toolkit.click(toolkit.find("RecordWindow"), shared::kCloseButton);
    toolkit.chooseMenuItem(mainId(), "一次抽取多人…"); // a draw of several cannot be taken back
    toolkit.click(toolkit.find("MultiDrawWindow"), multi_draw_units::kStartStop);
    toolkit.click(toolkit.find("MultiDrawWindow"), multi_draw_units::kStartStop);
    toolkit.click(toolkit.find("MultiDrawWindow"), shared::kCloseButton);
    toolkit.requestMenu(mainId());
    const auto& items = toolkit.menus.back();
    const auto takeBack =
        std::find_if(items.begin(), items.end(), [&](const MenuItem& i) { return i.text == kTakeBack; });
    ASSERT_NE(takeBack, items.end());
    EXPECT_FALSE(takeBack->enabled);
}

} // namespace
} // namespace tallyra::ui
