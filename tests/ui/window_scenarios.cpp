// The windows driven as a user drives them, through the driver of each toolkit:
// the roll call, the settings, adding and saving a class, the about window's links.
#include "tests/ui/window_scenarios.h"

#include "storage/roster.h"
#include "storage/settings.h"
#include "ui/windows/about_windows.h"
#include "ui/windows/class_management_window.h"
#include "ui/windows/main_window.h"
#include "ui/windows/settings_window.h"

#include <algorithm>

namespace tallyra::ui::testing {

namespace cm = class_management_units;
namespace st = settings_units;
using namespace main_units;

WindowId WindowScenarios::start() {
    windows = std::make_unique<WindowSet>(driver->toolkit(), rollCall, folder.data(), MainWindow::Services{});
    return windows->main().open();
}

TEST_P(WindowScenarios, StartRollsThroughTheStudentsAndStopSettlesOnTheOneShown) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"01", "02", "03"}, {"张三", "李四", "王五"}});
    const WindowId main = start();
    EXPECT_EQ(driver->text(main, shared::kTitle), "Tallyra × Korvane [一班]");

    driver->click(main, kStartStop);
    EXPECT_EQ(driver->text(main, kStartStop), "停止");
    const ClassRoster& roster = rollCall.roster();
    const auto shownNumber = [&] {
        return std::find(roster.numbers.begin(), roster.numbers.end(), driver->text(main, kNumber));
    };
    ASSERT_TRUE(driver->runTimerUntil(main, kRollTimer, [&] { return shownNumber() != roster.numbers.end(); }));
    driver->click(main, kStartStop);
    EXPECT_EQ(driver->text(main, kStartStop), "开始");

    const auto at = shownNumber();
    ASSERT_NE(at, roster.numbers.end()) << driver->text(main, kNumber);
    EXPECT_EQ(driver->text(main, kName), roster.names[static_cast<std::size_t>(at - roster.numbers.begin())]);
    EXPECT_EQ(rollCall.drawPool().size(), 2u);

    // A presenter remote's key starts and stops the same way, on its release.
    driver->toolkit().setText(main, kNumber, ""); // so that the next student shown is a tick's
    driver->pressKey(main, Key::PageDown);
    EXPECT_EQ(driver->text(main, kStartStop), "停止");
    ASSERT_TRUE(driver->runTimerUntil(main, kRollTimer, [&] { return shownNumber() != roster.numbers.end(); }));
    driver->pressKey(main, Key::PageDown);
    EXPECT_EQ(driver->text(main, kStartStop), "开始");
    EXPECT_EQ(rollCall.drawPool().size(), 1u);

    // Full screen fills the monitor, the keys still roll, and Escape gives back the exact rectangle.
    Toolkit& toolkit = driver->toolkit();
    const Rect windowed = toolkit.windowRect(main);
    driver->pressKey(main, Key::F11);
    EXPECT_EQ(toolkit.windowRect(main), toolkit.monitorRect(main));
    driver->pressKey(main, Key::PageDown);
    EXPECT_EQ(driver->text(main, kStartStop), "停止");
    driver->pressKey(main, Key::Escape);
    EXPECT_EQ(driver->text(main, kStartStop), "停止") << "Escape leaves full screen only";
    EXPECT_EQ(toolkit.windowRect(main), windowed);
    EXPECT_EQ(toolkit.unitRect(main, kName), (Rect{7, 147, 448, 136}));
    EXPECT_TRUE(driver->shownMessages().empty());
}

TEST_P(WindowScenarios, SettingsChooseTheClassAndSwitchTheVoice) {
    folder.prepare("一班,二班", "一班");
    folder.addRoster("一班", {{"1"}, {"甲"}});
    folder.addRoster("二班", {{"21", "22"}, {"丙", "丁"}});
    const WindowId main = start();
    driver->click(main, kSettingsButton);
    const WindowId settings = windows->settings()->id();
    EXPECT_TRUE(isVisible(settings));
    EXPECT_FALSE(isVisible(main));
    EXPECT_EQ(driver->toolkit().selectedItemText(settings, st::kClassBox), "一班");

    driver->choose(settings, st::kClassBox, 1);
    EXPECT_EQ(settings::currentClass(folder.data()), "二班");
    EXPECT_EQ(driver->text(main, shared::kTitle), "Tallyra × Korvane [二班]");
    EXPECT_EQ(rollCall.roster(), (ClassRoster{{"21", "22"}, {"丙", "丁"}}));

    driver->click(settings, st::kVoiceOn);
    EXPECT_TRUE(settings::voiceOn(folder.data()));
    EXPECT_TRUE(driver->toolkit().isChecked(settings, st::kVoiceOn));
    EXPECT_FALSE(driver->toolkit().isChecked(settings, st::kVoiceOff));
    driver->click(settings, st::kVoiceOff);
    EXPECT_FALSE(settings::voiceOn(folder.data()));
    EXPECT_FALSE(driver->toolkit().isChecked(settings, st::kVoiceOn));

    driver->click(settings, shared::kCloseButton);
    EXPECT_EQ(windows->settings(), nullptr);
    EXPECT_TRUE(isVisible(main));
    EXPECT_TRUE(driver->shownMessages().empty());
}

TEST_P(WindowScenarios, AClassIsAddedThroughTheInputBoxAndSavedFromTheTypedRoster) {
    folder.prepare("", "");
    const WindowId main = start();
    driver->click(main, kSettingsButton);
    driver->click(windows->settings()->id(), st::kClassManagementButton);
    const WindowId manager = windows->classManagement()->id();

    driver->answerNextInput("三班");
    driver->click(manager, cm::kAddButton);
    EXPECT_EQ(driver->askedInputs(), std::vector<std::string>{std::string(kAddClassTitle)});
    EXPECT_EQ(settings::classList(folder.data()), "三班");
    EXPECT_EQ(driver->toolkit().selectedItemText(manager, cm::kClassBox), "三班");

    driver->type(manager, cm::kRosterBox, "1 甲\r\n");
    driver->click(manager, cm::kSaveButton);
    driver->type(manager, cm::kRosterBox, "1\t甲\r\n2\t乙\r\n");
    driver->click(manager, cm::kSaveButton);
    EXPECT_EQ(driver->shownMessages(), (std::vector<ShownMessage>{shown(kRosterTextWithoutTab), shown(kSaveDone)}));
    EXPECT_EQ(readRoster(folder.data(), "三班"), (ClassRoster{{"1", "2"}, {"甲", "乙"}}));
    EXPECT_EQ(driver->text(main, shared::kTitle), "Tallyra × Korvane [三班]");
}

TEST_P(WindowScenarios, TheAboutWindowsLinksOpenTheChangelogAndOfferSupport) {
    folder.prepare("", "");
    const WindowId main = start();
    driver->click(main, kSettingsButton);
    driver->click(windows->settings()->id(), st::kAboutButton);
    const WindowId about = windows->about()->id();

    driver->pressLink(about, about_units::kChangelogLink);
    ASSERT_NE(windows->changelog(), nullptr);
    const WindowId changelog = windows->changelog()->id();
    EXPECT_TRUE(isVisible(changelog));
    EXPECT_FALSE(isVisible(about));
    EXPECT_TRUE(
        driver->text(changelog, about_units::kChangelogBox).starts_with("Version 1.0.3.200309\r\n代码优化\r\n"));
    driver->pressKey(changelog, Key::Escape); // as its × does
    EXPECT_EQ(windows->changelog(), nullptr);
    EXPECT_TRUE(isVisible(about));

    driver->answerNextMessage(MessageAnswer::Cancel);
    driver->pressLink(about, about_units::kSupportLink);
    EXPECT_EQ(driver->shownMessages(), (std::vector<ShownMessage>{shown(kSupportQuestion), shown(kSupportThanks)}));
    EXPECT_TRUE(isVisible(about));
    EXPECT_EQ(windows->support(), nullptr);
}

} // namespace tallyra::ui::testing
