// The Win32 toolkit on real windows (run under Wine): units are child windows
// found by control ID with their texts as window texts, fonts follow the points
// given, events come from the user's actions and never from code, timers tick
// until stopped, and a window destroyed by its own click handler goes away cleanly.
#include "ui/dpi.h"
#include "ui/win32/text.h"
#include "ui/win32/win32_toolkit.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tallyra::ui::win32 {
namespace {

constexpr UnitDesign kUnits[] = {
    {.name = "标题", .kind = UnitKind::Label, .rect = {9, 4, 200, 24}, .text = "班级管理", .font = {.charHeight = 15}},
    {.name = "关闭",
     .kind = UnitKind::ImageButton,
     .rect = {250, 0, 50, 32},
     .text = "×",
     .font = {.face = "", .charHeight = 20},
     .tooltip = "关闭"},
    {.name = "外形框1", .kind = UnitKind::ShapeBox, .rect = {1, 32, 298, 267}},
    {.name = "按钮", .kind = UnitKind::ImageButton, .parent = "外形框1", .rect = {10, 10, 80, 30}, .text = "保存"},
    {.name = "组合框1", .kind = UnitKind::ComboBox, .parent = "外形框1", .rect = {10, 50, 200, 24}, .tabStop = true},
    {.name = "单选1", .kind = UnitKind::RadioBox, .parent = "外形框1", .rect = {10, 90, 70, 24}, .text = "开启"},
    {.name = "单选2", .kind = UnitKind::RadioBox, .parent = "外形框1", .rect = {90, 90, 70, 24}, .text = "关闭"},
    {.name = "时钟1", .kind = UnitKind::Timer, .parent = "外形框1", .rect = {0, 0, 26, 26}, .visible = false},
    {.name = "编辑框1",
     .kind = UnitKind::EditBox,
     .parent = "外形框1",
     .rect = {10, 130, 200, 80},
     .text = "01\t张三\r\n",
     .multiLine = true},
    {.name = "链接", .kind = UnitKind::Hyperlink, .parent = "外形框1", .rect = {10, 220, 60, 16}, .text = "更新日志"},
    // As in the settings window: a layout height below the height of its selection field.
    {.name = "组合框2",
     .kind = UnitKind::ComboBox,
     .parent = "外形框1",
     .rect = {100, 215, 180, 20},
     .font = {.charHeight = 19}},
};

constexpr WindowDesign kDesign{
    .name = "TestWindow", .caption = "Tallyra", .width = 300, .height = 300, .background = kTitleBlue, .units = kUnits};

class Events : public WindowEvents {
public:
    void onCreated(WindowId window) override { created.push_back(window); }
    void onDestroying(WindowId window) override { destroyed.push_back(window); }
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override {
        events.emplace_back(std::string(unit), event);
        if (onEvent) onEvent(window, unit, event);
    }

    std::vector<WindowId> created, destroyed;
    std::vector<std::pair<std::string, UnitEvent>> events;
    std::function<void(WindowId, std::string_view, UnitEvent)> onEvent;
};

// Dispatches messages until the condition holds or the time is up.
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(3)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
    return true;
}

struct FindById {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK matchId(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<FindById*>(param);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

class Win32ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override { window = toolkit.openWindow(kDesign, events); }

    HWND top() const { return static_cast<HWND>(GetAncestor(unitHandle("标题"), GA_ROOT)); }
    HWND unitHandle(std::string_view unit) const { return static_cast<HWND>(toolkit.nativeHandle(window, unit)); }
    // Found the way automation finds it: by control ID among all descendants.
    HWND byControlId(int id) const {
        FindById search{id};
        EnumChildWindows(top(), matchId, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    Win32Toolkit toolkit{GetModuleHandleW(nullptr)};
    Events events;
    WindowId window = kNoWindow;
};

TEST_F(Win32ToolkitTest, UnitsAreChildWindowsFoundByControlIdWithTheirTexts) {
    ASSERT_NE(window, kNoWindow);
    EXPECT_EQ(events.created, std::vector<WindowId>{window});
    EXPECT_EQ(windowText(top()), L"Tallyra");
    for (std::size_t i = 0; i < std::size(kUnits); ++i) {
        const UnitDesign& unit = kUnits[i];
        const HWND found = byControlId(1000 + static_cast<int>(i));
        ASSERT_NE(found, nullptr) << unit.name;
        EXPECT_EQ(found, unitHandle(unit.name)) << unit.name;
        if (unit.kind != UnitKind::ComboBox) {
            EXPECT_EQ(toUtf8(windowText(found)), unit.text) << unit.name;
        }
        const HWND expectedParent = unit.parent.empty() ? top() : unitHandle(unit.parent);
        EXPECT_EQ(GetParent(found), expectedParent) << unit.name;
    }
    // Hidden units stay hidden; the others show with the window.
    toolkit.showWindow(window, true);
    EXPECT_FALSE(IsWindowVisible(unitHandle("时钟1")));
    EXPECT_TRUE(IsWindowVisible(unitHandle("按钮")));
}

TEST_F(Win32ToolkitTest, WindowOpensCentredAtItsDesignSize) {
    const Rect expected = placedWindowRect(toolkit.screenSize(), {300, 300}, 1.0f);
    EXPECT_EQ(toolkit.windowRect(window), expected);
    EXPECT_EQ(toolkit.unitRect(window, "按钮"), (Rect{10, 10, 80, 30}));
    toolkit.setUnitRect(window, "按钮", {12, 12, 100, 37});
    RECT placed{};
    GetWindowRect(unitHandle("按钮"), &placed);
    MapWindowPoints(nullptr, unitHandle("外形框1"), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ((Rect{placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top}),
              (Rect{12, 12, 100, 37}));
}

TEST_F(Win32ToolkitTest, TextsRoundTripInUtf8WhateverTheCodePage) {
    const std::string texts[] = {"", "Tallyra × Korvane [三年二班]", "欧阳娜娜", "𠀀 rare", "a\r\nb"};
    for (const std::string& text : texts) {
        toolkit.setText(window, "标题", text);
        EXPECT_EQ(toolkit.text(window, "标题"), text);
        toolkit.setText(window, "按钮", text);
        EXPECT_EQ(toolkit.text(window, "按钮"), text);
    }
    EXPECT_EQ(toolkit.text(window, "编辑框1"), "01\t张三\r\n");
    EXPECT_EQ(toolkit.text(window, "没有这个"), "");
}

LONG fontHeight(HWND unit) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(unit, WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    return font && GetObjectW(font, sizeof(logFont), &logFont) ? logFont.lfHeight : 0;
}

TEST_F(Win32ToolkitTest, FontsAreCharacterHeightsAndPointsFollowTheVerticalDpi) {
    EXPECT_EQ(fontHeight(unitHandle("标题")), -15);
    EXPECT_EQ(fontHeight(unitHandle("关闭")), -20);
    HDC screen = GetDC(nullptr);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (const char* unit : {"标题", "关闭", "组合框1", "编辑框1", "单选1", "链接"}) {
        toolkit.setFontSize(window, unit, 11);
        EXPECT_EQ(fontHeight(unitHandle(unit)), -MulDiv(11, dpiY, 72)) << unit;
    }
    // The same size again keeps the font: a roll sets it on every tick.
    const LRESULT before = SendMessageW(unitHandle("标题"), WM_GETFONT, 0, 0);
    toolkit.setFontSize(window, "标题", 11);
    EXPECT_EQ(SendMessageW(unitHandle("标题"), WM_GETFONT, 0, 0), before);
}

TEST_F(Win32ToolkitTest, SelectionsAndChecksSetFromCodeRaiseNothing) {
    for (const char* item : {"一班", "二班", "三班"})
        toolkit.addItem(window, "组合框1", item);
    EXPECT_EQ(toolkit.selection(window, "组合框1"), -1);
    toolkit.setSelection(window, "组合框1", 2);
    EXPECT_EQ(toolkit.selection(window, "组合框1"), 2);
    EXPECT_EQ(toolkit.text(window, "组合框1"), "三班");
    toolkit.setItemText(window, "组合框1", 0, "初一");
    EXPECT_EQ(toolkit.itemText(window, "组合框1", 0), "初一");
    EXPECT_EQ(toolkit.selection(window, "组合框1"), 2);
    toolkit.removeItem(window, "组合框1", 1);
    EXPECT_EQ(toolkit.itemCount(window, "组合框1"), 2);

    toolkit.setChecked(window, "单选1", true);
    toolkit.setChecked(window, "单选2", true);
    EXPECT_FALSE(toolkit.isChecked(window, "单选1"));
    EXPECT_TRUE(toolkit.isChecked(window, "单选2"));
    pumpUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_TRUE(events.events.empty());
}

TEST_F(Win32ToolkitTest, ClicksOfTheUserRaiseTheirEvents) {
    toolkit.setChecked(window, "单选2", true);
    SendMessageW(unitHandle("单选1"), BM_CLICK, 0, 0);
    SendMessageW(unitHandle("按钮"), BM_CLICK, 0, 0);
    SendMessageW(unitHandle("链接"), BM_CLICK, 0, 0);
    using Event = std::pair<std::string, UnitEvent>;
    EXPECT_EQ(events.events,
              (std::vector<Event>{
                  {"单选1", UnitEvent::Clicked}, {"按钮", UnitEvent::Clicked}, {"链接", UnitEvent::LinkPressed}}));
    EXPECT_TRUE(toolkit.isChecked(window, "单选1"));
    EXPECT_FALSE(toolkit.isChecked(window, "单选2"));
}

TEST_F(Win32ToolkitTest, ADroppedListIsAtLeast160PixelsHighBelowItsField) {
    for (int i = 0; i < 30; ++i)
        toolkit.addItem(window, "组合框2", "班级" + std::to_string(i));
    toolkit.showWindow(window, true);
    const HWND combo = unitHandle("组合框2");
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    RECT list{};
    GetWindowRect(info.hwndList, &list);
    EXPECT_GE(list.bottom - list.top, 160);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

// A held image button keeps its hot colours wherever the pointer goes, and only a
// release on it is a click.
TEST_F(Win32ToolkitTest, AHeldButtonStaysHotOffItAndClicksOnlyWhereReleased) {
    toolkit.showWindow(window, true);
    const HWND button = unitHandle("关闭");
    const auto background = [button] {
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const HDC dc = GetDC(button);
        const COLORREF color = GetPixel(dc, 2, 2);
        ReleaseDC(button, dc);
        return color;
    };
    const COLORREF hot = RGB(0xFF, 0x54, 0x4E), normal = RGB(0x4E, 0xC4, 0xFA);
    EXPECT_EQ(background(), normal);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(background(), hot);
    SendMessageW(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 200)); // off the button, still held
    EXPECT_EQ(background(), hot);
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 200));
    EXPECT_TRUE(events.events.empty()) << "released off the button: no click";
    EXPECT_EQ(background(), normal);
}

TEST_F(Win32ToolkitTest, TimerTicksUntilItsIntervalIsZero) {
    auto ticks = [this] {
        int count = 0;
        for (const auto& [unit, event] : events.events)
            count += unit == "时钟1" && event == UnitEvent::Tick;
        return count;
    };
    toolkit.setTimerInterval(window, "时钟1", 10);
    ASSERT_TRUE(pumpUntil([&] { return ticks() >= 3; }));
    toolkit.setTimerInterval(window, "时钟1", 0);
    pumpUntil([] { return false; }, std::chrono::milliseconds(20)); // a tick already queued may still arrive
    const int stoppedAt = ticks();
    pumpUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(ticks(), stoppedAt);
}

TEST_F(Win32ToolkitTest, WindowDestroyedByItsOwnButtonGoesAwayOnce) {
    events.onEvent = [this](WindowId id, std::string_view unit, UnitEvent) {
        if (unit == "关闭") toolkit.destroyWindow(id);
    };
    const HWND topWindow = top();
    SendMessageW(unitHandle("关闭"), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(topWindow));
    EXPECT_EQ(events.destroyed, std::vector<WindowId>{window});
    // The toolkit has let go of it: every operation on it is now a no-op.
    EXPECT_FALSE(toolkit.isWindowVisible(window));
    EXPECT_EQ(toolkit.text(window, "标题"), "");
    EXPECT_EQ(toolkit.nativeHandle(window, "标题"), nullptr);
    toolkit.setText(window, "标题", "x");
    toolkit.destroyWindow(window);
    EXPECT_EQ(events.destroyed.size(), 1u);
}

TEST(Win32Toolkit, UnknownWindowsAndUnitsAreIgnored) {
    Win32Toolkit toolkit{GetModuleHandleW(nullptr)};
    EXPECT_EQ(toolkit.windowRect(42), Rect{});
    EXPECT_EQ(toolkit.unitRect(42, "x"), Rect{});
    EXPECT_EQ(toolkit.selection(42, "x"), -1);
    EXPECT_EQ(toolkit.itemCount(42, "x"), 0);
    EXPECT_FALSE(toolkit.isChecked(42, "x"));
    toolkit.setTimerInterval(42, "x", 10);
    toolkit.setFontSize(42, "x", 11);
    EXPECT_GT(toolkit.horizontalPixelsPerInch(42), 0);
    EXPECT_FALSE(toolkit.isFontInstalled(""));
    EXPECT_FALSE(toolkit.isFontInstalled("No Such Font Family 1234"));
}

} // namespace
} // namespace tallyra::ui::win32
