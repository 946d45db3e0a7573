// The program's windows and the navigation between them. Only one of them is
// visible at a time: a window that opens another hides itself, and a window that
// closes shows its opener again — also when it is closed from the taskbar or
// with Alt+F4, so the program never runs with no window to be seen.
#pragma once

#include "draw/roll_call.h"
#include "draw/round_keeper.h"
#include "ui/windows/main_window.h"
#include "ui/kit/toolkit.h"

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

class WindowSet {
public:
    WindowSet(Toolkit& toolkit, RollCall& rollCall, DataFolder data, MainWindow::Services services);
    ~WindowSet();

    Toolkit& toolkit() { return toolkit_; }
    RollCall& rollCall() { return rollCall_; }
    const DataFolder& data() const { return data_; }
    // The current class's round, absences and record, kept in Data.
    RoundKeeper& round() { return round_; }
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

    // What the class management window tells after it has written a change; the
    // window set keeps the settings window's class box and the main window in step.
    // True when a class is current (the settings window's class box has a selection).
    bool hasCurrentClass();
    // A class joined the list at its end; with current it is also selected.
    void classAdded(std::string_view name, bool current);
    // The current class is now this one: the main window is retitled.
    void currentClassChanged(std::string_view name);
    // The settings window made this class current: the main window is retitled and its display emptied.
    void classChosen(std::string_view name);
    void classRenamed(int index, std::string_view newName);
    // The class at index is gone. The class now at next, if any, becomes current;
    // when it was the last class, the main window names none and shows no student.
    void classDeleted(int index, std::optional<int> next, bool lastClass);
    // Another copy changed the class list: the settings window shows it as it now is.
    void classListChanged();

private:
    template <typename Window> Window* ifOpen(const std::unique_ptr<Window>& window);
    template <typename Window> void openOnce(std::unique_ptr<Window>& window);

    Toolkit& toolkit_;
    RollCall& rollCall_;
    DataFolder data_;
    RoundKeeper round_;
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
