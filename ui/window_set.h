// The program's windows and the navigation between them. Only one of them is
// visible at a time: a window that opens another hides itself, and a window that
// closes shows its opener again — also when it is closed from the taskbar or
// with Alt+F4, so the program never runs with no window to be seen.
#pragma once

#include "draw/roll_call.h"
#include "ui/main_window.h"
#include "ui/toolkit.h"

#include <memory>
#include <optional>

namespace tallyra::ui {

class SettingsWindow;
class ClassManagementWindow;
class AboutWindow;
class ChangelogWindow;
class SupportWindow;

class WindowSet {
public:
    WindowSet(Toolkit& toolkit, RollCall& rollCall, MainWindow::Services services);
    ~WindowSet();

    Toolkit& toolkit() { return toolkit_; }
    RollCall& rollCall() { return rollCall_; }
    MainWindow& main() { return *main_; }

    // Each opens its window (built afresh from its layout) without owner, not modal.
    void openSettings();
    void openClassManagement();
    void openAbout();
    void openChangelog();
    void openSupport();

    // The open windows; null while a window is not open.
    SettingsWindow* settings();
    ClassManagementWindow* classManagement();
    AboutWindow* about();
    ChangelogWindow* changelog();
    SupportWindow* support();

    // Shows the window if it is open.
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
    void classRenamed(int index, std::string_view newName);
    // The class at index is gone. The class now at next, if any, becomes current;
    // when it was the last class, the main window names none and shows no student.
    void classDeleted(int index, std::optional<int> next, bool lastClass);

private:
    template <typename Window> Window* ifOpen(const std::unique_ptr<Window>& window);
    template <typename Window> void openOnce(std::unique_ptr<Window>& window);

    Toolkit& toolkit_;
    RollCall& rollCall_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<ClassManagementWindow> classManagement_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<ChangelogWindow> changelog_;
    std::unique_ptr<SupportWindow> support_;
};

// Base of the secondary windows: its id, and whether it has been destroyed.
class SecondaryWindow : public WindowEvents {
public:
    explicit SecondaryWindow(WindowSet& windows) : windows_(windows), toolkit_(windows.toolkit()) {}

    WindowId id() const { return window_; }
    bool isOpen() const { return window_ != kNoWindow && !destroyed_; }

    // Builds the window afresh from its layout (its created event runs meanwhile) and shows it.
    void open() {
        toolkit_.openWindow(design(), *this);
        toolkit_.showWindow(window_, true);
    }

    void onCreated(WindowId window) override {
        window_ = window;
        onOpened();
    }
    void onDestroying(WindowId) override {
        destroyed_ = true;
        onClosed();
    }

protected:
    virtual const WindowDesign& design() const = 0;
    virtual void onOpened() = 0;
    // Runs however the window is destroyed.
    virtual void onClosed() = 0;

    WindowSet& windows_;
    Toolkit& toolkit_;
    WindowId window_ = kNoWindow;
    bool destroyed_ = false;
};

// Rescales a window for the DPI scale: places it, then each listed unit with the
// routine of its kind and its font size in points (none: geometry only).
struct UnitRescale {
    std::string_view unit;
    std::optional<int> points;
};
void rescaleWindow(Toolkit& toolkit, WindowId window, const WindowDesign& design, std::span<const UnitRescale> units);

} // namespace tallyra::ui
