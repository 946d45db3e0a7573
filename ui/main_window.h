// The main window: the drawn title bar with the product name and the current
// class, the large number and name display of the roll call, Start/Stop and the
// settings button. Its creation runs the program's start-up sequence.
#pragma once

#include "draw/roll_call.h"
#include "ui/toolkit.h"

#include <functional>
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
} // namespace main_units

inline constexpr std::string_view kProductTitle = "Tallyra × Korvane";

inline constexpr Message kFontMissingWarning{
    "字体未安装", "检测到您的电脑中没有安装本程序依赖的微软雅黑字体，程序显示可能不正确！建议您安装微软雅黑字体！",
    kWarningOk};

inline constexpr Message kFirstRunNotice{
    "首次运行", "您可能是首次使用，在使用此软件之前，建议您先添加班级！请在设置中选择班级管理添加班级！",
    kInformationOk};

// "Tallyra × Korvane", with " [class]" when a class is current.
std::string mainWindowTitle(std::string_view className);

class MainWindow : public WindowEvents, public RollCallView {
public:
    struct Services {
        // The voice check of the start-up, right after the first-run step.
        std::function<void(MessageBoxes&)> checkVoices;
        // Opens the settings window (the main window has hidden itself already).
        std::function<void()> openSettings;
    };

    MainWindow(Toolkit& toolkit, RollCall& rollCall, Services services);

    // Creates the window (running the start-up sequence) and shows it.
    WindowId open();
    WindowId id() const { return window_; }
    // The DPI scale measured at start-up; every window rescales by it.
    float dpiScale() const { return dpiScale_; }

    void show();
    // Retitles the window for the current class.
    void showClassTitle(std::string_view className);
    // Empties the number and name display.
    void clearDisplay();
    // The native handle of the hidden label that the voice sends its notifications to.
    NativeWindow voiceReceiver() const;

    // WindowEvents
    void onCreated(WindowId window) override;
    void onDestroying(WindowId window) override;
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;
    // Space, Enter, Page Down/Up and the arrows press Start/Stop.
    void onKey(WindowId window, Key key, KeyAction action) override;

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

    Toolkit& toolkit_;
    RollCall& rollCall_;
    Services services_;
    WindowId window_ = kNoWindow;
    int timerInterval_ = 0;
    float dpiScale_ = 1.0f;
    // Start/stop keys that went down in this window and are not yet released.
    std::set<Key> keysDown_;
};

} // namespace tallyra::ui
