// The windows driven as a user drives them, through the driver of each toolkit:
// the roll call, the settings, adding and saving a class, the about window's links.
#include "tests/ui/window_scenarios.h"

#include "storage/roster.h"
#include "ui/about_windows.h"
#include "ui/class_management_window.h"
#include "ui/settings_window.h"

#include <algorithm>

namespace tallyra::ui::testing {

WindowId WindowScenarios::start() {
    windows = std::make_unique<WindowSet>(driver->toolkit(), rollCall, MainWindow::Services{});
    return windows->main().open();
}

TEST_P(WindowScenarios, StartRollsThroughTheStudentsAndStopSettlesOnTheOneShown) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"01", "02", "03"}, {"张三", "李四", "王五"}});
    const WindowId main = start();
    EXPECT_EQ(driver->text(main, "Tallyra"), "Tallyra × Korvane [一班]");

    driver->click(main, "开始按钮");
    EXPECT_EQ(driver->text(main, "开始按钮"), "停止");
    const ClassRoster& roster = rollCall.roster();
    const auto shownNumber = [&] {
        return std::find(roster.numbers.begin(), roster.numbers.end(), driver->text(main, "学号"));
    };
    ASSERT_TRUE(driver->runTimerUntil(main, "时钟1", [&] { return shownNumber() != roster.numbers.end(); }));
    driver->click(main, "开始按钮");
    EXPECT_EQ(driver->text(main, "开始按钮"), "开始");

    const auto at = shownNumber();
    ASSERT_NE(at, roster.numbers.end()) << driver->text(main, "学号");
    EXPECT_EQ(driver->text(main, "姓名"), roster.names[static_cast<std::size_t>(at - roster.numbers.begin())]);
    EXPECT_EQ(rollCall.drawPool().size(), 2u);
    EXPECT_TRUE(driver->shownMessages().empty());
}

TEST_P(WindowScenarios, SettingsChooseTheClassAndSwitchTheVoice) {
    folder.prepare("一班,二班", "一班");
    folder.addRoster("一班", {{"1"}, {"甲"}});
    folder.addRoster("二班", {{"21", "22"}, {"丙", "丁"}});
    const WindowId main = start();
    driver->click(main, "其他");
    const WindowId settings = windows->settings()->id();
    EXPECT_TRUE(isVisible(settings));
    EXPECT_FALSE(isVisible(main));
    EXPECT_EQ(driver->toolkit().selectedItemText(settings, kClassBox), "一班");

    driver->choose(settings, kClassBox, 1);
    EXPECT_EQ(readIniItem(settingsFilePath(), kClassSection, kDefaultKey), "二班");
    EXPECT_EQ(driver->text(main, "Tallyra"), "Tallyra × Korvane [二班]");
    EXPECT_EQ(rollCall.roster(), (ClassRoster{{"21", "22"}, {"丙", "丁"}}));

    driver->click(settings, "语音_开启");
    EXPECT_EQ(readIniItem(settingsFilePath(), kSettingsSection, kVoiceKey), "True");
    EXPECT_TRUE(driver->toolkit().isChecked(settings, "语音_开启"));
    EXPECT_FALSE(driver->toolkit().isChecked(settings, "语音_关闭"));
    driver->click(settings, "语音_关闭");
    EXPECT_EQ(readIniItem(settingsFilePath(), kSettingsSection, kVoiceKey), "False");
    EXPECT_FALSE(driver->toolkit().isChecked(settings, "语音_开启"));

    driver->click(settings, "关闭");
    EXPECT_EQ(windows->settings(), nullptr);
    EXPECT_TRUE(isVisible(main));
    EXPECT_TRUE(driver->shownMessages().empty());
}

TEST_P(WindowScenarios, AClassIsAddedThroughTheInputBoxAndSavedFromTheTypedRoster) {
    folder.prepare("", "");
    const WindowId main = start();
    driver->click(main, "其他");
    driver->click(windows->settings()->id(), "开始按钮");
    const WindowId manager = windows->classManagement()->id();

    driver->answerNextInput("三班");
    driver->click(manager, "其他");
    EXPECT_EQ(driver->askedInputs(), std::vector<std::string>{std::string(kAddClassTitle)});
    EXPECT_EQ(readIniItem(settingsFilePath(), kClassSection, kClassNameKey), "三班");
    EXPECT_EQ(driver->toolkit().selectedItemText(manager, kClassBox), "三班");

    driver->type(manager, "编辑框1", "1 甲\r\n");
    driver->click(manager, "保存");
    driver->type(manager, "编辑框1", "1\t甲\r\n2\t乙\r\n");
    driver->click(manager, "保存");
    EXPECT_EQ(driver->shownMessages(), (std::vector<ShownMessage>{shown(kRosterTextWithoutTab), shown(kSaveDone)}));
    EXPECT_EQ(readRoster("三班"), (ClassRoster{{"1", "2"}, {"甲", "乙"}}));
    EXPECT_EQ(driver->text(main, "Tallyra"), "Tallyra × Korvane [三班]");
}

TEST_P(WindowScenarios, TheAboutWindowsLinksOpenTheChangelogAndOfferSupport) {
    folder.prepare("", "");
    const WindowId main = start();
    driver->click(main, "其他");
    driver->click(windows->settings()->id(), "开始按钮1");
    const WindowId about = windows->about()->id();

    driver->pressLink(about, "超级链接框3");
    ASSERT_NE(windows->changelog(), nullptr);
    const WindowId changelog = windows->changelog()->id();
    EXPECT_TRUE(isVisible(changelog));
    EXPECT_FALSE(isVisible(about));
    EXPECT_TRUE(driver->text(changelog, "编辑框1").starts_with("Version 1.0.3.200309\r\n代码优化\r\n"));
    driver->click(changelog, "关闭");
    EXPECT_TRUE(isVisible(about));

    driver->answerNextMessage(MessageAnswer::Cancel);
    driver->pressLink(about, "超级链接框4");
    EXPECT_EQ(driver->shownMessages(), (std::vector<ShownMessage>{shown(kSupportQuestion), shown(kSupportThanks)}));
    EXPECT_TRUE(isVisible(about));
    EXPECT_EQ(windows->support(), nullptr);
}

} // namespace tallyra::ui::testing
