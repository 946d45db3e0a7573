// The toolkit interface: everything the windows' handlers do to windows and units.
// The Win32 backend (ui/win32/) builds real windows from the layout tables; the
// in-memory toolkit of the tests records every unit's state.
#pragma once

#include "base/message_box.h"
#include "base/native_window.h"
#include "ui/kit/hot_key.h"
#include "ui/kit/layout.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tallyra::ui {

using WindowId = int;

// ui/kit/float_button.h
class FloatButton;
class FloatButtonEvents;
struct FloatButtonOptions;

inline constexpr WindowId kNoWindow = 0;

enum class UnitEvent {
    Clicked,       // image button (press and release on it) or radio box
    LinkPressed,   // hyperlink: as soon as the left button goes down
    ItemChosen,    // combo box: the user confirmed a choice (never when code sets the selection)
    Tick,          // timer
    DoubleClicked, // label: two quick presses on it
};


struct Point {
    int x = 0, y = 0;
    friend constexpr bool operator==(Point, Point) = default;
};

// One item of a popup menu.
struct MenuItem {
    std::string text;
    bool checked = false;
    bool enabled = true;
};

enum class KeyAction {
    Pressed,  // the key went down
    Repeated, // the system repeats a key held down
    Released, // the key came up
};

// What a window's handlers receive. Handlers run on the GUI thread, one at a time.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // Once, when the window and all its units exist (the window is not shown yet).
    virtual void onCreated(WindowId window) = 0;
    // When the window is being destroyed, whatever destroys it.
    virtual void onDestroying(WindowId window) = 0;
    virtual void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) = 0;
    // A key pressed or released while the window is the active one (whichever of
    // its units has the focus). The key still does what it does in that unit.
    virtual void onKey(WindowId, Key, KeyAction) {}
    // The user asked for the window's menu: a right click (at that screen point), the
    // menu key or Shift+F10 (no point: the menu opens at the window's corner).
    virtual void onMenuRequested(WindowId, std::optional<Point>) {}
    // The window's global hot key was pressed, whichever program has the focus.
    virtual void onHotKey(WindowId) {}
    // Every key pressed in the window, as a hot key would name it, before onKey; true
    // when the window took it, and onKey is not told of it.
    virtual bool onKeyStroke(WindowId, HotKey) { return false; }
    // A file was dropped on a unit that takes drops (acceptFileDrops); path in UTF-8.
    virtual void onFileDropped(WindowId, std::string_view /*unit*/, std::string_view /*path*/) {}
};

enum class HotKeyState {
    On,          // registered
    Taken,       // another program holds the key
    Unsupported, // the session lets no program grab keys (Wayland)
};

struct Size {
    int width = 0, height = 0;
    friend constexpr bool operator==(Size, Size) = default;
};

// How long a question answered from the keyboard or a remote takes no key after it appears.
inline constexpr int kRemoteQuestionSettleMs = 500;

class Toolkit : public MessageBoxes {
public:
    // Windows. A window opens without owner and not modal; onCreated runs during the
    // opening, before it is shown.
    virtual WindowId openWindow(const WindowDesign& design, WindowEvents& events) = 0;
    virtual void showWindow(WindowId window, bool visible) = 0;
    virtual bool isWindowVisible(WindowId window) const = 0;
    virtual void minimiseWindow(WindowId window) = 0;
    virtual void destroyWindow(WindowId window) = 0;
    virtual Rect windowRect(WindowId window) const = 0;
    virtual void setWindowRect(WindowId window, Rect rect) = 0;
    // The whole area of the monitor the window is on, in screen coordinates.
    virtual Rect monitorRect(WindowId window) const = 0;
    // A popup menu of these items at a screen point (none: the window's top left corner),
    // run until the user chooses or dismisses it; the chosen item's index, or nothing.
    virtual std::optional<int> showMenu(WindowId window, std::optional<Point> at, std::span<const MenuItem> items) = 0;

    // The window's global hot key (it replaces the one it had); onHotKey tells of its presses.
    virtual HotKeyState setHotKey(WindowId window, HotKey key) = 0;
    // Floating: on top of every other window, without taking the focus from the program
    // that has it, centred on that program's monitor; boxes shown meanwhile come on top
    // and take the focus; a hidden window shows floating. Not floating: back where it was,
    // behind that program or minimised.
    virtual void floatWindow(WindowId window, bool floating) = 0;
    // A question that a presenter remote answers too: Page Down for Yes, Page Up for No.
    // A key already down when it appears, or pressed within kRemoteQuestionSettleMs of
    // it appearing, answers nothing (a remote's double click would answer it unread).
    virtual MessageAnswer askWithRemote(const Message& question) { return showMessage(question); }

    // Units, found by name within their window.
    virtual Rect unitRect(WindowId window, std::string_view unit) const = 0;
    virtual void setUnitRect(WindowId window, std::string_view unit, Rect rect) = 0;
    virtual std::string text(WindowId window, std::string_view unit) const = 0;
    virtual void setText(WindowId window, std::string_view unit, std::string_view text) = 0;
    // Character height becomes points × vertical pixels per inch / 72, rounded.
    virtual void setFontSize(WindowId window, std::string_view unit, int points) = 0;
    virtual void setVisible(WindowId window, std::string_view unit, bool visible) = 0;
    // Labels: how the text fits the box (the design's fit until changed).
    virtual void setTextFit(WindowId window, std::string_view unit, TextFit fit) = 0;
    // Labels of one size: draws them all at one character height, the largest at which every
    // line fits the first label's box (Fill's rule), measured once here: their texts then only draw.
    virtual void fitLinesTogether(WindowId window, std::span<const std::string_view> labels,
                                  std::span<const std::string> lines) = 0;
    virtual void setTimerInterval(WindowId window, std::string_view unit, int milliseconds) = 0;
    // Edit boxes: selects one line of the text (0-based, lines end at CR LF) and scrolls it into view.
    virtual void selectLine(WindowId window, std::string_view unit, std::size_t line) = 0;

    // Combo boxes (positions 0-based, -1 for no selection) and radio boxes.
    virtual void clearItems(WindowId window, std::string_view unit) = 0;
    virtual void addItem(WindowId window, std::string_view unit, std::string_view text) = 0;
    virtual void removeItem(WindowId window, std::string_view unit, int index) = 0;
    virtual int itemCount(WindowId window, std::string_view unit) const = 0;
    virtual std::string itemText(WindowId window, std::string_view unit, int index) const = 0;
    // Replaces the text of one item; the selection stays where it was.
    virtual void setItemText(WindowId window, std::string_view unit, int index, std::string_view text);
    virtual int selection(WindowId window, std::string_view unit) const = 0;
    // The text of the selected item; empty text when nothing is selected.
    std::string selectedItemText(WindowId window, std::string_view unit) const;
    virtual void setSelection(WindowId window, std::string_view unit, int index) = 0;
    virtual void setChecked(WindowId window, std::string_view unit, bool checked) = 0;
    virtual bool isChecked(WindowId window, std::string_view unit) const = 0;
    // Check lists: the check box of one item (0-based).
    virtual void setItemChecked(WindowId window, std::string_view unit, int index, bool checked) = 0;
    virtual bool isItemChecked(WindowId window, std::string_view unit, int index) const = 0;

    // The modal input box: prompt, title, a one-line field holding `proposed`, OK and Cancel.
    // Nothing when cancelled.
    virtual std::optional<std::string> askText(std::string_view prompt, std::string_view title,
                                               std::string_view proposed = {}) = 0;
    // The system's dialog for opening a file, showing the files that match the patterns
    // ("*.csv;*.txt", described by filterName); the chosen file's path, nothing when cancelled.
    virtual std::optional<std::string> askOpenFile(std::string_view title, std::string_view filterName,
                                                   std::string_view patterns) = 0;
    // Files dropped on this unit go to the window's onFileDropped, not into the unit.
    virtual void acceptFileDrops(WindowId window, std::string_view unit) = 0;
    // Puts the text on the system's clipboard (lines end at CR LF).
    virtual void setClipboardText(std::string_view text) = 0;

    // Screen and system.
    virtual void declareDpiAware() = 0;
    virtual int horizontalPixelsPerInch(WindowId window) const = 0;
    virtual Size screenSize() const = 0;
    // True when an installed font family's face name is exactly this one, or when the
    // backend draws that face's text in a face it stands in for it (the Qt backend's
    // Chinese face for 微软雅黑, where that face is rarely installed).
    virtual bool isFontInstalled(std::string_view face) const = 0;
    // Each false when the system could not open it (no browser, no program for the file's kind).
    [[nodiscard]] virtual bool openInBrowser(std::string_view address) = 0;
    // Opens a file with the program the system gives its kind (a .csv in a spreadsheet).
    [[nodiscard]] virtual bool openFile(std::string_view path) = 0;
    // Ends the message loop; the program then exits with this code.
    virtual void quit(int exitCode) = 0;
    // The native handle of a unit, for services that talk to it directly (the voice's
    // notifications); null where there is none.
    virtual NativeWindow nativeHandle(WindowId window, std::string_view unit) const = 0;

    // The floating button over every other window; null where the backend has none.
    virtual std::unique_ptr<FloatButton> createFloatButton(const FloatButtonOptions& options,
                                                           FloatButtonEvents& events);
    // What the menu adds to the floating button's switch where the desktop limits it (Wayland).
    virtual std::string floatButtonRemark() const { return {}; }
    // True while a box or a menu of the program waits for the teacher: a tap or a call
    // from another program then does nothing.
    virtual bool isWaitingForAnswer() const { return false; }
};

} // namespace tallyra::ui
