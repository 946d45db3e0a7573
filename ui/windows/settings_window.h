// The settings window: the current class, the speech switch, and the way to the
// class management window, the about window and the update notice.
#pragma once

#include "ui/windows/secondary_window.h"

namespace tallyra::ui {

extern const WindowDesign kSettingsWindowDesign;

// The forum page where updates are published; opened in the default browser.
inline constexpr std::string_view kUpdatePageAddress = "https://bbs.korvane.com/home.php?mod=space&do=thread&view=me";

inline constexpr Message kUpdateNotice{"更新受限",
                                       "由于Korvane论坛规则的限制，当前版本无法进行在线检测更新，接下来将为您跳转到我的"
                                       "帖子页，或者您也可以在原帖寻找更新！"
                                       "\r\n确实要跳转吗？",
                                       kQuestionOkCancel};

// No browser opened the update page: its address, to be typed by hand.
std::string updatePageNotOpenedText();

// The settings window's units, besides the shared title bar and content area.
namespace settings_units {
inline constexpr std::string_view kClassLabel = "classLabel";
inline constexpr std::string_view kClassBox = "classBox";
inline constexpr std::string_view kVoiceLabel = "voiceLabel";
inline constexpr std::string_view kVoiceOn = "voiceOnRadio";
inline constexpr std::string_view kVoiceOff = "voiceOffRadio";
inline constexpr std::string_view kClassManagementFrame = "classManagementFrame";
inline constexpr std::string_view kClassManagementButton = "classManagementButton";
inline constexpr std::string_view kAboutFrame = "aboutFrame";
inline constexpr std::string_view kAboutButton = "aboutButton";
inline constexpr std::string_view kUpdateFrame = "updateFrame";
inline constexpr std::string_view kUpdateButton = "updateButton";
} // namespace settings_units

class SettingsWindow : public SecondaryWindow {
public:
    explicit SettingsWindow(WindowSet& windows) : SecondaryWindow(windows) {}

    // Makes the class chosen in the class box current (through the session).
    void applyClassChoice();

    // The class box shows the session's class list, and the class it shows as current.
    void showClasses();
    void showCurrentClass();

    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;

private:
    const WindowDesign& design() const override { return kSettingsWindowDesign; }
    void onOpened() override;
    void onClosed() override;
};

} // namespace tallyra::ui
