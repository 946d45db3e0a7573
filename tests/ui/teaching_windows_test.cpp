// The menu's lesson tools on the in-memory toolkit: a roster from a file, random
// groups, who is left in the round, several students at once, a pick taken back.
#include "storage/roster_import.h"
#include "storage/text_encoding.h"
#include "tests/ui/window_fixture.h"

namespace tallyra::ui {
namespace {

using testing::WindowFixture;
using TeachingWindowsTest = WindowFixture;

TEST_F(TeachingWindowsTest, ARosterFromAFileFillsTheBoxAndOnlySaveWritesIt) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1"}, {"甲"}});
    startProgram();
    const std::filesystem::path file = folder.path() / "高一3班.csv";
    const auto write = [&](std::string_view bytes) { std::ofstream(file, std::ios::binary) << bytes; };
    write(encodeForFile("学号,姓名\r\n01,张三\r\n02,李四\r\n"));

    toolkit.chosenFiles = {file.string()};
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
    ASSERT_TRUE(toolkit.dropFile(management, class_management_units::kRosterBox, file.string()));
    EXPECT_EQ(toolkit.messages.back().title, kImportProblemsTitle);
    EXPECT_NE(toolkit.messages.back().text.find("第 2 行"), std::string_view::npos);
    EXPECT_EQ(toolkit.text(management, class_management_units::kRosterBox), "01\t张三\r\n02\t李四\r\n");
    write("王五\n");
    ASSERT_TRUE(toolkit.dropFile(management, class_management_units::kRosterBox, file.string()));
    EXPECT_EQ(toolkit.text(management, class_management_units::kRosterBox), "01\t王五\r\n");
    toolkit.chosenFiles = {(folder.path() / "名单.xlsx").string()};
    toolkit.click(management, shared::kCloseButton);
    toolkit.click(settingsId(), shared::kCloseButton);
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "从文件导入班级…"));
    EXPECT_EQ(toolkit.messages.back(), kImportSpreadsheetRefused);
}

} // namespace
} // namespace tallyra::ui
