// The window scenarios on the Qt backend, offscreen: real widgets, real events.
#include "tests/qt/qt_driver.h"
#include "tests/ui/window_scenarios.h"

#include <QApplication>

namespace tallyra::ui::testing {

INSTANTIATE_TEST_SUITE_P(Toolkit, WindowScenarios,
                         ::testing::Values(DriverKind{"Qt", [] { return std::make_unique<QtDriver>(); }}), driverName);

} // namespace tallyra::ui::testing

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tallyra::ui::qt::prepareApplication();
    QApplication application(argc, argv);
    tallyra::ui::qt::setUpApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
