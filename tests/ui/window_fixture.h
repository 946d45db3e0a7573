// The whole set of windows on the in-memory toolkit, in a temporary program folder.
#pragma once

#include "tests/support/program_folder.h"
#include "tests/ui/memory_toolkit.h"
#include "ui/windows/about_windows.h"
#include "ui/windows/class_management_window.h"
#include "ui/windows/settings_window.h"
#include "ui/windows/window_set.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace tallyra::ui {

// Both the settings and the class management window call their class box so.
inline constexpr std::string_view kClassBox = settings_units::kClassBox;
static_assert(settings_units::kClassBox == class_management_units::kClassBox);

} // namespace tallyra::ui

namespace tallyra::ui::testing {

using tallyra::testing::ProgramFolder;

class WindowFixture : public ::testing::Test {
protected:
    WindowId startProgram() {
        windows = std::make_unique<WindowSet>(toolkit, rollCall, folder.data(), MainWindow::Services{});
        return windows->main().open();
    }
    WindowId openSettings() {
        if (!windows) startProgram();
        toolkit.click(mainId(), main_units::kSettingsButton);
        return windows->settings()->id();
    }
    WindowId openClassManagement() {
        const WindowId settings = windows && windows->settings() ? windows->settings()->id() : openSettings();
        toolkit.click(settings, settings_units::kClassManagementButton);
        return windows->classManagement()->id();
    }

    WindowId mainId() { return windows->main().id(); }
    WindowId settingsId() { return windows && windows->settings() ? windows->settings()->id() : kNoWindow; }

    std::string setting(std::string_view section, std::string_view key) {
        return readIniItem(folder.data().settingsFile(), section, key);
    }
    std::string classList() { return setting(kClassSection, kClassNameKey); }
    std::string current() { return setting(kClassSection, kDefaultKey); }
    std::vector<std::string> items(WindowId window) { return toolkit.unit(window, kClassBox).items; }
    int selected(WindowId window) { return toolkit.selection(window, kClassBox); }
    std::string title() { return toolkit.text(mainId(), shared::kTitle); }

    static std::string fileBytes(const FilePath& file) {
        std::ifstream in(toFsPath(file), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    // Which windows are visible, by design name.
    std::vector<std::string> visibleWindows() {
        std::vector<std::string> names;
        for (std::string_view name : {"MainWindow", "SettingsWindow", "ClassManagementWindow", "AboutWindow",
                                      "ChangelogWindow", "SupportWindow"}) {
            const WindowId id = toolkit.find(name);
            if (id != kNoWindow && toolkit.isWindowVisible(id)) names.emplace_back(name);
        }
        return names;
    }

    ProgramFolder folder;
    MemoryToolkit toolkit;
    RollCall rollCall;
    std::unique_ptr<WindowSet> windows;
};

} // namespace tallyra::ui::testing
