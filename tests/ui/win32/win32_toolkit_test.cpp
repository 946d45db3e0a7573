// The Win32 toolkit on real windows (run under Wine): units are child windows
// found by control ID with their texts as window texts, fonts follow the points
// given, events come from the user's actions and never from code, timers tick
// until stopped, and a window destroyed by its own click handler goes away cleanly.
#include "platform/win32/text.h"
#include "ui/kit/dpi.h"
#include "ui/win32/win32_toolkit.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tallyra::ui::win32 {
namespace {

using tallyra::win32::toUtf8;
using tallyra::win32::windowText;

constexpr UnitDesign kUnits[] = {
    {.name = "title",
     .controlId = 1000,
     .kind = UnitKind::Label,
     .rect = {9, 4, 200, 24},
     .text = "班级管理",
     .font = {.charHeight = 15}},
    {.name = "closeButton",
     .controlId = 1001,
     .kind = UnitKind::ImageButton,
     .rect = {250, 0, 50, 32},
     .text = "×",
     .font = {.face = "", .charHeight = 20},
     .normal = {kWhite, kTitleBlue},
     .hot = {kWhite, kCloseHot},
     .focus = {kWhite, kTitleBlue},
     .tooltip = "关闭"},
    {.name = "content", .controlId = 1002, .kind = UnitKind::ShapeBox, .rect = {1, 32, 298, 267}},
    {.name = "saveButton",
     .controlId = 1003,
     .kind = UnitKind::ImageButton,
     .parent = "content",
     .rect = {10, 10, 80, 30},
     .text = "保存"},
    {.name = "classBox",
     .controlId = 1004,
     .kind = UnitKind::ComboBox,
     .parent = "content",
     .rect = {10, 50, 200, 24},
     .tabStop = true},
    {.name = "onRadio",
     .controlId = 1005,
     .kind = UnitKind::RadioBox,
     .parent = "content",
     .rect = {10, 90, 70, 24},
     .text = "开启"},
    {.name = "offRadio",
     .controlId = 1006,
     .kind = UnitKind::RadioBox,
     .parent = "content",
     .rect = {90, 90, 70, 24},
     .text = "关闭"},
    {.name = "timer",
     .controlId = 1007,
     .kind = UnitKind::Timer,
     .parent = "content",
     .rect = {0, 0, 26, 26},
     .visible = false},
    {.name = "rosterBox",
     .controlId = 1008,
     .kind = UnitKind::EditBox,
     .parent = "content",
     .rect = {10, 130, 200, 80},
     .text = "01\t张三\r\n",
     .multiLine = true},
    {.name = "changelogLink",
     .controlId = 1009,
     .kind = UnitKind::Hyperlink,
     .parent = "content",
     .rect = {10, 220, 60, 16},
     .text = "更新日志"},
    // As in the settings window: a layout height below the height of its selection field.
    {.name = "narrowClassBox",
     .controlId = 1010,
     .kind = UnitKind::ComboBox,
     .parent = "content",
     .rect = {100, 215, 180, 20},
     .font = {.charHeight = 19}},
    // As the main window's number and name.
    {.name = "display",
     .controlId = 1011,
     .kind = UnitKind::Label,
     .parent = "content",
     .rect = {10, 238, 280, 28},
     .font = {.charHeight = 24},
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center,
     .fit = TextFit::Shrink},
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

    void onFileDropped(WindowId, std::string_view unit, std::string_view path) override {
        dropped.emplace_back(std::string(unit), std::string(path));
    }

    std::vector<WindowId> created, destroyed;
    std::vector<std::pair<std::string, UnitEvent>> events;
    std::vector<std::pair<std::string, std::string>> dropped;
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

    HWND top() const { return static_cast<HWND>(GetAncestor(unitHandle("title"), GA_ROOT)); }
    HWND unitHandle(std::string_view unit) const { return reinterpret_cast<HWND>(toolkit.nativeHandle(window, unit)); }
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
        const HWND found = byControlId(unit.controlId);
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
    EXPECT_FALSE(IsWindowVisible(unitHandle("timer")));
    EXPECT_TRUE(IsWindowVisible(unitHandle("saveButton")));
}

TEST_F(Win32ToolkitTest, WindowOpensCentredAtItsDesignSize) {
    const Rect expected = placedWindowRect(toolkit.screenSize(), {300, 300}, 1.0f);
    EXPECT_EQ(toolkit.windowRect(window), expected);
    EXPECT_EQ(toolkit.unitRect(window, "saveButton"), (Rect{10, 10, 80, 30}));
    toolkit.setUnitRect(window, "saveButton", {12, 12, 100, 37});
    RECT placed{};
    GetWindowRect(unitHandle("saveButton"), &placed);
    MapWindowPoints(nullptr, unitHandle("content"), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ((Rect{placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top}),
              (Rect{12, 12, 100, 37}));
}

TEST_F(Win32ToolkitTest, TextsRoundTripInUtf8WhateverTheCodePage) {
    const std::string texts[] = {"", "Tallyra × Korvane [三年二班]", "欧阳娜娜", "𠀀 rare", "a\r\nb"};
    for (const std::string& text : texts) {
        toolkit.setText(window, "title", text);
        EXPECT_EQ(toolkit.text(window, "title"), text);
        toolkit.setText(window, "saveButton", text);
        EXPECT_EQ(toolkit.text(window, "saveButton"), text);
    }
    EXPECT_EQ(toolkit.text(window, "rosterBox"), "01\t张三\r\n");
    EXPECT_EQ(toolkit.text(window, "没有这个"), "");
}

LONG fontHeight(HWND unit) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(unit, WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    return font && GetObjectW(font, sizeof(logFont), &logFont) ? logFont.lfHeight : 0;
}

TEST_F(Win32ToolkitTest, FontsAreCharacterHeightsAndPointsFollowTheVerticalDpi) {
    EXPECT_EQ(fontHeight(unitHandle("title")), -15);
    EXPECT_EQ(fontHeight(unitHandle("closeButton")), -20);
    HDC screen = GetDC(nullptr);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (const char* unit : {"title", "closeButton", "classBox", "rosterBox", "onRadio", "changelogLink"}) {
        toolkit.setFontSize(window, unit, 11);
        EXPECT_EQ(fontHeight(unitHandle(unit)), -MulDiv(11, dpiY, 72)) << unit;
    }
    // The same size again keeps the font: a roll sets it on every tick.
    const LRESULT before = SendMessageW(unitHandle("title"), WM_GETFONT, 0, 0);
    toolkit.setFontSize(window, "title", 11);
    EXPECT_EQ(SendMessageW(unitHandle("title"), WM_GETFONT, 0, 0), before);
}

TEST_F(Win32ToolkitTest, SelectionsAndChecksSetFromCodeRaiseNothing) {
    for (const char* item : {"一班", "二班", "三班"})
        toolkit.addItem(window, "classBox", item);
    EXPECT_EQ(toolkit.selection(window, "classBox"), -1);
    toolkit.setSelection(window, "classBox", 2);
    EXPECT_EQ(toolkit.selection(window, "classBox"), 2);
    EXPECT_EQ(toolkit.text(window, "classBox"), "三班");
    toolkit.setItemText(window, "classBox", 0, "初一");
    EXPECT_EQ(toolkit.itemText(window, "classBox", 0), "初一");
    EXPECT_EQ(toolkit.selection(window, "classBox"), 2);
    toolkit.removeItem(window, "classBox", 1);
    EXPECT_EQ(toolkit.itemCount(window, "classBox"), 2);

    toolkit.setChecked(window, "onRadio", true);
    toolkit.setChecked(window, "offRadio", true);
    EXPECT_FALSE(toolkit.isChecked(window, "onRadio"));
    EXPECT_TRUE(toolkit.isChecked(window, "offRadio"));
    pumpUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_TRUE(events.events.empty());
}

TEST_F(Win32ToolkitTest, ClicksOfTheUserRaiseTheirEvents) {
    toolkit.setChecked(window, "offRadio", true);
    SendMessageW(unitHandle("onRadio"), BM_CLICK, 0, 0);
    SendMessageW(unitHandle("saveButton"), BM_CLICK, 0, 0);
    SendMessageW(unitHandle("changelogLink"), BM_CLICK, 0, 0);
    using Event = std::pair<std::string, UnitEvent>;
    EXPECT_EQ(events.events, (std::vector<Event>{{"onRadio", UnitEvent::Clicked},
                                                 {"saveButton", UnitEvent::Clicked},
                                                 {"changelogLink", UnitEvent::LinkPressed}}));
    EXPECT_TRUE(toolkit.isChecked(window, "onRadio"));
    EXPECT_FALSE(toolkit.isChecked(window, "offRadio"));
}

TEST_F(Win32ToolkitTest, ADroppedListIsAtLeast160PixelsHighBelowItsField) {
    for (int i = 0; i < 30; ++i)
        toolkit.addItem(window, "narrowClassBox", "班级" + std::to_string(i));
    toolkit.showWindow(window, true);
    const HWND combo = unitHandle("narrowClassBox");
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
    const HWND button = unitHandle("closeButton");
    // The button painted into a bitmap of our own, as PrintWindow has it drawn.
    const auto background = [button] {
        const HDC screen = GetDC(nullptr);
        const HDC memory = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, 50, 32);
        const HGDIOBJ old = SelectObject(memory, bitmap);
        SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        const COLORREF color = GetPixel(memory, 2, 2);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
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

// A label's new text repaints only what changed, at the display's pace, and the label
// then shows what a whole repaint shows: numbers of one length whose digits differ in
// ink, texts of other lengths, a glyph the font lacks, shrunk or filling the box.
TEST_F(Win32ToolkitTest, ALabelRepaintedInPartShowsWhatAWholeRepaintShows) {
    toolkit.showWindow(window, true);
    const HWND label = unitHandle("display");
    RECT box{};
    GetClientRect(label, &box);
    const auto shown = [&] {
        const HDC window = GetDC(label);
        const HDC memory = CreateCompatibleDC(window);
        const HBITMAP bitmap = CreateCompatibleBitmap(window, box.right, box.bottom);
        const HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, box.right, box.bottom, window, 0, 0, SRCCOPY);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < box.bottom; ++y)
            for (int x = 0; x < box.right; ++x)
                pixels.push_back(GetPixel(memory, x, y));
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(label, window);
        return pixels;
    };
    // Awaits the label's request for a repaint, which may wait for the next display
    // frame. Only the label's timer runs, so that no paint takes the region first.
    RECT dirty{};
    const auto repaintAsked = [&] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        for (MSG message; std::chrono::steady_clock::now() < end; Sleep(1)) {
            if (GetUpdateRect(label, &dirty, FALSE)) return true;
            while (PeekMessageW(&message, label, WM_TIMER, WM_TIMER, PM_REMOVE))
                DispatchMessageW(&message);
        }
        return false;
    };
    for (const TextFit fit : {TextFit::Shrink, TextFit::Fill}) {
        toolkit.setTextFit(window, "display", fit);
        for (const char* text : {"20240001", "20240002", "20240013", "20240047", "20240071", "欧阳明月", "张三", "一",
                                 "Wj", "𠀀王", "", "2024000123456789"}) {
            toolkit.setText(window, "display", text);
            EXPECT_TRUE(repaintAsked()) << text;
            UpdateWindow(label);
            const std::vector<COLORREF> partly = shown();
            RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            EXPECT_TRUE(partly == shown()) << text << (fit == TextFit::Fill ? " filling the box" : "");
        }
        // The last digit alone: its columns, not the whole label.
        toolkit.setText(window, "display", "20240001");
        EXPECT_TRUE(repaintAsked());
        UpdateWindow(label);
        toolkit.setText(window, "display", "20240002");
        EXPECT_TRUE(repaintAsked());
        EXPECT_GT(dirty.left, box.right / 2);
        UpdateWindow(label);
        // A frame or more after the last change, a new text asks at once: a settled pick
        // shows without waiting for a timer.
        Sleep(50);
        toolkit.setText(window, "display", "20240003");
        EXPECT_TRUE(GetUpdateRect(label, nullptr, FALSE));
        UpdateWindow(label);
    }
}

TEST_F(Win32ToolkitTest, TimerTicksUntilItsIntervalIsZero) {
    auto ticks = [this] {
        int count = 0;
        for (const auto& [unit, event] : events.events)
            count += unit == "timer" && event == UnitEvent::Tick;
        return count;
    };
    toolkit.setTimerInterval(window, "timer", 10);
    ASSERT_TRUE(pumpUntil([&] { return ticks() >= 3; }));
    toolkit.setTimerInterval(window, "timer", 0);
    pumpUntil([] { return false; }, std::chrono::milliseconds(20)); // a tick already queued may still arrive
    const int stoppedAt = ticks();
    pumpUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(ticks(), stoppedAt);
}

// What the shell sends when a file is dropped at a point of the window.
void dropFile(HWND window, POINT screenPoint, const std::wstring& path) {
    ScreenToClient(window, &screenPoint);
    const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = screenPoint;
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0); // the receiver frees it
}

TEST_F(Win32ToolkitTest, AFileDroppedOnAUnitThatTakesDropsIsToldWithItsPath) {
    toolkit.acceptFileDrops(window, "rosterBox");
    toolkit.showWindow(window, true);
    EXPECT_TRUE(GetWindowLongW(top(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const auto centre = [&](std::string_view unit) {
        RECT area{};
        GetWindowRect(unitHandle(unit), &area);
        return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    };
    dropFile(top(), centre("saveButton"), L"C:\\名单.csv"); // not on the roster box: nothing
    dropFile(top(), centre("rosterBox"), L"C:\\名单.csv");
    EXPECT_EQ(events.dropped, (std::vector<std::pair<std::string, std::string>>{{"rosterBox", "C:\\名单.csv"}}));
}

TEST_F(Win32ToolkitTest, WindowDestroyedByItsOwnButtonGoesAwayOnce) {
    events.onEvent = [this](WindowId id, std::string_view unit, UnitEvent) {
        if (unit == "closeButton") toolkit.destroyWindow(id);
    };
    const HWND topWindow = top();
    SendMessageW(unitHandle("closeButton"), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(topWindow));
    EXPECT_EQ(events.destroyed, std::vector<WindowId>{window});
    // The toolkit has let go of it: every operation on it is now a no-op.
    EXPECT_FALSE(toolkit.isWindowVisible(window));
    EXPECT_EQ(toolkit.text(window, "title"), "");
    EXPECT_EQ(toolkit.nativeHandle(window, "title"), nullptr);
    toolkit.setText(window, "title", "x");
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

// One off-screen bitmap serves every paint: it grows to the largest, refuses a paint
// inside a paint and sizes over its limit, and hands each paint a DC in its first state.
TEST(OffscreenSurface, GrowsServesOnePaintAtATimeAndStartsEachFresh) {
    using tallyra::win32::OffscreenSurface;
    auto bitmapSize = [](HDC dc) {
        BITMAP bitmap{};
        GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof bitmap, &bitmap);
        return std::pair{bitmap.bmWidth, bitmap.bmHeight};
    };
    HDC screen = GetDC(nullptr);
    OffscreenSurface surface(100 * 100);
    HDC first = surface.acquire(screen, {40, 30});
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(surface.acquire(screen, {10, 10}), nullptr) << "in use";
    const COLORREF freshColour = GetTextColor(first);
    SetTextColor(first, RGB(1, 2, 3));
    SelectObject(first, GetStockObject(BLACK_BRUSH));
    surface.release();

    HDC second = surface.acquire(screen, {20, 50});
    EXPECT_EQ(second, first);
    EXPECT_EQ(bitmapSize(second), std::pair(40L, 50L));
    EXPECT_EQ(GetTextColor(second), freshColour);
    EXPECT_NE(GetCurrentObject(second, OBJ_BRUSH), GetStockObject(BLACK_BRUSH));
    surface.release();

    EXPECT_EQ(surface.acquire(screen, {200, 60}), nullptr) << "over the limit";
    HDC third = surface.acquire(screen, {40, 50});
    EXPECT_EQ(third, first);
    EXPECT_EQ(bitmapSize(third), std::pair(40L, 50L));
    surface.release();
    ReleaseDC(nullptr, screen);
}

int CALLBACK collectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
    reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(font->lfFaceName);
    return 1;
}

// The check asks for one family by name; every family that a full listing names
// (Chinese names included, where the system has them) must still be found.
TEST(Win32Toolkit, FontCheckFindsEveryListedFamily) {
    Win32Toolkit toolkit{GetModuleHandleW(nullptr)};
    std::vector<std::wstring> families;
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &all, collectFamily, reinterpret_cast<LPARAM>(&families), 0);
    ReleaseDC(nullptr, screen);
    ASSERT_FALSE(families.empty());
    for (const std::wstring& family : families)
        EXPECT_TRUE(toolkit.isFontInstalled(toUtf8(family))) << toUtf8(family);
    EXPECT_FALSE(toolkit.isFontInstalled(toUtf8(families.front()) + std::string(LF_FACESIZE, 'x')));
}

} // namespace
} // namespace tallyra::ui::win32
