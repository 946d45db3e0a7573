// The floating button: its geometry rules (drag threshold, docking, the kept place)
// and, on the in-memory toolkit, its switch, taps and place; the menu button.
#include "storage/float_button_settings.h"
#include "tests/ui/window_fixture.h"
#include "ui/kit/float_place.h"
#include "ui/windows/float_button_switch.h"

#include <algorithm>
#include <random>

namespace tallyra::ui {
namespace {

TEST(FloatPlace, DragStartsPastTheThresholdOfItsPointer) {
    struct Row {
        PointerKind kind;
        int system;
        float scale;
        int threshold;
    } rows[] = {
        {PointerKind::Mouse, 4, 1.0f, 4},   {PointerKind::Mouse, 4, 2.0f, 4}, {PointerKind::Mouse, 0, 1.0f, 1},
        {PointerKind::Touch, 4, 1.0f, 10},  {PointerKind::Pen, 4, 1.5f, 15},  {PointerKind::Touch, 20, 1.0f, 20},
        {PointerKind::Touch, 4, 1.25f, 13},
    };
    for (const Row& row : rows)
        EXPECT_EQ(dragThreshold(row.kind, row.system, row.scale), row.threshold) << row.system << " " << row.scale;
    EXPECT_FALSE(isDrag({100, 100}, {110, 90}, 10));
    EXPECT_TRUE(isDrag({100, 100}, {111, 100}, 10));
    EXPECT_TRUE(isDrag({100, 100}, {100, 89}, 10));
}

TEST(FloatPlace, AReleaseNearAnEdgeDocksAndOffTheAreaComesBack) {
    const Rect area{0, 0, 1000, 700};
    struct Row {
        Rect released, docked;
    } rows[] = {
        {{500, 300, 56, 56}, {500, 300, 56, 56}}, // far from every edge
        {{20, 300, 56, 56}, {0, 300, 56, 56}},    // left
        {{920, 300, 56, 56}, {944, 300, 56, 56}}, // right: 24 px from it
        {{919, 300, 56, 56}, {919, 300, 56, 56}}, // 25 px: stays
        {{10, 630, 56, 56}, {0, 644, 56, 56}},    // bottom left corner
        {{-300, -80, 56, 56}, {0, 0, 56, 56}},    // dragged off the area
        {{2000, 900, 56, 56}, {944, 644, 56, 56}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(dockToEdges(row.released, area, 24), row.docked) << row.released.left << "," << row.released.top;
}

TEST(FloatPlace, APlaceKeptAsTextComesBackInsideTheNearestWorkArea) {
    // Property: any rectangle on an area survives the fraction and the text, within a pixel.
    std::mt19937 random(7);
    for (int i = 0; i < 500; ++i) {
        const Rect area{static_cast<int>(random() % 3000) - 1000, static_cast<int>(random() % 2000) - 500,
                        200 + static_cast<int>(random() % 3000), 200 + static_cast<int>(random() % 2000)};
        const Rect button{area.left + static_cast<int>(random() % static_cast<unsigned>(area.width - 56)),
                          area.top + static_cast<int>(random() % static_cast<unsigned>(area.height - 56)), 56, 56};
        const std::optional<FloatPlace> read = parseFloatPlace(formatFloatPlace(placeOf(button, area)));
        ASSERT_TRUE(read);
        const Rect again = rectAt(*read, {56, 56}, area);
        EXPECT_LE(std::abs(again.left - button.left), 1);
        EXPECT_LE(std::abs(again.top - button.top), 1);
    }
    // The same place on a larger screen or at a higher DPI: the same fraction, inside.
    const FloatPlace right{{0, 0}, 1.0, 0.5};
    EXPECT_EQ(rectAt(right, {70, 70}, {0, 0, 2560, 1400}), (Rect{2490, 665, 70, 70}));
    // A monitor that is gone: the nearest one that is left.
    const Rect areas[] = {{0, 0, 1920, 1040}, {1920, 0, 1280, 984}};
    EXPECT_EQ(areaFor({{1920, 0}, 0, 0}, areas), areas[1]);
    EXPECT_EQ(areaFor({{-1280, 0}, 0, 0}, areas), areas[0]);
    EXPECT_EQ(areaFor({{5000, 200}, 0, 0}, areas), areas[1]);
    EXPECT_EQ(areaFor({}, std::span<const Rect>{}), std::nullopt);
    for (const char* text :
         {"", "1,2,3", "1,2,3,4,5", "a,0,0,0", "0,0,1000001,0", "0,0,-1,0", "0,0,1 ,2", "99999999999,0,0,0", "0,0,0,"})
        EXPECT_EQ(parseFloatPlace(text), std::nullopt) << text;
}

using testing::WindowFixture;

class FloatButtonTest : public WindowFixture {
protected:
    void startWithSwitch() {
        startProgram();
        floatSwitch = std::make_unique<FloatButtonSwitch>(*windows);
        floatSwitch->start();
    }
    std::string caption() { return toolkit.text(mainId(), main_units::kStartStop); }

    std::unique_ptr<FloatButtonSwitch> floatSwitch;
};

TEST_F(FloatButtonTest, TheMenuSwitchShowsItNowAndAtTheNextStart) {
    folder.prepare("", "");
    startWithSwitch();
    EXPECT_EQ(toolkit.floatButton, nullptr);
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "显示悬浮按钮"));
    EXPECT_NE(toolkit.floatButton, nullptr);
    EXPECT_EQ(setting(kSettingsSection, settings::kFloatButtonKey), "True");
    toolkit.requestMenu(mainId());
    const std::vector<MenuItem>& items = toolkit.menus.back();
    EXPECT_TRUE(std::any_of(items.begin(), items.end(),
                            [](const MenuItem& item) { return item.text == "显示悬浮按钮" && item.checked; }));
    toolkit.floatButton->onFloatButtonMoved({{0, 0}, 0.25, 1.0});
    windows.reset();
    floatSwitch.reset();
    EXPECT_EQ(toolkit.floatButton, nullptr);
    startWithSwitch();
    ASSERT_NE(toolkit.floatButton, nullptr);
    EXPECT_EQ(toolkit.floatButtonOptions.place, (FloatPlace{{0, 0}, 0.25, 1.0}));
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "显示悬浮按钮"));
    EXPECT_EQ(toolkit.floatButton, nullptr);
    EXPECT_EQ(setting(kSettingsSection, settings::kFloatButtonKey), "False");
}

TEST_F(FloatButtonTest, ATapIsOneStepOfTheHotKeysCycleAndNothingWhileTheTeacherIsAsked) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1", "2"}, {"甲", "乙"}});
    startWithSwitch();
    floatSwitch->setShown(true);
    FloatButtonEvents& button = *toolkit.floatButton;
    button.onFloatButtonTap();
    EXPECT_TRUE(toolkit.window(mainId()).floating);
    EXPECT_EQ(caption(), "停止");
    toolkit.tick(mainId(), main_units::kRollTimer);
    toolkit.waitingForAnswer = true; // a box or the menu is open
    button.onFloatButtonTap();
    EXPECT_FALSE(button.onFloatButtonMenu({5, 5}));
    EXPECT_EQ(caption(), "停止");
    EXPECT_TRUE(toolkit.menus.empty());
    toolkit.waitingForAnswer = false;
    button.onFloatButtonTap();
    EXPECT_EQ(caption(), "开始");
    button.onFloatButtonTap();
    EXPECT_FALSE(toolkit.window(mainId()).floating);
    // A long press or a right click: the main window's menu.
    EXPECT_TRUE(button.onFloatButtonMenu({5, 5})); // the focus then goes back to the slide show
    EXPECT_EQ(toolkit.menus.size(), 1u);
    // While another window of the program is open, a tap or a long press does nothing.
    toolkit.click(mainId(), main_units::kSettingsButton);
    EXPECT_FALSE(button.onFloatButtonMenu({5, 5}));
    EXPECT_EQ(toolkit.menus.size(), 1u);
    button.onFloatButtonTap();
    EXPECT_FALSE(toolkit.window(mainId()).floating);
    EXPECT_EQ(caption(), "开始");
}

TEST_F(FloatButtonTest, WithoutABackendButtonTheSwitchSaysSoAndStaysOff) {
    folder.prepare("", "");
    toolkit.floatButtonsSupported = false;
    startWithSwitch();
    ASSERT_TRUE(toolkit.chooseMenuItem(mainId(), "显示悬浮按钮"));
    EXPECT_EQ(toolkit.log.back(), "message:悬浮按钮不可用");
    EXPECT_NE(setting(kSettingsSection, settings::kFloatButtonKey), "True");
}

TEST_F(FloatButtonTest, TheMenuButtonOpensTheMenuBelowItself) {
    folder.prepare("", "");
    startProgram();
    toolkit.click(mainId(), main_units::kMenuButton);
    ASSERT_EQ(toolkit.menus.size(), 1u);
    EXPECT_EQ(toolkit.menus[0].front().text, "全屏显示\tF11");
}

} // namespace
} // namespace tallyra::ui
