// An in-memory toolkit: windows and units as plain records, so window behaviour
// can be driven and observed in tests (click a unit by name, tick a timer, answer
// the next message box, read any unit's text, geometry and font).
#pragma once

#include "tests/support/print_message.h"
#include "ui/kit/float_button.h"
#include "ui/kit/toolkit.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tallyra::ui::testing {

struct UnitState {
    const UnitDesign* design = nullptr;
    Rect rect;
    std::string text;
    int charHeight = 0; // pixels
    bool visible = true;
    int interval = 0;
    std::vector<std::string> items;
    std::vector<bool> itemChecks; // check lists
    int selection = -1;
    std::optional<std::size_t> selectedLine; // edit boxes
    bool checked = false;
    TextFit fit = TextFit::None;
};

struct WindowState {
    const WindowDesign* design = nullptr;
    WindowEvents* events = nullptr;
    Rect rect;
    bool visible = false;
    bool minimised = false;
    bool floating = false;
    std::optional<HotKey> hotKey;
    bool destroyed = false;
    std::map<std::string, UnitState, std::less<>> units;
};

class MemoryToolkit : public Toolkit {
public:
    // Screen and system as the test sets them.
    int pixelsPerInch = 96;
    Size screen{1024, 768};
    std::set<std::string, std::less<>> installedFonts{"微软雅黑", "宋体"};

    // Everything observable in order: "message:<title>", "ask:<title>", "open:<window>", "quit:<code>"...
    std::vector<std::string> log;
    std::vector<Message> messages;
    std::deque<MessageAnswer> answers;             // next answers to message boxes (default Ok/Yes... see .cpp)
    std::deque<std::optional<std::string>> inputs; // next answers to input boxes
    std::string clipboard;
    std::vector<std::string> proposedInputs;       // what each input box held when it opened
    std::deque<std::optional<std::string>> chosenFiles; // next answers to open-file dialogs
    std::set<std::pair<WindowId, std::string>, std::less<>> dropUnits; // units that take dropped files
    std::vector<std::string> openedAddresses;
    std::vector<std::string> openedFiles;
    bool systemOpens = true; // false: no browser, no program for a file's kind
    std::optional<int> exitCode;
    bool dpiAwareDeclared = false;
    // Menus shown, and the next choices made in them (none: dismissed).
    std::vector<std::vector<MenuItem>> menus;
    std::deque<std::optional<int>> menuChoices;
    std::string menuChoiceText; // chooseMenuItem's item
    // Keys another program holds, and whether the session lets a program grab keys at all.
    std::vector<HotKey> takenHotKeys;
    bool hotKeysSupported = true;
    // Questions asked with the remote's answers.
    int remoteQuestions = 0;
    // The floating button while one is shown (its events, to drive it), and what it was made with.
    bool floatButtonsSupported = true;
    FloatButtonEvents* floatButton = nullptr;
    FloatButtonOptions floatButtonOptions;
    // What isWaitingForAnswer says: a box or a menu is open.
    bool waitingForAnswer = false;
    // Runs while each menu or message box is open (the teacher, or the hot key, acting meanwhile).
    std::function<void()> whileOpen;

    // A line as fitting measures it here: digits, Latin letters and blanks half as wide as they are high,
    // every other character square; a line is 5/4 of the character height.
    static Size measureLine(std::string_view line, int charHeight);

    // Test drivers.
    void click(WindowId window, std::string_view unit);
    void pressLink(WindowId window, std::string_view unit);
    void choose(WindowId window, std::string_view unit, int index);
    // A key going down or up while the window is active.
    void key(WindowId window, Key key, KeyAction action);
    void doubleClick(WindowId window, std::string_view unit);
    // A right click on the window (or the menu key); then the choice is made from menuChoices.
    void requestMenu(WindowId window);
    // Chooses the item with this text from the window's menu; false when there is none.
    bool chooseMenuItem(WindowId window, std::string_view text);
    // The global hot key pressed while another program has the focus; false when the window has none.
    bool pressHotKey(WindowId window);
    // A key pressed in the window as the hot key sees it, then as onKey does.
    void stroke(WindowId window, HotKey stroke);
    // A file dropped on a unit; false when the unit takes no drops.
    bool dropFile(WindowId window, std::string_view unit, std::string_view path);
    // Runs one tick of a timer when its interval is above 0; false when it is stopped.
    bool tick(WindowId window, std::string_view unit);

    WindowState& window(WindowId window);
    const WindowState& window(WindowId window) const;
    UnitState& unit(WindowId window, std::string_view unit);
    const UnitState& unit(WindowId window, std::string_view unit) const;
    // The most recently opened window with this design name that is not destroyed.
    WindowId find(std::string_view designName) const;
    // Every window that is not destroyed, in the order they were opened.
    std::vector<WindowId> openWindows() const;

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
    HotKeyState setHotKey(WindowId window, HotKey key) override;
    void floatWindow(WindowId window, bool floating) override;
    MessageAnswer askWithRemote(const Message& question) override;
    Rect monitorRect(WindowId window) const override;
    std::optional<int> showMenu(WindowId window, std::optional<Point> at, std::span<const MenuItem> items) override;
    void setTimerInterval(WindowId window, std::string_view unit, int milliseconds) override;
    void clearItems(WindowId window, std::string_view unit) override;
    void addItem(WindowId window, std::string_view unit, std::string_view text) override;
    void removeItem(WindowId window, std::string_view unit, int index) override;
    int itemCount(WindowId window, std::string_view unit) const override;
    std::string itemText(WindowId window, std::string_view unit, int index) const override;
    int selection(WindowId window, std::string_view unit) const override;
    void setSelection(WindowId window, std::string_view unit, int index) override;
    void selectLine(WindowId window, std::string_view unit, std::size_t line) override;
    void setChecked(WindowId window, std::string_view unit, bool checked) override;
    bool isChecked(WindowId window, std::string_view unit) const override;
    void setItemChecked(WindowId window, std::string_view unit, int index, bool checked) override;
    bool isItemChecked(WindowId window, std::string_view unit, int index) const override;
    MessageAnswer showMessage(const Message& message) override;
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
    bool openFile(std::string_view path) override {
        openedFiles.emplace_back(path);
        return systemOpens;
    }
    std::unique_ptr<FloatButton> createFloatButton(const FloatButtonOptions& options,
                                                   FloatButtonEvents& events) override;
    bool isWaitingForAnswer() const override { return waitingForAnswer; }
    void quit(int exitCode) override;
    NativeWindow nativeHandle(WindowId window, std::string_view unit) const override;

private:
    // A wrong window or unit fails the test and hands out a blank stand-in: throwing
    // would pass through the program's code, which the Windows build compiles without
    // exception handling.
    WindowState& missingWindow(const std::string& what);
    UnitState& missingUnit(const std::string& what);

    std::map<WindowId, WindowState> windows_;
    WindowId nextId_ = 1;
    WindowState missingWindow_;
    UnitState missingUnit_;
};

} // namespace tallyra::ui::testing
