// The main window: the drawn title bar with the product name and the current
// class, the large number and name display of the roll call, Start/Stop and the
// settings button. Its creation runs the program's start-up sequence.
#pragma once

#include "draw/class_session.h"
#include "draw/roll_call.h"
#include "storage/data_folder.h"
#include "ui/kit/toolkit.h"
#include "ui/windows/main_menu.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace tallyra::ui {

extern const WindowDesign kMainWindowDesign;

// The main window's units, besides the shared title bar and content area.
namespace main_units {
inline constexpr std::string_view kNumber = "numberLabel";
inline constexpr std::string_view kName = "nameLabel";
inline constexpr std::string_view kStartStopFrame = "startStopFrame";
inline constexpr std::string_view kStartStop = "startStopButton";
inline constexpr std::string_view kSettingsFrame = "settingsFrame";
inline constexpr std::string_view kSettingsButton = "settingsButton";
inline constexpr std::string_view kRollTimer = "rollTimer";
// Hidden; the voice's notifications go to it.
inline constexpr std::string_view kFeedbackLabel = "feedbackLabel";
// Small and grey below the buttons: how many students are left in this round.
inline constexpr std::string_view kRoundCount = "roundCountLabel";
// Small in the content's top right corner, above the number: the way into the menu.
inline constexpr std::string_view kMenuButton = "menuButton";
} // namespace main_units

inline constexpr std::string_view kProductTitle = "Tallyra × Korvane";

inline constexpr Message kFontMissingWarning{
    "字体未安装", "检测到您的电脑中没有安装本程序依赖的微软雅黑字体，程序显示可能不正确！建议您安装微软雅黑字体！",
    kWarningOk};

inline constexpr std::string_view kHotKeyUnavailable = "热键不可用";
inline constexpr std::string_view kHotKeyPrompt = "请按下新的全局热键（Esc 取消）";
inline constexpr Message kHotKeyForbidden{
    kHotKeyUnavailable,
    "这个键不能用作全局热键：幻灯片放映、打字或本程序要用到它。请换一个键，例如 F9、F8 或 Ctrl+Alt+F。", kWarningOk};

inline constexpr Message kFirstRunNotSaved{
    "启动失败",
    "程序启动时未能写入设置：无法写入 Data "
    "文件夹中的文件。请确认该文件夹不是只读的且磁盘空间充足，下次启动时程序将再次尝试！",
    kErrorOk};
inline constexpr Message kFirstRunNotice{
    "首次运行", "您可能是首次使用，在使用此软件之前，建议您先添加班级！请在设置中选择班级管理添加班级！",
    kInformationOk};

// "Tallyra × Korvane", with " [class]" when a class is current.
std::string mainWindowTitle(std::string_view className);
// The title for the class the session names: with brackets whenever it names one, even with an empty name.
std::string mainWindowTitle(const std::optional<std::string>& titleClass);

class MainWindow : public WindowEvents, public RollCallView {
public:
    struct Services {
        // The voice check of the start-up, right after the first-run step.
        std::function<void(MessageBoxes&)> checkVoices;
        // Opens the settings window (the main window has hidden itself already).
        std::function<void()> openSettings;
        // True while a secondary window is open: the hot key then does nothing.
        std::function<bool()> anotherWindowOpen;
        // Told once at start, after the font check: where the data is kept now.
        std::optional<Message> dataFolderNotice;
    };

    MainWindow(Toolkit& toolkit, ClassSession& session, Services services);

    // Creates the window (running the start-up sequence) and shows it; floating and rolling,
    // as after the hot key, when another program's call started the program.
    WindowId open(bool floating = false);
    WindowId id() const { return window_; }
    // The DPI scale measured at start-up; every window rescales by it.
    float dpiScale() const { return dpiScale_; }

    void show();
    // Hides the window while another window of the program opens in its place.
    void hideForWindow();
    // Shows what the session says of the current class: the title, the count, and
    // (emptiesDisplay) no student. Ends the hot-key prompt.
    void showCurrentClass(bool emptiesDisplay);
    // Empties the number and name display.
    void clearDisplay();
    // Shows how many students are left in this round, of how many, and how many are absent.
    void showRoundCount();
    // The native handle of the hidden label that the voice sends its notifications to.
    NativeWindow voiceReceiver() const;

    // The menu of a right click, the menu key or Shift+F10; features add their items to it.
    MainMenu& menu() { return menu_; }

    // Full screen: the window fills its monitor and the number and name take the
    // largest size that fits; leaving gives back the exact rectangle it had.
    bool isFullScreen() const { return fullScreen_; }
    void setFullScreen(bool on);

    // WindowEvents
    void onCreated(WindowId window) override;
    void onDestroying(WindowId window) override;
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;
    // Space, Enter, Page Down/Up and the arrows press Start/Stop.
    // F11 and a double click on the number or name switch full screen; Escape leaves it.
    void onKey(WindowId window, Key key, KeyAction action) override;
    void onMenuRequested(WindowId window, std::optional<Point> at) override;
    // First press: floats the window over the program that has the focus and starts a
    // roll; second: stops it as Stop does; third: puts the window back.
    void onHotKey(WindowId window) override;
    // While a new hot key is asked for, the next key pressed.
    bool onKeyStroke(WindowId window, HotKey stroke) override;
    HotKey hotKey() const { return hotKey_; }
    HotKeyState hotKeyState() const { return hotKeyState_; }
    bool isFloating() const { return floating_; }

    // RollCallView
    std::string numberText() const override;
    void setNumberText(std::string_view text) override;
    std::string nameText() const override;
    void setNameText(std::string_view text) override;
    void setNumberFontSize(int points) override;
    void setCaption(std::string_view caption) override;
    void setTimerInterval(int milliseconds) override;
    MessageAnswer showMessage(const Message& message) override;

private:
    void runStartUp();
    void addOwnMenuItems();
    void startHotKey();
    std::string hotKeyMenuText() const;
    void askForHotKey();
    // Ends the prompt for a new hot key, if one is shown, retitling the window for the current class.
    void endHotKeyPrompt();
    void takeHotKey(HotKey stroke);
    // Start/Stop pressed from the keyboard, a remote or the hot key rather than the mouse.
    void pressStartStop(bool byRemote);
    void floatAndRoll();
    bool isRolling() const { return rollCall_.isRolling(); }

    Toolkit& toolkit_;
    ClassSession& session_;
    RollCall& rollCall_;
    const DataFolder& data_;
    Services services_;
    WindowId window_ = kNoWindow;
    int timerInterval_ = 0;
    float dpiScale_ = 1.0f;
    // Start/stop keys that went down in this window and are not yet released.
    std::set<Key> keysDown_;
    MainMenu menu_;
    HotKey hotKey_ = kDefaultHotKey;
    HotKeyState hotKeyState_ = HotKeyState::Unsupported;
    bool floating_ = false;
    bool askingHotKey_ = false;
    bool pressing_ = false;      // inside Start/Stop (its boxes and the announcement)
    int menuOrBoxOpen_ = 0;      // the menu, or a box raised from it or from the hot-key prompt, waits
    bool pressByRemote_ = false; // the press under way came from a key or the hot key
    bool fullScreen_ = false;
    // What full screen changes, as it was before.
    Rect windowedRect_;
    std::map<std::string_view, Rect> windowedUnits_;
};

} // namespace tallyra::ui
