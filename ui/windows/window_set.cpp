#include "ui/windows/window_set.h"

#include "ui/windows/about_windows.h"
#include "ui/windows/absence_window.h"
#include "ui/windows/class_management_window.h"
#include "ui/windows/record_window.h"
#include "ui/windows/round_menu.h"
#include "ui/windows/teaching_menu.h"
#include "ui/windows/settings_window.h"

namespace tallyra::ui {

WindowSet::WindowSet(Toolkit& toolkit, RollCall& rollCall, DataFolder data, MainWindow::Services services)
    : toolkit_(toolkit), rollCall_(rollCall), data_(std::move(data)), session_(rollCall, toolkit, data_) {
    session_.setListener(this);
    if (!services.openSettings) services.openSettings = [this] { openSettings(); };
    if (!services.anotherWindowOpen)
        services.anotherWindowOpen = [this] {
            return settings() || classManagement() || about() || changelog() || support() || absence() || record();
        };
    main_ = std::make_unique<MainWindow>(toolkit, session_, std::move(services));
    addRoundMenuItems(*this);
    addTeachingMenuItems(*this);
}

WindowSet::~WindowSet() {
    session_.setListener(nullptr);
}

template <typename Window> Window* WindowSet::ifOpen(const std::unique_ptr<Window>& window) {
    return window && window->isOpen() ? window.get() : nullptr;
}

SettingsWindow* WindowSet::settings() {
    return ifOpen(settings_);
}
ClassManagementWindow* WindowSet::classManagement() {
    return ifOpen(classManagement_);
}
AboutWindow* WindowSet::about() {
    return ifOpen(about_);
}
ChangelogWindow* WindowSet::changelog() {
    return ifOpen(changelog_);
}
SupportWindow* WindowSet::support() {
    return ifOpen(support_);
}
AbsenceWindow* WindowSet::absence() {
    return ifOpen(absence_);
}
RecordWindow* WindowSet::record() {
    return ifOpen(record_);
}

// A window that is already open is not opened a second time.
template <typename Window> void WindowSet::openOnce(std::unique_ptr<Window>& window) {
    if (ifOpen(window)) return;
    window = std::make_unique<Window>(*this);
    window->open();
}

void WindowSet::openSettings() {
    openOnce(settings_);
}
void WindowSet::openClassManagement() {
    openOnce(classManagement_);
}
void WindowSet::openAbout() {
    openOnce(about_);
}
void WindowSet::openChangelog() {
    openOnce(changelog_);
}
void WindowSet::openSupport() {
    openOnce(support_);
}
void WindowSet::openAbsence() {
    openOnce(absence_);
}
void WindowSet::openRecord() {
    openOnce(record_);
}

void WindowSet::showSettings() {
    if (SettingsWindow* window = settings()) toolkit_.showWindow(window->id(), true);
}

void WindowSet::onCurrentClassChanged(bool emptiesDisplay) {
    main_->showCurrentClass(emptiesDisplay);
    if (SettingsWindow* window = settings()) window->showCurrentClass();
}

void WindowSet::onClassListChanged() {
    if (SettingsWindow* window = settings()) window->showClasses();
}

void WindowSet::showMain() {
    main_->show();
}

void WindowSet::showAbout() {
    if (AboutWindow* window = about()) toolkit_.showWindow(window->id(), true);
}

} // namespace tallyra::ui
