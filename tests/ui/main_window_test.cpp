// The main window driven through the in-memory toolkit: start-up order, title,
// Start/Stop and round end, navigation, DPI rescaling.
#include "tests/support/program_folder.h"
#include "tests/ui/memory_toolkit.h"
#include "ui/kit/dpi.h"
#include "ui/windows/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

namespace tallyra::ui {
namespace {

using tallyra::testing::ProgramFolder;
using testing::MemoryToolkit;

class MainWindowTest : public ::testing::Test {
protected:
    WindowId start() {
        session = std::make_unique<ClassSession>(rollCall, toolkit, data);
        window = std::make_unique<MainWindow>(toolkit, *session, services);
        return window->open();
    }

    std::string label(std::string_view unit) { return toolkit.text(window->id(), unit); }
    void press() { toolkit.click(window->id(), main_units::kStartStop); }
    bool tick() { return toolkit.tick(window->id(), main_units::kRollTimer); }

    ProgramFolder folder;
    DataFolder data = folder.data();
    MemoryToolkit toolkit;
    RollCall rollCall;
    MainWindow::Services services;
    std::unique_ptr<ClassSession> session;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, FirstStartWarnsAboutTheFontBeforeTheFirstRunNoticeAndChecksVoicesAfterIt) {
    toolkit.installedFonts.clear();
    services.checkVoices = [this](MessageBoxes&) { toolkit.log.push_back("voice-check"); };
    start();

    std::vector<std::string> order;
    for (const std::string& entry : toolkit.log)
        if (entry != "open:MainWindow") order.push_back(entry);
    EXPECT_EQ(order, (std::vector<std::string>{"dpi-aware", "message:字体未安装", "message:首次运行", "voice-check"}));
    EXPECT_EQ(toolkit.messages.front(), kFontMissingWarning);
    EXPECT_EQ(readIniItem(folder.data().settingsFile(), kSettingsSection, kFirstKey), "False");
    EXPECT_TRUE(toolkit.isWindowVisible(window->id()));
}

TEST_F(MainWindowTest, TitleNamesTheCurrentClassOnlyWhenThereIsOne) {
    struct Case {
        std::string_view classList, current, expected;
    };
    const Case cases[] = {
        {"", "", "Tallyra × Korvane"},
        {"一班,二班", "二班", "Tallyra × Korvane [二班]"},
        {"一班", "", "Tallyra × Korvane"},
    };
    for (const Case& c : cases) {
        ProgramFolder caseFolder;
        caseFolder.prepare(c.classList, c.current);
        MemoryToolkit caseToolkit;
        RollCall caseRollCall;
        const DataFolder caseData = caseFolder.data();
        ClassSession caseSession(caseRollCall, caseToolkit, caseData);
        MainWindow caseWindow(caseToolkit, caseSession, {});
        const WindowId id = caseWindow.open();
        EXPECT_EQ(caseToolkit.text(id, shared::kTitle), c.expected);
        EXPECT_TRUE(caseToolkit.messages.empty()) << "no message at start-up for " << c.expected;
    }
}

TEST_F(MainWindowTest, StartStopDrawsEveryStudentOnceThenOffersANewRound) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"01", "02", "03"}, {"张三", "李四", "王五"}});
    start();
    ASSERT_EQ(label(main_units::kStartStop), "开始");
    EXPECT_EQ(toolkit.unit(window->id(), main_units::kRollTimer).interval, 0);

    std::set<std::string> drawn;
    for (int round = 0; round < 3; ++round) {
        press();
        EXPECT_EQ(label(main_units::kStartStop), "停止");
        EXPECT_EQ(toolkit.unit(window->id(), main_units::kRollTimer).interval, 10);
        for (int i = 0; i < 5; ++i)
            ASSERT_TRUE(tick());
        press();
        EXPECT_EQ(label(main_units::kStartStop), "开始");
        EXPECT_FALSE(tick()) << "the timer stops with the roll";
        drawn.insert(label(main_units::kNumber) + label(main_units::kName));
    }
    EXPECT_EQ(drawn, (std::set<std::string>{"01张三", "02李四", "03王五"}));
    EXPECT_TRUE(toolkit.messages.empty());

    toolkit.answers.push_back(MessageAnswer::No);
    press();
    ASSERT_EQ(toolkit.messages.size(), 1u);
    EXPECT_EQ(toolkit.messages.back(), kRoundOverQuestion);
    EXPECT_EQ(label(main_units::kStartStop), "开始");

    toolkit.answers.push_back(MessageAnswer::Yes);
    press();
    EXPECT_EQ(label(main_units::kStartStop), "停止");
    EXPECT_EQ(rollCall.drawPool().size(), 3u);

    // The timer is set only when its interval changes: setting it again would restart its count.
    const auto timerCalls = [&] {
        return std::count_if(toolkit.log.begin(), toolkit.log.end(),
                             [](const std::string& e) { return e.starts_with("timer:"); });
    };
    EXPECT_EQ(timerCalls(), 7); // start and stop of three rounds, and this start
    window->setTimerInterval(10);
    EXPECT_EQ(timerCalls(), 7);
}

TEST_F(MainWindowTest, StartStopKeysActOnReleaseOncePerPress) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"01", "02"}, {"张三", "李四"}});
    start();
    const auto stroke = [&](Key key, int repeats = 0) {
        toolkit.key(window->id(), key, KeyAction::Pressed);
        for (int i = 0; i < repeats; ++i)
            toolkit.key(window->id(), key, KeyAction::Repeated);
        toolkit.key(window->id(), key, KeyAction::Released);
    };
    for (Key key : {Key::Space, Key::Enter, Key::PageDown, Key::PageUp, Key::Left, Key::Up, Key::Right, Key::Down}) {
        SCOPED_TRACE(static_cast<int>(key));
        toolkit.key(window->id(), key, KeyAction::Pressed);
        EXPECT_EQ(label(main_units::kStartStop), "开始") << "nothing happens before the release";
        toolkit.key(window->id(), key, KeyAction::Repeated);
        toolkit.key(window->id(), key, KeyAction::Released);
        EXPECT_EQ(label(main_units::kStartStop), "停止");
        ASSERT_TRUE(tick());
        stroke(key, 5); // held down: still one press
        EXPECT_EQ(label(main_units::kStartStop), "开始");
        if (rollCall.drawPool().empty()) rollCall.loadRoster(readRoster(folder.data(), "一班"));
    }
    stroke(Key::Other);
    EXPECT_EQ(label(main_units::kStartStop), "开始");
    EXPECT_TRUE(toolkit.messages.empty());
}

TEST_F(MainWindowTest, TheKeyThatAnsweredAQuestionStartsNothingWhenReleased) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"01"}, {"张三"}});
    start();
    const auto stroke = [&](Key key) {
        toolkit.key(window->id(), key, KeyAction::Pressed);
        toolkit.key(window->id(), key, KeyAction::Released);
    };
    stroke(Key::Space);
    tick();
    stroke(Key::Space); // the only student is drawn
    // The round-end question is answered with Enter in the box; the box gets the
    // key going down, the main window then sees only its release.
    toolkit.answers.push_back(MessageAnswer::Yes);
    stroke(Key::Space);
    ASSERT_EQ(toolkit.messages, std::vector<Message>{kRoundOverQuestion});
    EXPECT_EQ(label(main_units::kStartStop), "停止");
    toolkit.key(window->id(), Key::Enter, KeyAction::Released);
    EXPECT_EQ(label(main_units::kStartStop), "停止") << "the release of the answering key stopped the new roll";

    // Answered No: the roll call stays idle, and a held key does not ask again.
    stroke(Key::Space);
    toolkit.answers.push_back(MessageAnswer::No);
    toolkit.key(window->id(), Key::Down, KeyAction::Pressed);
    for (int i = 0; i < 10; ++i)
        toolkit.key(window->id(), Key::Down, KeyAction::Repeated);
    toolkit.key(window->id(), Key::Down, KeyAction::Released);
    EXPECT_EQ(toolkit.messages.size(), 2u);
    EXPECT_EQ(label(main_units::kStartStop), "开始");
}

// (F11, Escape and the roll-call keys in full screen: the window scenarios.)
TEST_F(MainWindowTest, FullScreenFromTheMenuOrADoubleClickAndBackToEveryUnitAsItWas) {
    folder.prepare("", "");
    toolkit.screen = {1920, 1080};
    start();
    const WindowId id = window->id();
    const auto before = toolkit.window(id).units;
    for (const auto& enter :
         std::initializer_list<std::function<void()>>{[&] { ASSERT_TRUE(toolkit.chooseMenuItem(id, "全屏显示\tF11")); },
                                                      [&] { toolkit.doubleClick(id, main_units::kName); }}) {
        enter();
        EXPECT_EQ(toolkit.windowRect(id), (Rect{0, 0, 1920, 1080}));
        EXPECT_EQ(toolkit.unit(id, main_units::kNumber).fit, TextFit::Fill);
        ASSERT_TRUE(toolkit.chooseMenuItem(id, "退出全屏\tEsc"));
        for (const auto& [name, unit] : toolkit.window(id).units)
            EXPECT_TRUE(unit.rect == before.at(name).rect && unit.visible == before.at(name).visible &&
                        unit.fit == before.at(name).fit)
                << name;
    }
}

TEST_F(MainWindowTest, HotKeyFloatsAndStartsThenStopsThenPutsTheWindowBack) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"01"}, {"张三"}});
    bool secondaryOpen = false;
    services.anotherWindowOpen = [&] { return secondaryOpen; };
    start();
    const WindowId id = window->id();
    ASSERT_EQ(toolkit.window(id).hotKey, kDefaultHotKey);
    const auto cycle = [&] {
        ASSERT_TRUE(toolkit.pressHotKey(id));
        EXPECT_TRUE(toolkit.window(id).floating);
        EXPECT_EQ(label(main_units::kStartStop), "停止");
        tick();
        toolkit.pressHotKey(id);
        EXPECT_EQ(label(main_units::kStartStop), "开始");
        EXPECT_TRUE(toolkit.window(id).floating);
        toolkit.pressHotKey(id);
        EXPECT_FALSE(toolkit.window(id).floating);
    };
    cycle();
    EXPECT_EQ(label(main_units::kName), "张三");
    // The round is over: the question the next hot key brings up is answered from the remote too.
    toolkit.answers.push_back(MessageAnswer::Yes);
    cycle();
    EXPECT_EQ(toolkit.remoteQuestions, 1);
    // A click asks it the usual way.
    toolkit.answers.push_back(MessageAnswer::No);
    press();
    EXPECT_EQ(toolkit.remoteQuestions, 1);
    EXPECT_EQ(toolkit.messages.size(), 2u);
    secondaryOpen = true;
    toolkit.pressHotKey(id);
    EXPECT_FALSE(toolkit.window(id).floating);
}

TEST_F(MainWindowTest, HotKeyTakenIsToldOnceAndCanBeChangedFromTheMenu) {
    folder.prepare("一班", "一班");
    toolkit.takenHotKeys = {kDefaultHotKey, {0x77, kControl}};
    start();
    const WindowId id = window->id();
    ASSERT_EQ(toolkit.messages.size(), 1u);
    EXPECT_EQ(toolkit.messages[0].title, kHotKeyUnavailable);
    struct Case {
        HotKey stroke;
        std::string_view message; // empty: taken
        HotKey expected;
    };
    const Case cases[] = {
        {{'B'}, kHotKeyForbidden.text, kDefaultHotKey},          // a slide show's key
        {{0x74, kShift}, kHotKeyForbidden.text, kDefaultHotKey}, // Shift+F5
        {{0x77, kControl}, "Ctrl+F8 已被其他程序占用，请换一个键。", kDefaultHotKey},
        {{0x1B}, "", kDefaultHotKey}, // Escape cancels
        {{0x77, kControl | kAlt}, "", {0x77, kControl | kAlt}},
    };
    for (const Case& c : cases) {
        toolkit.messages.clear();
        ASSERT_TRUE(toolkit.chooseMenuItem(id, "更换全局热键（F9 已被其他程序占用）…"));
        EXPECT_EQ(label(shared::kTitle), kHotKeyPrompt);
        toolkit.stroke(id, {0x11, kControl}); // Ctrl alone: the key is still to come
        toolkit.stroke(id, c.stroke);
        EXPECT_EQ(label(shared::kTitle), "Tallyra × Korvane [一班]");
        EXPECT_EQ(toolkit.messages.empty() ? "" : toolkit.messages[0].text, c.message);
        EXPECT_EQ(window->hotKey(), c.expected);
    }
    EXPECT_EQ(toolkit.window(id).hotKey, (HotKey{0x77, kControl | kAlt}));
    EXPECT_EQ(readIniItem(folder.data().settingsFile(), kSettingsSection, kHotKeyKey), "Ctrl+Alt+F8");
    window.reset();
    start(); // the key kept is the key taken
    EXPECT_EQ(toolkit.window(window->id()).hotKey, (HotKey{0x77, kControl | kAlt}));
}

TEST(HotKeyNames, ReadBackAndRefuseWhatSlideShowsAndTypingNeed) {
    struct Case {
        std::string_view name;
        bool forbidden;
    };
    const Case cases[] = {
        {"F9", false},      {"Ctrl+Alt+F8", false}, {"Ctrl+Alt+R", false}, {"Pause", false},  {"Ctrl+F5", false},
        {"F5", true},       {"Shift+F5", true},     {"R", true},           {"Shift+7", true}, {".", true},
        {"PageDown", true}, {"Ctrl+Esc", true},     {"F11", true},         {"Menu", true},   {"F10", true}};
    for (const Case& c : cases) {
        const std::optional<HotKey> key = parseHotKey(c.name);
        ASSERT_TRUE(key) << c.name;
        EXPECT_EQ(hotKeyName(*key), c.name);
        EXPECT_EQ(isForbiddenHotKey(*key), c.forbidden) << c.name;
    }
    for (std::string_view bad : {"", "Ctrl+", "F25", "Ctrl+Ctrl+F9", "Hyper+F9", "f9"})
        EXPECT_FALSE(parseHotKey(bad)) << bad;
    // The keys a window is told about, from the same names.
    const std::pair<std::string_view, Key> windowKeys[] = {
        {"Space", Key::Space}, {"Enter", Key::Enter}, {"PageDown", Key::PageDown}, {"PageUp", Key::PageUp},
        {"Left", Key::Left},   {"Down", Key::Down},   {"Esc", Key::Escape},        {"F11", Key::F11},
        {"F9", Key::Other},    {"A", Key::Other},     {"Delete", Key::Other}};
    for (const auto& [name, key] : windowKeys)
        EXPECT_EQ(keyOf(parseHotKey(name)->key), key) << name;
}

TEST_F(MainWindowTest, StartWithoutStudentsShowsTheDataErrorAndStaysIdle) {
    folder.prepare("空班", "空班");
    folder.addRoster("空班", {});
    start();
    press();
    ASSERT_EQ(toolkit.messages.size(), 1u);
    EXPECT_EQ(toolkit.messages.front(), kNoStudentsMessage);
    EXPECT_EQ(label(main_units::kStartStop), "开始");
    EXPECT_EQ(toolkit.unit(window->id(), main_units::kRollTimer).interval, 0);
}

TEST_F(MainWindowTest, TheNumberFontShrinksWithLongNumbers) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"20240101"}, {"张三"}});
    start();
    EXPECT_EQ(toolkit.unit(window->id(), main_units::kNumber).charHeight, 133);
    press();
    tick();
    EXPECT_EQ(label(main_units::kNumber), "20240101");
    EXPECT_EQ(toolkit.unit(window->id(), main_units::kNumber).charHeight, 93); // 70 points at 96 pixels per inch
    EXPECT_EQ(toolkit.unit(window->id(), main_units::kName).charHeight, 107);
}

TEST_F(MainWindowTest, SettingsButtonHidesTheWindowWhileTheRollGoesOn) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1", "2"}, {"甲", "乙"}});
    int settingsOpened = 0;
    services.openSettings = [&] { ++settingsOpened; };
    start();
    press();
    toolkit.click(window->id(), main_units::kSettingsButton);
    EXPECT_FALSE(toolkit.isWindowVisible(window->id()));
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_TRUE(tick()) << "a hidden main window keeps rolling";
    window->show();
    press();
    EXPECT_EQ(rollCall.drawPool().size(), 1u);
}

TEST_F(MainWindowTest, MinimiseAndCloseButtons) {
    start();
    toolkit.click(window->id(), shared::kMinimiseButton);
    EXPECT_TRUE(toolkit.window(window->id()).minimised);
    EXPECT_FALSE(toolkit.exitCode);
    toolkit.click(window->id(), shared::kCloseButton);
    EXPECT_TRUE(toolkit.window(window->id()).destroyed);
    EXPECT_EQ(toolkit.exitCode, 0);
}

TEST_F(MainWindowTest, At96DpiTheWindowIsCentredAndNothingIsRescaled) {
    start();
    EXPECT_EQ(toolkit.windowRect(window->id()), (Rect{282, 167, 460, 434}));
    for (const UnitDesign& design : kMainWindowDesign.units) {
        const auto& unit = toolkit.unit(window->id(), design.name);
        EXPECT_EQ(unit.rect, design.rect) << design.name;
        EXPECT_EQ(unit.charHeight, design.font.charHeight) << design.name;
    }
}

TEST_F(MainWindowTest, At144DpiTheWindowAndItsFontsGrowByHalf) {
    toolkit.pixelsPerInch = 144;
    toolkit.screen = {1920, 1080};
    start();
    const WindowId id = window->id();
    EXPECT_EQ(toolkit.windowRect(id), (Rect{615, 214, 690, 651}));
    struct Expected {
        std::string_view unit;
        Rect rect;
        int charHeight;
    };
    const Expected expected[] = {
        {shared::kTitle, {13, 6, 514, 36}, 22},          // 11 points
        {shared::kMinimiseButton, {541, 0, 75, 48}, 22}, // 11 points
        {shared::kCloseButton, {615, 0, 75, 48}, 30},    // 15 points
        {main_units::kStartStop, {1, 1, 248, 106}, 36},  // 18 points
        {main_units::kSettingsButton, {1, 1, 248, 106}, 36},
        {shared::kContent, {1, 48, 687, 601}, 0},
        {main_units::kStartStopFrame, {90, 456, 250, 108}, 0}, // 73 × 1.5 − 1
        {main_units::kNumber, {10, 45, 672, 168}, 133},        // display fonts keep their design size
        {main_units::kName, {10, 220, 672, 204}, 107},
        {main_units::kRollTimer, {415, 40, 26, 26}, 0}, // not rescaled
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(toolkit.unitRect(id, e.unit), e.rect) << e.unit;
        EXPECT_EQ(toolkit.unit(id, e.unit).charHeight, e.charHeight) << e.unit;
    }
}

} // namespace
} // namespace tallyra::ui
