// The window scenarios on the Qt backend, offscreen: real widgets, real events;
// and what only this backend decides: the face the units are drawn in, fonts in pixels.
#include "tests/qt/qt_driver.h"
#include "tests/ui/window_scenarios.h"
#include "ui/main_window.h"
#include "ui/qt/fonts.h"
#include "ui/qt/unit_timer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>
#include <QWidget>

namespace tallyra::ui::testing {

INSTANTIATE_TEST_SUITE_P(Toolkit, WindowScenarios,
                         ::testing::Values(DriverKind{"Qt", [] { return std::make_unique<QtDriver>(); }}), driverName);

TEST(QtBackend, UnitsAreDrawnInAnInstalledChineseFaceWithFontsInPixels) {
    const QString& face = qt::chineseFace();
    ASSERT_FALSE(face.isEmpty()) << "the test machine has a Chinese face (fonts-wqy-microhei)";
    EXPECT_TRUE(QFontDatabase::families(QFontDatabase::SimplifiedChinese).contains(face));
    // 微软雅黑 where it is installed; otherwise the Chinese face draws it, and the font check is content.
    EXPECT_EQ(qt::resolvedFace(kYaHei), face);
    EXPECT_EQ(qt::resolvedFace(""), face);
    QtDriver driver;
    Toolkit& toolkit = driver.toolkit();
    EXPECT_TRUE(toolkit.isFontInstalled(kYaHei));
    EXPECT_FALSE(toolkit.isFontInstalled("No Such Face"));

    tallyra::testing::ProgramFolder folder;
    folder.prepare("", "");
    RollCall rollCall;
    WindowSet windows(toolkit, rollCall, MainWindow::Services{});
    const WindowId main = windows.main().open();
    ASSERT_EQ(toolkit.horizontalPixelsPerInch(main), 96);
    QWidget* name = static_cast<qt::QtToolkit&>(toolkit).unitWidget(main, main_units::kName);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(QFontInfo(name->font()).family(), face);
    EXPECT_EQ(name->font().pixelSize(), 107); // the layout's character height at 96 DPI
    toolkit.setFontSize(main, main_units::kName, 11);
    EXPECT_EQ(name->font().pixelSize(), 15); // 11 points at 96 pixels per inch, rounded
}

TEST(QtBackend, ATimerCountsItsIntervalsAndDeliversThemOnceAFrame) {
    // Every 10 ms interval is counted, though they come a frame's worth at a time.
    int ticks = 0;
    int mostAtOnce = 0;
    int inThisFrame = 0;
    qt::UnitTimer timer([&] { ++ticks, ++inThisFrame; }, nullptr);
    QElapsedTimer clock;
    clock.start();
    timer.start(10);
    while (clock.elapsed() < 400) {
        inThisFrame = 0;
        QTest::qWait(5);
        mostAtOnce = std::max(mostAtOnce, inThisFrame);
    }
    const qint64 elapsed = clock.elapsed();
    EXPECT_LE(ticks, elapsed / 10 + 1);
    EXPECT_GE(ticks, elapsed / 10 / 2); // one tick a frame would be a third
    EXPECT_GE(mostAtOnce, 2);

    // A tick that stops its timer ends the frame's ticks there: the first frame has three due.
    int stoppedAfter = 0;
    qt::UnitTimer stopping(
        [&] {
            if (++stoppedAfter == 2) stopping.stop();
        },
        nullptr);
    stopping.start(10);
    QTRY_VERIFY(!stopping.isActive());
    EXPECT_EQ(stoppedAfter, 2);
}

} // namespace tallyra::ui::testing

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tallyra::ui::qt::prepareApplication();
    QApplication application(argc, argv);
    tallyra::ui::qt::setUpApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
