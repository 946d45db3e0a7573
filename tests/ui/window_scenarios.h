// Scenarios of the six windows that every toolkit's driver runs (window_scenarios.cpp);
// each test executable instantiates them with its drivers:
//   INSTANTIATE_TEST_SUITE_P(Toolkit, WindowScenarios, ::testing::Values(DriverKind{...}), driverName);
#pragma once

#include "tests/support/program_folder.h"
#include "tests/ui/window_driver.h"
#include "ui/windows/window_set.h"

#include <gtest/gtest.h>

namespace tallyra::ui::testing {

class WindowScenarios : public ::testing::TestWithParam<DriverKind> {
protected:
    void SetUp() override { driver = GetParam().make(); }
    void TearDown() override {
        windows.reset();
        driver.reset();
    }
    WindowId start();
    bool isVisible(WindowId window) { return driver->toolkit().isWindowVisible(window); }

    tallyra::testing::ProgramFolder folder;
    RollCall rollCall;
    std::unique_ptr<WindowDriver> driver;
    std::unique_ptr<WindowSet> windows;
};

inline std::string driverName(const ::testing::TestParamInfo<DriverKind>& info) {
    return info.param.name;
}

} // namespace tallyra::ui::testing
