// One of the program's borderless top-level windows, built from its design: no
// system frame or title bar, minimisable from the taskbar, not maximisable, shown
// in the taskbar, not topmost. Its units are child windows; it colours the
// standard controls, turns their notifications into unit events, passes the input
// focus on, and moves with the mouse when its surface or a static unit is dragged.
#pragma once

#include "ui/kit/layout.h"
#include "ui/kit/toolkit.h"
#include "ui/win32/unit.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace tallyra::ui::win32 {

class Win32Toolkit;

class TopWindow : public tallyra::win32::WindowObject, public UnitHost, public std::enable_shared_from_this<TopWindow> {
public:
    TopWindow(Win32Toolkit& toolkit, WindowId id, const WindowDesign& design, WindowEvents& events);
    ~TopWindow();
    TopWindow(const TopWindow&) = delete;
    TopWindow& operator=(const TopWindow&) = delete;

    static bool registerClass(HINSTANCE instance);

    // Creates the window, hidden, at the design position and size, with every unit.
    bool create(HINSTANCE instance);

    WindowId id() const { return id_; }
    const WindowDesign& design() const { return design_; }
    Unit* find(std::string_view name) const;

    // UnitHost
    void raise(const Unit& unit, UnitEvent event) override;
    void beginDrag() override;
    std::optional<LRESULT> handleChildMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::shared_ptr<const void> lifetime() const override;
    void pointerOverTooltipUnit(const Unit& unit, WPARAM keys, LPARAM point) override;
    tallyra::win32::OffscreenSurface& offscreen() override;

    // Tells the window's handlers of a key; nothing once the window is being destroyed.
    void raiseKey(Key key, KeyAction action);
    // Tells them of a key pressed, as a hot key names it; true when they took it.
    bool raiseKeyStroke(HotKey stroke);
    // The global hot key (id 1 of the window); Taken when another program holds it.
    HotKeyState setHotKey(HotKey key);
    // On top of every window without taking the focus, on the foreground window's
    // monitor; or back where and as it was.
    void setFloating(bool floating);
    bool isFloating() const { return floating_; }
    // Radio boxes: checks one and unchecks the others of its parent.
    void checkRadio(Unit& radio, bool checked);

    // Files dropped on this unit are told to the handlers (WM_DROPFILES on the window).
    void acceptFileDrops(std::string_view unit);

    // Cuts the native windows loose from this object (the toolkit is going away).
    void detach();

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::shared_ptr<const void> keepAlive() const override { return lifetime(); }
    void onWindowGone() override;
    bool createTooltips();
    void onCommand(Unit& unit, int code);
    HBRUSH onControlColor(HDC dc, HWND control);
    Unit* findByHandle(HWND control) const;
    Unit* focusTarget() const;
    void onDropFiles(WPARAM drop); // an HDROP

    Win32Toolkit& toolkit_;
    WindowId id_;
    const WindowDesign& design_;
    WindowEvents& events_;
    HINSTANCE instance_ = nullptr;
    HWND tooltip_ = nullptr;
    bool tooltipsTried_ = false;
    ScopedBrush background_;
    std::vector<std::unique_ptr<Unit>> units_;
    std::vector<const Unit*> dropUnits_;
    bool destroying_ = false;
    bool detached_ = false;
    bool hotKeyRegistered_ = false;
    bool floating_ = false;
    WINDOWPLACEMENT beforeFloating_{};
};

} // namespace tallyra::ui::win32
