// The class management window on the in-memory toolkit, with the settings window
// behind it: every change observed on the files, both class boxes, the current
// class, the roll call and the main window.
#include "storage/class_list.h"
#include "storage/platform/file_system.h"
#include "storage/text_encoding.h"
#include "tests/ui/window_fixture.h"

namespace tallyra::ui {
namespace {

using ClassManagementTest = testing::WindowFixture;

using class_management_units::kAddButton;
using class_management_units::kDeleteButton;
using class_management_units::kNameBox;
using class_management_units::kNoClassOverlay;
using class_management_units::kRosterBox;
using class_management_units::kSaveButton;
constexpr std::string_view kOverlay = kNoClassOverlay;

TEST_F(ClassManagementTest, OpeningSelectsTheCurrentClassOrShowsTheOverlay) {
    struct Case {
        std::string_view classList, current;
        int selected;
        bool overlay;
        std::string nameBox, rosterBox;
    };
    const Case cases[] = {
        {"", "", -1, true, "", ""},
        {"一班", "别的班", 0, false, "一班", "1\t甲\r\n"},
        {"一班,二班,三班", "二班", 1, false, "二班", "21\t乙\r\n"},
        // The settings window makes the first class current when none is; so does the window behind it here.
        {"一班,二班,三班", "", 0, false, "一班", "1\t甲\r\n"},
    };
    for (const Case& c : cases) {
        tallyra::testing::ProgramFolder caseFolder;
        caseFolder.prepare(c.classList, c.current);
        caseFolder.addRoster("一班", {{"1"}, {"甲"}});
        caseFolder.addRoster("二班", {{"21"}, {"乙"}});
        testing::MemoryToolkit caseToolkit;
        RollCall caseRollCall;
        WindowSet caseWindows(caseToolkit, caseRollCall, caseFolder.data(), {});
        caseWindows.main().open();
        caseToolkit.click(caseWindows.main().id(), main_units::kSettingsButton);
        caseToolkit.click(caseWindows.settings()->id(), settings_units::kClassManagementButton);
        const WindowId id = caseWindows.classManagement()->id();
        SCOPED_TRACE(std::string(c.classList) + " / " + std::string(c.current));
        EXPECT_EQ(caseToolkit.selection(id, kClassBox), c.selected);
        EXPECT_EQ(caseToolkit.unit(id, kOverlay).visible, c.overlay);
        EXPECT_EQ(caseToolkit.text(id, kNameBox), c.nameBox);
        EXPECT_EQ(caseToolkit.text(id, kRosterBox), c.rosterBox);
    }
}

TEST_F(ClassManagementTest, WithoutACurrentClassAmongSeveralNothingIsSelected) {
    // Opened directly (as after the settings window chose nothing), Default naming no listed class.
    folder.prepare("一班,二班,三班", "已删");
    startProgram();
    windows->openClassManagement();
    const WindowId id = windows->classManagement()->id();
    EXPECT_EQ(selected(id), -1);
    EXPECT_TRUE(toolkit.unit(id, kOverlay).visible);
}

TEST_F(ClassManagementTest, AddingTheFirstClassMakesItCurrent) {
    folder.prepare("", "");
    const WindowId id = openClassManagement();
    toolkit.inputs.push_back("一班");
    toolkit.click(id, class_management_units::kAddButton);

    EXPECT_EQ(toolkit.log.back(), "ask:班级名称");
    EXPECT_EQ(classList(), "一班");
    EXPECT_EQ(current(), "一班");
    EXPECT_EQ(fileBytes(folder.data().rosterFile("一班")), "[ClassData]\r\nName=\r\nNumber=\r\n");
    EXPECT_EQ(items(id), (std::vector<std::string>{"一班"}));
    EXPECT_EQ(items(settingsId()), (std::vector<std::string>{"一班"}));
    EXPECT_EQ(selected(id), 0);
    EXPECT_EQ(selected(settingsId()), 0);
    EXPECT_EQ(title(), "Tallyra × Korvane [一班]");
    EXPECT_FALSE(toolkit.unit(id, kOverlay).visible);
    EXPECT_EQ(toolkit.text(id, kNameBox), "一班");
    EXPECT_TRUE(toolkit.messages.empty());
}

TEST_F(ClassManagementTest, AddingASecondClassLeavesTheCurrentOneAlone) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1"}, {"甲"}});
    const WindowId id = openClassManagement();
    toolkit.inputs.push_back("二班");
    toolkit.click(id, class_management_units::kAddButton);

    EXPECT_EQ(classList(), "一班,二班");
    EXPECT_EQ(current(), "一班");
    EXPECT_EQ(items(settingsId()), (std::vector<std::string>{"一班", "二班"}));
    EXPECT_EQ(selected(settingsId()), 0);
    EXPECT_EQ(selected(id), 1);
    EXPECT_EQ(toolkit.text(id, kNameBox), "二班");
    EXPECT_EQ(toolkit.text(id, kRosterBox), "");
    EXPECT_EQ(title(), "Tallyra × Korvane [一班]");
    EXPECT_EQ(rollCall.roster().numbers, (std::vector<std::string>{"1"}));
}

TEST_F(ClassManagementTest, AddingAdoptsAFileLeftBehind) {
    folder.prepare("", "");
    folder.addRoster("旧班", {{"1"}, {"甲"}});
    const WindowId id = openClassManagement();
    toolkit.inputs.push_back("旧班");
    toolkit.click(id, class_management_units::kAddButton);
    EXPECT_EQ(readRoster(folder.data(), "旧班"), (ClassRoster{{"1"}, {"甲"}}));
    EXPECT_EQ(toolkit.text(id, kRosterBox), "1\t甲\r\n");
    EXPECT_EQ(rollCall.roster(), (ClassRoster{{"1"}, {"甲"}}));
}

TEST_F(ClassManagementTest, AddingRefusesNamesThatWouldBreakTheClassList) {
    struct Case {
        std::string_view classList;
        std::optional<std::string> input;
        std::optional<Message> refusal;
    };
    const Case cases[] = {
        {"一班", std::nullopt, std::nullopt}, // cancelled: nothing at all
        {"一班", "", kClassNameEmpty},
        {"一班", "三,班", kClassNameWithComma},
        {"一班", "一班", kClassNameTakenSingle},
        {"一班,二班", "二班", kClassNameTaken},
        {"高一班,二班", "一", std::nullopt},   // a name inside another is no duplicate
        {"一班", "三，班", std::nullopt},      // a full-width comma is an ordinary character
        {"一班", "config", kClassNameInvalid}, // would be the settings file
        {"一班", "a/b", kClassNameInvalid},
        {"一班", "LPT1", kClassNameInvalid},
        // Names Windows takes for one file: the second would empty or delete the first's roster.
        {"A班", "a班", kClassNameTakenSingle},
        {"一班,Ａ班", "ａ班", kClassNameTaken},
        {"一班,Ω组", "ω组", kClassNameTaken},
    };
    for (const Case& c : cases) {
        tallyra::testing::ProgramFolder caseFolder;
        caseFolder.prepare(c.classList, "");
        testing::MemoryToolkit caseToolkit;
        RollCall caseRollCall;
        WindowSet caseWindows(caseToolkit, caseRollCall, caseFolder.data(), {});
        caseWindows.main().open();
        caseWindows.openSettings();
        caseWindows.openClassManagement();
        const std::string settingsBefore = fileBytes(caseFolder.data().settingsFile());
        caseToolkit.inputs.push_back(c.input);
        caseToolkit.click(caseWindows.classManagement()->id(), class_management_units::kAddButton);
        SCOPED_TRACE(c.input.value_or("(cancelled)"));
        if (c.refusal) {
            EXPECT_EQ(caseToolkit.messages, std::vector<Message>{*c.refusal});
            EXPECT_EQ(fileBytes(caseFolder.data().settingsFile()), settingsBefore);
        } else if (c.input) {
            EXPECT_TRUE(caseToolkit.messages.empty());
            EXPECT_EQ(readIniItem(caseFolder.data().settingsFile(), kClassSection, kClassNameKey),
                      std::string(c.classList) + "," + *c.input);
        } else {
            EXPECT_TRUE(caseToolkit.messages.empty());
            EXPECT_EQ(fileBytes(caseFolder.data().settingsFile()), settingsBefore);
        }
    }
}

class DeleteClassTest : public testing::WindowFixture {
protected:
    void SetUp() override {
        folder.prepare("一班,二班,三班", "一班");
        folder.addRoster("一班", {{"11"}, {"甲"}});
        folder.addRoster("二班", {{"21", "22"}, {"乙", "丙"}});
        folder.addRoster("三班", {{"31"}, {"丁"}});
        id = openClassManagement();
    }
    void deleteItem(int item, MessageAnswer answer = MessageAnswer::Yes) {
        toolkit.choose(id, kClassBox, item);
        toolkit.answers.push_back(answer);
        toolkit.click(id, class_management_units::kDeleteButton);
    }
    WindowId id = kNoWindow;
};

TEST_F(DeleteClassTest, DeletingAsksFirstAndNoDeletesNothing) {
    const std::string settingsBefore = fileBytes(folder.data().settingsFile());
    deleteItem(1, MessageAnswer::No);
    ASSERT_EQ(toolkit.messages.size(), 1u);
    const Message& question = toolkit.messages[0];
    EXPECT_EQ(question.title, "删除班级");
    EXPECT_NE(question.text.find("二班"), std::string_view::npos);
    EXPECT_EQ(question.flags, 0x124u); // question icon, Yes and No, No the default
    EXPECT_EQ(fileBytes(folder.data().settingsFile()), settingsBefore);
    EXPECT_TRUE(std::filesystem::exists(toFsPath(folder.data().rosterFile("二班"))));
    EXPECT_EQ(items(id), (std::vector<std::string>{"一班", "二班", "三班"}));
    EXPECT_EQ(rollCall.roster().numbers, (std::vector<std::string>{"11"}));
}

TEST_F(DeleteClassTest, DeletingTheFirstClassMakesTheNewFirstOneCurrent) {
    deleteItem(0);
    EXPECT_EQ(classList(), "二班,三班");
    EXPECT_EQ(current(), "二班");
    EXPECT_EQ(selected(id), 0);
    EXPECT_EQ(selected(settingsId()), 0);
    EXPECT_EQ(toolkit.text(id, kRosterBox), "21\t乙\r\n22\t丙\r\n");
}

TEST_F(DeleteClassTest, DeletingTheMiddleClassMakesTheFollowingOneCurrent) {
    deleteItem(1);
    EXPECT_EQ(classList(), "一班,三班");
    EXPECT_EQ(current(), "三班");
    EXPECT_FALSE(std::filesystem::exists(toFsPath(folder.data().rosterFile("二班"))));
    EXPECT_EQ(items(id), (std::vector<std::string>{"一班", "三班"}));
    EXPECT_EQ(items(settingsId()), (std::vector<std::string>{"一班", "三班"}));
    EXPECT_EQ(selected(id), 1);
    EXPECT_EQ(selected(settingsId()), 1);
    EXPECT_EQ(toolkit.text(id, kNameBox), "三班");
    EXPECT_EQ(toolkit.text(id, kRosterBox), "31\t丁\r\n");
    EXPECT_EQ(title(), "Tallyra × Korvane [三班]");
    EXPECT_EQ(rollCall.roster().numbers, (std::vector<std::string>{"31"}));
}

TEST_F(DeleteClassTest, DeletingTheLastClassSelectsTheNewLastOne) {
    deleteItem(2);
    EXPECT_EQ(classList(), "一班,二班");
    EXPECT_EQ(current(), "二班");
    EXPECT_EQ(selected(id), 1);
    EXPECT_EQ(toolkit.text(id, kRosterBox), "21\t乙\r\n22\t丙\r\n");
}

TEST_F(DeleteClassTest, DeletingEveryClassLeavesNothingCurrent) {
    // Draw a student of the current class first.
    toolkit.click(id, shared::kCloseButton);
    toolkit.click(settingsId(), shared::kCloseButton);
    toolkit.click(mainId(), main_units::kStartStop);
    toolkit.tick(mainId(), main_units::kRollTimer);
    toolkit.click(mainId(), main_units::kStartStop);
    ASSERT_EQ(toolkit.text(mainId(), main_units::kNumber), "11");
    id = openClassManagement();

    for (int i = 0; i < 3; ++i)
        deleteItem(0);
    EXPECT_EQ(classList(), "");
    EXPECT_EQ(current(), "");
    EXPECT_TRUE(items(id).empty());
    EXPECT_TRUE(items(settingsId()).empty());
    EXPECT_TRUE(toolkit.unit(id, kOverlay).visible);
    EXPECT_EQ(toolkit.text(id, kNameBox), "");
    EXPECT_EQ(toolkit.text(id, kRosterBox), "");
    EXPECT_EQ(rollCall.roster(), ClassRoster{});
    // The main window no longer names the deleted class nor shows one of its students.
    EXPECT_EQ(title(), "Tallyra × Korvane");
    EXPECT_EQ(toolkit.text(mainId(), main_units::kNumber), "");
    EXPECT_EQ(toolkit.text(mainId(), main_units::kName), "");
    for (std::string_view name : {"一班", "二班", "三班"})
        EXPECT_FALSE(std::filesystem::exists(toFsPath(folder.data().rosterFile(name))));

    // With nothing chosen, a click that gets past the overlay does nothing.
    toolkit.messages.clear();
    const std::string before = fileBytes(folder.data().settingsFile());
    toolkit.click(id, class_management_units::kDeleteButton);
    toolkit.click(id, class_management_units::kSaveButton);
    EXPECT_EQ(fileBytes(folder.data().settingsFile()), before);
    EXPECT_TRUE(toolkit.messages.empty());
}

class SaveClassTest : public testing::WindowFixture {
protected:
    void SetUp() override {
        folder.prepare("一班,二班", "一班");
        folder.addRoster("一班", {{"1", "2"}, {"甲", "乙"}});
        folder.addRoster("二班", {{"21"}, {"丙"}});
        id = openClassManagement();
    }
    void save(std::string_view name, std::string_view rows) {
        toolkit.setText(id, kNameBox, name);
        toolkit.setText(id, kRosterBox, rows);
        toolkit.click(id, class_management_units::kSaveButton);
    }
    WindowId id = kNoWindow;
};

TEST_F(SaveClassTest, SavingTheCurrentClassKeepsItsRoundWithItsNewRows) {
    // Draw one student first.
    toolkit.click(id, shared::kCloseButton);
    toolkit.click(settingsId(), shared::kCloseButton);
    toolkit.click(mainId(), main_units::kStartStop);
    toolkit.tick(mainId(), main_units::kRollTimer);
    toolkit.click(mainId(), main_units::kStartStop);
    ASSERT_EQ(rollCall.drawPool().size(), 1u);
    id = openClassManagement();

    save("一班", "1\t甲\r\n2\t乙\r\n3\t丙\r\n");
    EXPECT_EQ(toolkit.messages, std::vector<Message>{kSaveDone});
    EXPECT_EQ(readRoster(folder.data(), "一班"), (ClassRoster{{"1", "2", "3"}, {"甲", "乙", "丙"}}));
    EXPECT_EQ(rollCall.drawPool().size(), 2u); // the one drawn stays drawn; 丙 can be drawn
    EXPECT_EQ(fileBytes(folder.data().rosterFile("一班")),
              encodeForFile("[ClassData]\r\nNumber=1,2,3\r\nName=甲,乙,丙\r\n"));
}

TEST_F(SaveClassTest, SavingUnderANewNameLeavesTheOldFileBehind) {
    save("五班", "1\t甲\r\n");
    EXPECT_EQ(classList(), "五班,二班");
    EXPECT_EQ(current(), "五班");
    EXPECT_EQ(items(id), (std::vector<std::string>{"五班", "二班"}));
    EXPECT_EQ(items(settingsId()), (std::vector<std::string>{"五班", "二班"}));
    EXPECT_EQ(selected(settingsId()), 0);
    EXPECT_EQ(title(), "Tallyra × Korvane [五班]");
    EXPECT_EQ(readRoster(folder.data(), "五班"), (ClassRoster{{"1"}, {"甲"}}));
    EXPECT_EQ(readRoster(folder.data(), "一班"), (ClassRoster{{"1", "2"}, {"甲", "乙"}}));
    EXPECT_EQ(rollCall.roster(), (ClassRoster{{"1"}, {"甲"}}));
}

TEST_F(SaveClassTest, SavingUnderACaseVariantOfItsOwnNameKeepsOneClass) {
    folder.prepare("A班,二班", "A班");
    folder.addRoster("A班", {{"1"}, {"甲"}});
    toolkit.click(id, shared::kCloseButton);
    toolkit.click(settingsId(), shared::kCloseButton);
    id = openClassManagement();
    save("a班", "1\t甲\r\n2\t乙\r\n");
    EXPECT_EQ(toolkit.messages, std::vector<Message>{kSaveDone});
    EXPECT_EQ(classList(), "a班,二班");
    EXPECT_EQ(current(), "a班");
    EXPECT_EQ(readRoster(folder.data(), "a班"), (ClassRoster{{"1", "2"}, {"甲", "乙"}}));
}

TEST_F(ClassManagementTest, AHandEditedClassNamingTheSettingsFileIsKeptButNeverWritten) {
    folder.prepare("config,一班", "一班");
    const WindowId id = openClassManagement();
    toolkit.choose(id, kClassBox, 0);
    EXPECT_EQ(toolkit.text(id, kRosterBox), ""); // read as an empty roster, nothing more
    const std::string settingsBefore = fileBytes(folder.data().settingsFile());
    toolkit.setText(id, kRosterBox, "1\t甲\r\n");
    toolkit.click(id, class_management_units::kSaveButton);
    EXPECT_EQ(toolkit.messages, std::vector<Message>{kClassNameInvalid});
    EXPECT_EQ(fileBytes(folder.data().settingsFile()), settingsBefore);

    toolkit.answers.push_back(MessageAnswer::Yes);
    toolkit.click(id, class_management_units::kDeleteButton);
    EXPECT_EQ(classList(), "一班");
    EXPECT_TRUE(std::filesystem::exists(toFsPath(folder.data().settingsFile())))
        << "deleting the class deleted the settings file";
}

TEST_F(SaveClassTest, RefusalsWriteNothing) {
    struct Case {
        std::string_view name, rows;
        Message refusal;
        std::optional<std::size_t> selectedLine = std::nullopt; // the first row refused, selected in the roster box
    };
    const Case cases[] = {
        {"", "1\t甲\r\n", kSaveNameEmpty},
        {"一班", "", kRosterTextEmpty},
        {"一班", "1 甲\r\n", kRosterTextWithoutTab},
        {"一班", "1\t甲,乙\r\n", kRosterRowInvalid, 0},
        {"一班", "1\t甲\r\n\r\n3\t丙,丁\r\n4\t戊,己\r\n", kRosterRowInvalid, 2},
        // A new name is held to the rules of an added one, before anything is written.
        {"五,班", "1\t甲\r\n", kClassNameWithComma},
        {"二班", "1\t甲\r\n", kClassNameTaken},
        {"CON.txt", "1\t甲\r\n", kClassNameInvalid},
        {"班 ", "1\t甲\r\n", kClassNameInvalid},
        {"二班", "1\t甲\r\n", kClassNameTaken},
        // Rows are checked before a new name is written; a roster that would not read back whole is refused.
        {"五班", "1\t甲\t多\r\n", kRosterRowInvalid, 0},
        {"一班", "1\t甲\r\n\t乙\r\n", kRosterRowInvalid, 1},
    };
    const std::string settingsBefore = fileBytes(folder.data().settingsFile());
    const std::string rosterBefore = fileBytes(folder.data().rosterFile("一班"));
    for (const Case& c : cases) {
        toolkit.messages.clear();
        toolkit.unit(id, class_management_units::kRosterBox).selectedLine.reset();
        save(c.name, c.rows);
        EXPECT_EQ(toolkit.messages, std::vector<Message>{c.refusal}) << c.name << " / " << c.rows;
        EXPECT_EQ(toolkit.text(id, class_management_units::kRosterBox), c.rows);
        EXPECT_EQ(toolkit.unit(id, class_management_units::kRosterBox).selectedLine, c.selectedLine) << c.rows;
        EXPECT_EQ(fileBytes(folder.data().settingsFile()), settingsBefore);
        EXPECT_EQ(fileBytes(folder.data().rosterFile("一班")), rosterBefore);
        EXPECT_EQ(items(id), (std::vector<std::string>{"一班", "二班"}));
    }
}

} // namespace
} // namespace tallyra::ui
