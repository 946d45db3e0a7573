// What the driver knows about Tallyra's windows: which top-level window is which,
// the control IDs of their units (1000 + the unit's row in its layout table), and
// a session that runs the program in a fresh folder of its own.
#pragma once

#include "automation.h"
#include "runner.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace e2e {

enum class Win { Main, Settings, ClassManagement, About, Changelog, Support, MultiDraw };
std::string windowName(Win window);

// A unit of one of the windows; the ID is the first control ID plus its row in the layout.
struct Unit {
    Win window;
    int row;
    const char* name;
    int controlId() const { return 1000 + row; }
};

namespace units {
// Main window.
inline constexpr Unit kMainTitle{Win::Main, 0, "Tallyra"};
inline constexpr Unit kMainMinimise{Win::Main, 1, "按钮_最小化"};
inline constexpr Unit kMainClose{Win::Main, 2, "按钮_关闭"};
inline constexpr Unit kMainContent{Win::Main, 3, "外形框1"};
inline constexpr Unit kNumber{Win::Main, 4, "学号"};
inline constexpr Unit kName{Win::Main, 5, "姓名"};
inline constexpr Unit kStartFrame{Win::Main, 6, "按钮1"};
inline constexpr Unit kStart{Win::Main, 7, "开始按钮"};
inline constexpr Unit kSettingsFrame{Win::Main, 8, "按钮2"};
inline constexpr Unit kSettingsButton{Win::Main, 9, "其他"};
inline constexpr Unit kTimer{Win::Main, 10, "时钟1"};
inline constexpr Unit kRoundCount{Win::Main, 12, "roundCountLabel"};
inline constexpr Unit kMenuButton{Win::Main, 13, "menuButton"};
// Settings window.
inline constexpr Unit kSettingsTitle{Win::Settings, 0, "设置"};
inline constexpr Unit kSettingsClose{Win::Settings, 2, "关闭"};
inline constexpr Unit kSettingsClassBox{Win::Settings, 5, "组合框1"};
inline constexpr Unit kVoiceOn{Win::Settings, 7, "语音_开启"};
inline constexpr Unit kVoiceOff{Win::Settings, 8, "语音_关闭"};
inline constexpr Unit kClassManagementButton{Win::Settings, 10, "开始按钮"};
inline constexpr Unit kAboutButton{Win::Settings, 12, "开始按钮1"};
// Class management window.
inline constexpr Unit kManageTitle{Win::ClassManagement, 0, "Tallyra"};
inline constexpr Unit kManageClose{Win::ClassManagement, 2, "关闭"};
inline constexpr Unit kManageClassBox{Win::ClassManagement, 5, "组合框1"};
inline constexpr Unit kAddClass{Win::ClassManagement, 7, "其他"};
inline constexpr Unit kNameBox{Win::ClassManagement, 10, "编辑框2"};
inline constexpr Unit kRosterBox{Win::ClassManagement, 13, "编辑框1"};
inline constexpr Unit kSave{Win::ClassManagement, 15, "保存"};
inline constexpr Unit kDelete{Win::ClassManagement, 17, "保存1"};
inline constexpr Unit kOverlay{Win::ClassManagement, 18, "标签3"};
// About window.
inline constexpr Unit kAboutVersion{Win::About, 1, "标签2"};
inline constexpr Unit kBlogLink{Win::About, 2, "超级链接框1"};
inline constexpr Unit kSeparator3{Win::About, 3, "标签3"};
inline constexpr Unit kQqLink{Win::About, 4, "超级链接框2"};
inline constexpr Unit kSeparator4{Win::About, 5, "标签4"};
inline constexpr Unit kChangelogLink{Win::About, 6, "超级链接框3"};
inline constexpr Unit kSeparator6{Win::About, 7, "标签6"};
inline constexpr Unit kSupportLink{Win::About, 8, "超级链接框4"};
inline constexpr Unit kSeparator7{Win::About, 9, "标签7"};
inline constexpr Unit kQqGroupLink{Win::About, 10, "超级链接框5"};
inline constexpr Unit kCopyright{Win::About, 11, "标签5"};
inline constexpr Unit kForumNotice{Win::About, 12, "标签8"};
inline constexpr Unit kAboutClose{Win::About, 13, "关闭"};
// Changelog and support windows.
inline constexpr Unit kChangelogClose{Win::Changelog, 1, "关闭"};
inline constexpr Unit kChangelogText{Win::Changelog, 3, "编辑框1"};
inline constexpr Unit kSupportClose{Win::Support, 1, "关闭"};
inline constexpr Unit kSupportPicture{Win::Support, 3, "图片框1"};
// Several at once: slot i is row 10 + i.
inline constexpr Unit kMultiTitle{Win::MultiDraw, 0, "titleLabel"};
inline constexpr Unit kMultiClose{Win::MultiDraw, 1, "closeButton"};
inline constexpr Unit kDrawCount{Win::MultiDraw, 5, "drawCountBox"};
inline constexpr Unit kMultiStart{Win::MultiDraw, 7, "multiStartStopButton"};
constexpr Unit slotUnit(int index) {
    return {Win::MultiDraw, 10 + index, "slot"};
}
} // namespace units

// Items of the main window's menu, counted from its top (a class with students, no floating button).
inline constexpr int kMultiDrawItem = 7;
inline constexpr int kImportItem = 10;

inline constexpr std::wstring_view kProductTitle = L"Tallyra × Korvane";

// GBK bytes of a settings file or a roster file, written line by line with CR LF.
std::string gbkFile(std::initializer_list<std::wstring_view> lines);

// Sets an environment variable of the driver, and so of the programs it starts,
// for the lifetime of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const wchar_t* name_;
    std::optional<std::wstring> previous_;
};

// One run of the program in a fresh folder of its own (a copy of Tallyra.exe beside
// an optional Data folder). The process is killed when the session ends.
class Session {
public:
    // folderName (UTF-8) is a folder below the work root, the case's name when empty.
    Session(CaseContext& context, std::string_view folderName = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    CaseContext& context() { return context_; }
    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path dataFile(std::wstring_view name) const;
    // Writes bytes to Data\<name>.
    void writeData(std::wstring_view name, std::string_view bytes);
    // The bytes of Data\<name>, or nothing when the file is missing.
    std::optional<std::string> readData(std::wstring_view name) const;

    void start(std::wstring_view arguments = {});
    Process& process();
    DWORD processId() const { return process_ ? process_->id() : 0; }

    // The visible window of that kind, or nothing.
    HWND find(Win window) const;
    // Waits for it; a message box appearing instead fails the case with its title and text.
    HWND waitFor(Win window, Millis timeout = Millis(15000));
    // Waits until the window is gone or hidden.
    void waitGone(Win window, Millis timeout = Millis(5000));
    HWND unit(HWND window, const Unit& unit);
    std::wstring text(HWND window, const Unit& unit);
    void click(HWND window, const Unit& unit);
    // Waits for the unit's text to become the expected one; fails the case otherwise.
    void waitText(HWND window, const Unit& unit, std::wstring_view expected, Millis timeout = Millis(5000));

    // Opens the main window's menu from its button and chooses the item at this place with
    // the arrow keys (a menu of another process cannot be read under Wine).
    void chooseMenuItem(HWND main, int item);

    // Waits for a message box, checks its title, text and buttons, and answers it.
    void expectMessage(std::wstring_view title, std::wstring_view text, std::initializer_list<int> buttons, int answer,
                       Millis timeout = Millis(10000));
    // Fails the case if a message box is up.
    void expectNoMessage(const std::string& when);

    // The program's exit code after it ends by itself.
    DWORD waitExit(Millis timeout = Millis(10000));

private:
    CaseContext& context_;
    std::filesystem::path folder_;
    std::optional<Process> process_;
};

} // namespace e2e
