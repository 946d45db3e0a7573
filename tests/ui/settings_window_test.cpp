// The settings window on the in-memory toolkit: the class list and current class
// on opening, the class choice, the speech switch, the update notice, navigation.
#include "storage/platform/file_system.h"
#include "tests/ui/window_fixture.h"

namespace tallyra::ui {
namespace {

using testing::WindowFixture;
using SettingsWindowTest = WindowFixture;

TEST_F(SettingsWindowTest, OpeningShowsTheClassesAndTheCurrentOne) {
    struct Case {
        std::string_view classList, current;
        std::vector<std::string> items;
        int selected;
        std::string currentAfter; // Default after opening
        std::string title;        // the main window's title after opening
    };
    const Case cases[] = {
        {"", "", {}, -1, "", "Tallyra × Korvane"},
        // One class is shown selected whatever Default holds, and nothing is written.
        {"一班", "", {"一班"}, 0, "", "Tallyra × Korvane"},
        {"一班", "旧班", {"一班"}, 0, "旧班", "Tallyra × Korvane [旧班]"},
        {"一班,二班,三班", "二班", {"一班", "二班", "三班"}, 1, "二班", "Tallyra × Korvane [二班]"},
        // Several classes and none current: the first one becomes current.
        {"一班,二班,三班", "", {"一班", "二班", "三班"}, 0, "一班", "Tallyra × Korvane [一班]"},
        {"一班,二班,三班", "已删", {"一班", "二班", "三班"}, 0, "一班", "Tallyra × Korvane [一班]"},
    };
    for (const Case& c : cases) {
        tallyra::testing::ProgramFolder caseFolder;
        caseFolder.prepare(c.classList, c.current);
        caseFolder.addRoster("一班", {{"1", "2"}, {"甲", "乙"}});
        testing::MemoryToolkit caseToolkit;
        RollCall caseRollCall;
        WindowSet caseWindows(caseToolkit, caseRollCall, caseFolder.data(), {});
        caseWindows.main().open();
        caseToolkit.click(caseWindows.main().id(), main_units::kSettingsButton);
        const WindowId settings = caseWindows.settings()->id();
        SCOPED_TRACE(std::string(c.classList) + " / " + std::string(c.current));
        EXPECT_EQ(caseToolkit.unit(settings, kClassBox).items, c.items);
        EXPECT_EQ(caseToolkit.selection(settings, kClassBox), c.selected);
        EXPECT_EQ(readIniItem(caseFolder.data().settingsFile(), kClassSection, kDefaultKey), c.currentAfter);
        EXPECT_EQ(caseToolkit.text(caseWindows.main().id(), shared::kTitle), c.title);
        EXPECT_FALSE(caseToolkit.isWindowVisible(caseWindows.main().id()));
        EXPECT_TRUE(caseToolkit.messages.empty());
    }
}

// A hand-edited list may hold a class with an empty name: where it is chosen, and
// where another class is renamed while it is current, the title names it "[]".
TEST_F(SettingsWindowTest, AClassWithAnEmptyNameIsNamedInTheTitleWithEmptyBrackets) {
    folder.prepare("一班,,二班", "一班");
    toolkit.choose(openSettings(), kClassBox, 1);
    EXPECT_EQ(current(), "");
    EXPECT_EQ(title(), "Tallyra × Korvane []");
    const WindowId management = openClassManagement();
    toolkit.choose(management, kClassBox, 2);
    toolkit.setText(management, class_management_units::kNameBox, "三班");
    toolkit.setText(management, class_management_units::kRosterBox, "1\t甲\r\n");
    toolkit.click(management, class_management_units::kSaveButton);
    EXPECT_EQ(classList(), "一班,,三班");
    EXPECT_EQ(title(), "Tallyra × Korvane []");
}

TEST_F(SettingsWindowTest, VoiceRadioBoxesMirrorAndWriteTheSwitch) {
    struct Case {
        std::string_view voice;
        bool on;
    };
    for (const Case& c : {Case{"True", true}, Case{"true", false}, Case{"False", false}, Case{"", false}}) {
        folder.prepare("", "", c.voice);
        windows.reset();
        const WindowId settings = openSettings();
        EXPECT_EQ(toolkit.isChecked(settings, settings_units::kVoiceOn), c.on) << c.voice;
        EXPECT_EQ(toolkit.isChecked(settings, settings_units::kVoiceOff), !c.on) << c.voice;
        toolkit.click(settings, shared::kCloseButton);
    }
    const WindowId settings = openSettings();
    toolkit.click(settings, settings_units::kVoiceOn);
    EXPECT_EQ(setting(kSettingsSection, kVoiceKey), "True");
    EXPECT_FALSE(toolkit.isChecked(settings, settings_units::kVoiceOff));
    toolkit.click(settings, settings_units::kVoiceOff);
    EXPECT_EQ(setting(kSettingsSection, kVoiceKey), "False");
}

TEST_F(SettingsWindowTest, FailedWritesAreReportedAndTheBoxesShowWhatIsStored) {
    folder.prepare("一班,二班", "一班");
    folder.addRoster("一班", {{"1"}, {"甲"}});
    folder.addRoster("二班", {{"2"}, {"乙"}});
    const WindowId settings = openSettings();
    platform::setReplaceFailureHook([](const FilePath&) { return true; });
    toolkit.click(settings, settings_units::kVoiceOn);
    toolkit.choose(settings, kClassBox, 1);
    platform::setReplaceFailureHook({});
    EXPECT_EQ(toolkit.messages, (std::vector<Message>{kDataNotSaved, kDataNotSaved}));
    EXPECT_FALSE(toolkit.isChecked(settings, settings_units::kVoiceOn));
    EXPECT_TRUE(toolkit.isChecked(settings, settings_units::kVoiceOff));
    EXPECT_EQ(current(), "一班");
    EXPECT_EQ(title(), "Tallyra × Korvane [一班]");
    EXPECT_EQ(rollCall.roster(), (ClassRoster{{"1"}, {"甲"}}));
}

TEST_F(SettingsWindowTest, ChoosingAClassMakesItCurrentEvenWhileTheMainWindowRolls) {
    folder.prepare("一班,二班", "一班");
    folder.addRoster("一班", {{"1", "2"}, {"甲", "乙"}});
    folder.addRoster("二班", {{"21", "22", "23"}, {"丙", "丁", "戊"}});
    startProgram();
    toolkit.click(mainId(), main_units::kStartStop);
    toolkit.tick(mainId(), main_units::kRollTimer);
    const WindowId settings = openSettings();

    toolkit.choose(settings, kClassBox, 1);
    EXPECT_EQ(current(), "二班");
    EXPECT_EQ(title(), "Tallyra × Korvane [二班]");
    EXPECT_EQ(toolkit.text(mainId(), main_units::kNumber), "");
    EXPECT_EQ(toolkit.text(mainId(), main_units::kName), "");
    EXPECT_EQ(rollCall.roster().numbers, (std::vector<std::string>{"21", "22", "23"}));
    EXPECT_EQ(rollCall.drawPool().size(), 3u);
    EXPECT_TRUE(toolkit.tick(mainId(), main_units::kRollTimer))
        << "the hidden main window keeps rolling over the new class";
    EXPECT_EQ(toolkit.text(mainId(), main_units::kNumber).substr(0, 1), "2");

    // Setting the selection from code chooses nothing.
    toolkit.setSelection(settings, kClassBox, 0);
    EXPECT_EQ(current(), "二班");
}

TEST_F(SettingsWindowTest, ChoosingTheCurrentClassAgainKeepsItsRoundUnlessTheSwitchAsksForAFreshOne) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1", "2"}, {"甲", "乙"}});
    startProgram();
    toolkit.click(mainId(), main_units::kStartStop);
    toolkit.tick(mainId(), main_units::kRollTimer);
    toolkit.click(mainId(), main_units::kStartStop);
    ASSERT_EQ(rollCall.drawPool().size(), 1u);
    const WindowId settings = openSettings();
    toolkit.choose(settings, kClassBox, 0);
    EXPECT_EQ(rollCall.drawPool().size(), 1u);
    ASSERT_TRUE(settings::setNewRoundEachStart(folder.data(), true));
    toolkit.choose(settings, kClassBox, 0);
    EXPECT_EQ(rollCall.drawPool().size(), 2u);
}

TEST_F(SettingsWindowTest, UpdateNoticeOpensTheBrowserOnlyOnOk) {
    folder.prepare("", "");
    const WindowId settings = openSettings();
    toolkit.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    toolkit.click(settings, settings_units::kUpdateButton);
    EXPECT_TRUE(toolkit.openedAddresses.empty());
    toolkit.click(settings, settings_units::kUpdateButton);
    EXPECT_EQ(toolkit.messages, (std::vector<Message>{kUpdateNotice, kUpdateNotice}));
    EXPECT_EQ(toolkit.openedAddresses, (std::vector<std::string>{std::string(kUpdatePageAddress)}));
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"SettingsWindow"}));
    // Without a browser it says so, with the address.
    toolkit.systemOpens = false;
    toolkit.answers = {MessageAnswer::Ok};
    toolkit.click(settings, settings_units::kUpdateButton);
    EXPECT_EQ(toolkit.messages.back(), (Message{"无法打开", updatePageNotOpenedText(), kWarningOk}));
    EXPECT_NE(toolkit.messages.back().text.find(kUpdatePageAddress), std::string_view::npos);
}

TEST_F(SettingsWindowTest, OneWindowIsVisibleAtATimeHoweverAWindowCloses) {
    folder.prepare("", "");
    const WindowId settings = openSettings();
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"SettingsWindow"}));
    toolkit.click(settings, settings_units::kClassManagementButton);
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"ClassManagementWindow"}));
    // Closed from the taskbar rather than its close button: its opener shows again.
    toolkit.destroyWindow(windows->classManagement()->id());
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"SettingsWindow"}));
    toolkit.click(settings, settings_units::kAboutButton);
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"AboutWindow"}));
    toolkit.destroyWindow(windows->about()->id());
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"SettingsWindow"}));
    toolkit.destroyWindow(settings);
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"MainWindow"}));
    EXPECT_FALSE(toolkit.exitCode) << "closing a secondary window never ends the program";
    toolkit.click(openSettings(), shared::kCloseButton);
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"MainWindow"}));

    // A second request while a window is open (a double click) opens no second copy.
    const WindowId again = openSettings();
    windows->openSettings();
    windows->openClassManagement();
    windows->openClassManagement();
    EXPECT_EQ(windows->settings()->id(), again);
    EXPECT_EQ(std::count(toolkit.log.begin(), toolkit.log.end(), "open:ClassManagementWindow"), 2);
    EXPECT_EQ(std::count(toolkit.log.begin(), toolkit.log.end(), "open:SettingsWindow"), 3);
}

} // namespace
} // namespace tallyra::ui
