// The Win32 toolkit: the program's windows as real Win32 windows built from the
// layout tables. See win32_toolkit.cpp for how automation finds the units.
#pragma once

#include "platform/win32/buffered_paint.h"
#include "ui/kit/toolkit.h"
#include "ui/win32/keep_above.h"

#include <windows.h>

#include <map>
#include <memory>

namespace tallyra::ui::win32 {

class TopWindow;
class Unit;

class Win32Toolkit : public Toolkit {
public:
    explicit Win32Toolkit(HINSTANCE instance);
    ~Win32Toolkit() override;
    Win32Toolkit(const Win32Toolkit&) = delete;
    Win32Toolkit& operator=(const Win32Toolkit&) = delete;

    // MessageBoxes
    MessageAnswer showMessage(const Message& message) override;

    // Toolkit
    WindowId openWindow(const WindowDesign& design, WindowEvents& events) override;
    void showWindow(WindowId window, bool visible) override;
    bool isWindowVisible(WindowId window) const override;
    void minimiseWindow(WindowId window) override;
    void destroyWindow(WindowId window) override;
    Rect windowRect(WindowId window) const override;
    void setWindowRect(WindowId window, Rect rect) override;

    Rect unitRect(WindowId window, std::string_view unit) const override;
    void setUnitRect(WindowId window, std::string_view unit, Rect rect) override;
    std::string text(WindowId window, std::string_view unit) const override;
    void setText(WindowId window, std::string_view unit, std::string_view text) override;
    void setFontSize(WindowId window, std::string_view unit, int points) override;
    void setVisible(WindowId window, std::string_view unit, bool visible) override;
    void setTextFit(WindowId window, std::string_view unit, TextFit fit) override;
    void fitLinesTogether(WindowId window, std::span<const std::string_view> labels,
                          std::span<const std::string> lines) override;
    Rect monitorRect(WindowId window) const override;
    HotKeyState setHotKey(WindowId window, HotKey key) override;
    void floatWindow(WindowId window, bool floating) override;
    MessageAnswer askWithRemote(const Message& question) override;
    std::optional<int> showMenu(WindowId window, std::optional<Point> at, std::span<const MenuItem> items) override;
    void setTimerInterval(WindowId window, std::string_view unit, int milliseconds) override;

    void clearItems(WindowId window, std::string_view unit) override;
    void addItem(WindowId window, std::string_view unit, std::string_view text) override;
    void removeItem(WindowId window, std::string_view unit, int index) override;
    int itemCount(WindowId window, std::string_view unit) const override;
    std::string itemText(WindowId window, std::string_view unit, int index) const override;
    void setItemText(WindowId window, std::string_view unit, int index, std::string_view text) override;
    int selection(WindowId window, std::string_view unit) const override;
    void setSelection(WindowId window, std::string_view unit, int index) override;
    void selectLine(WindowId window, std::string_view unit, std::size_t line) override;
    void setChecked(WindowId window, std::string_view unit, bool checked) override;
    bool isChecked(WindowId window, std::string_view unit) const override;
    void setItemChecked(WindowId window, std::string_view unit, int index, bool checked) override;
    bool isItemChecked(WindowId window, std::string_view unit, int index) const override;

    std::optional<std::string> askText(std::string_view prompt, std::string_view title,
                                       std::string_view proposed = {}) override;
    std::optional<std::string> askOpenFile(std::string_view title, std::string_view filterName,
                                           std::string_view patterns) override;
    void acceptFileDrops(WindowId window, std::string_view unit) override;
    void setClipboardText(std::string_view text) override;

    void declareDpiAware() override;
    int horizontalPixelsPerInch(WindowId window) const override;
    Size screenSize() const override;
    bool isFontInstalled(std::string_view face) const override;
    bool openInBrowser(std::string_view address) override;
    bool openFile(std::string_view path) override;
    void quit(int exitCode) override;
    NativeWindow nativeHandle(WindowId window, std::string_view unit) const override;
    std::unique_ptr<FloatButton> createFloatButton(const FloatButtonOptions& options,
                                                   FloatButtonEvents& events) override;
    bool isWaitingForAnswer() const override { return waiting_ > 0; }

    // The window object forgets its id when its native window is gone.
    void forget(WindowId window);

    // The message loop shows every message here before dispatching it: key
    // presses and releases in one of our windows are told to its handlers (the
    // focused unit still gets the key). Keys in a message box or the input box
    // never come here: those run loops of their own.
    void reportKey(const MSG& message);

    // Shared by every unit of every window: they paint one at a time.
    tallyra::win32::OffscreenSurface& offscreen() { return offscreen_; }

private:
    MessageAnswer showBox(const Message& message, bool remote);
    bool anyFloating() const;
    TopWindow* find(WindowId window) const;
    Unit* findUnit(WindowId window, std::string_view unit) const;
    HWND comboHandle(WindowId window, std::string_view unit) const;
    HWND checkListHandle(WindowId window, std::string_view unit) const;

    HINSTANCE instance_;
    bool registered_ = false;
    WindowId nextId_ = 1;
    tallyra::win32::OffscreenSurface offscreen_; // before the windows: it outlives them
    std::map<WindowId, std::shared_ptr<TopWindow>> windows_;
    KeepAbove keepAbove_;
    int waiting_ = 0; // boxes and menus open
};

} // namespace tallyra::ui::win32
