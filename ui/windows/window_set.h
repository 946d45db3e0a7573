// The program's windows and the navigation between them. Only one of them is
// visible at a time: a window that opens another hides itself, and a window that
// closes shows its opener again — also when it is closed from the taskbar or
// with Alt+F4, so the program never runs with no window to be seen. The set owns
// the class session and is its listener: it has the main window and the settings
// window render what the session says.
#pragma once

#include "draw/class_session.h"
#include "draw/roll_call.h"
#include "ui/kit/toolkit.h"
#include "ui/windows/main_window.h"

#include <memory>
#include <optional>

namespace tallyra::ui {

class SettingsWindow;
class ClassManagementWindow;
class AboutWindow;
class ChangelogWindow;
class SupportWindow;
class AbsenceWindow;
class RecordWindow;

class WindowSet : private ClassSession::Listener {
public:
    WindowSet(Toolkit& toolkit, RollCall& rollCall, DataFolder data, MainWindow::Services services);
    ~WindowSet() override;

    Toolkit& toolkit() { return toolkit_; }
    RollCall& rollCall() { return rollCall_; }
    const DataFolder& data() const { return data_; }
    // The current class, its round and absences, the class list and the class operations.
    ClassSession& session() { return session_; }
    MainWindow& main() { return *main_; }
    // The DPI scale the main window measured at start-up.
    float dpiScale() const { return main_->dpiScale(); }

    // Each opens its window (built afresh from its layout) without owner, not modal.
    void openSettings();
    void openClassManagement();
    void openAbout();
    void openChangelog();
    void openSupport();
    // From the main window's menu: today's absent students, and the record of picks.
    void openAbsence();
    void openRecord();

    // The open windows; null while a window is not open.
    SettingsWindow* settings();
    ClassManagementWindow* classManagement();
    AboutWindow* about();
    ChangelogWindow* changelog();
    SupportWindow* support();
    AbsenceWindow* absence();
    RecordWindow* record();

    // Shows the window if it is open.
    void showMain();
    void showSettings();
    void showAbout();

private:
    void onCurrentClassChanged(bool emptiesDisplay) override;
    void onClassListChanged() override;
    template <typename Window> Window* ifOpen(const std::unique_ptr<Window>& window);
    template <typename Window> void openOnce(std::unique_ptr<Window>& window);

    Toolkit& toolkit_;
    RollCall& rollCall_;
    DataFolder data_;
    ClassSession session_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<ClassManagementWindow> classManagement_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<ChangelogWindow> changelog_;
    std::unique_ptr<SupportWindow> support_;
    std::unique_ptr<AbsenceWindow> absence_;
    std::unique_ptr<RecordWindow> record_;
};

} // namespace tallyra::ui
