// The window scenarios on the in-memory toolkit.
#include "tests/ui/memory_driver.h"
#include "tests/ui/window_scenarios.h"

namespace tallyra::ui::testing {

INSTANTIATE_TEST_SUITE_P(Toolkit, WindowScenarios,
                         ::testing::Values(DriverKind{"Memory", [] { return std::make_unique<MemoryDriver>(); }}),
                         driverName);

} // namespace tallyra::ui::testing
