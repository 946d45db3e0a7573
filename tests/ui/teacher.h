// A teacher at one running copy of the program on the in-memory toolkit: opens
// the class management window and adds, saves, deletes and chooses classes by
// name, as the fault-injection and two-copies tests do.
#pragma once

#include "tests/ui/window_fixture.h"

#include <algorithm>

namespace tallyra::ui::testing {

// The units a teacher uses here.
namespace unit {
inline constexpr std::string_view kMainTitle = shared::kTitle, kSettingsButton = main_units::kSettingsButton,
                                  kStartStop = main_units::kStartStop, kTimer = main_units::kRollTimer,
                                  kNumber = main_units::kNumber, kName = main_units::kName;
inline constexpr std::string_view kClassManagementButton = settings_units::kClassManagementButton;
inline constexpr std::string_view kAdd = class_management_units::kAddButton,
                                  kNameBox = class_management_units::kNameBox,
                                  kRosterBox = class_management_units::kRosterBox,
                                  kSave = class_management_units::kSaveButton,
                                  kDelete = class_management_units::kDeleteButton;
} // namespace unit

// One running copy of the program on the in-memory toolkit.
struct Program {
    MemoryToolkit toolkit;
    RollCall rollCall;
    std::unique_ptr<WindowSet> windows;
    WindowId main = kNoWindow, settings = kNoWindow, classes = kNoWindow;

    explicit Program(const DataFolder& data) {
        windows = std::make_unique<WindowSet>(toolkit, rollCall, data, MainWindow::Services{});
        main = windows->main().open();
    }
    void openClassManagement() {
        toolkit.click(main, unit::kSettingsButton);
        settings = windows->settings()->id();
        toolkit.click(settings, unit::kClassManagementButton);
        classes = windows->classManagement()->id();
    }
    std::vector<std::string> items(WindowId window) { return toolkit.unit(window, kClassBox).items; }
    int indexOf(WindowId window, std::string_view name) {
        const auto all = items(window);
        const auto found = std::find(all.begin(), all.end(), name);
        return found == all.end() ? -1 : static_cast<int>(found - all.begin());
    }
    bool titleNames(std::string_view name) {
        return toolkit.text(main, unit::kMainTitle).find("[" + std::string(name) + "]") != std::string::npos;
    }

    void add(const std::string& name) {
        toolkit.inputs.push_back(name);
        toolkit.click(classes, unit::kAdd);
    }
    void save(std::string_view className, const std::string& newName, const std::string& rosterText) {
        toolkit.choose(classes, kClassBox, indexOf(classes, className));
        toolkit.setText(classes, unit::kNameBox, newName);
        toolkit.setText(classes, unit::kRosterBox, rosterText);
        toolkit.click(classes, unit::kSave);
    }
    void remove(std::string_view className) {
        toolkit.choose(classes, kClassBox, indexOf(classes, className));
        toolkit.answers.push_back(MessageAnswer::Yes);
        toolkit.click(classes, unit::kDelete);
    }
    void choose(std::string_view className) { toolkit.choose(settings, kClassBox, indexOf(settings, className)); }
};

} // namespace tallyra::ui::testing
