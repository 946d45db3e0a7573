// The window scenarios on the Qt backend, offscreen: real widgets, real events;
// and what only this backend decides: the face the units are drawn in, fonts in pixels.
#include "tests/qt/qt_driver.h"
#include "tests/ui/memory_driver.h"
#include "tests/ui/window_scenarios.h"
#include "ui/about_windows.h"
#include "ui/class_management_window.h"
#include "ui/main_window.h"
#include "ui/settings_window.h"
#include "ui/window_set.h"
#include "ui/qt/fonts.h"
#include "ui/qt/top_window.h"
#include "ui/qt/unit_timer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QScreen>
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

// Every window and unit of the six windows sits, and every text is as high, as the shared
// arithmetic puts them at the screen's DPI (the in-memory toolkit shows where that is):
// Qt's own scaling is off, so nothing is scaled twice. ctest runs this once more at 120 DPI.
TEST(QtBackend, WindowsUnitsAndFontsAreRescaledOnceAtTheScreensDpi) {
    tallyra::testing::ProgramFolder folder;
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1"}, {"甲"}});
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    QtDriver qtDriver;
    MemoryDriver memoryDriver;
    auto& memory = static_cast<MemoryToolkit&>(memoryDriver.toolkit());
    memory.pixelsPerInch = static_cast<int>(std::lround(screen->logicalDotsPerInchX()));
    memory.screen = {screen->geometry().width(), screen->geometry().height()};
    auto& qtToolkit = static_cast<qt::QtToolkit&>(qtDriver.toolkit());

    RollCall qtRollCall, memoryRollCall;
    WindowSet onQt(qtToolkit, qtRollCall, MainWindow::Services{});
    WindowSet inMemory(memory, memoryRollCall, MainWindow::Services{});
    std::vector<std::pair<WindowId, WindowId>> windows{{onQt.main().open(), inMemory.main().open()}};
    ASSERT_EQ(qtToolkit.horizontalPixelsPerInch(windows[0].first), memory.pixelsPerInch);
    if (qEnvironmentVariableIsSet("QT_FONT_DPI")) {
        ASSERT_EQ(memory.pixelsPerInch, qEnvironmentVariableIntValue("QT_FONT_DPI"));
    }
    for (WindowSet* set : {&onQt, &inMemory}) {
        set->openSettings();
        set->openClassManagement();
        set->openAbout();
        set->openChangelog();
        set->openSupport();
    }
    windows.emplace_back(onQt.settings()->id(), inMemory.settings()->id());
    windows.emplace_back(onQt.classManagement()->id(), inMemory.classManagement()->id());
    windows.emplace_back(onQt.about()->id(), inMemory.about()->id());
    windows.emplace_back(onQt.changelog()->id(), inMemory.changelog()->id());
    windows.emplace_back(onQt.support()->id(), inMemory.support()->id());

    for (const auto& [onScreen, expected] : windows) {
        const WindowState& model = memory.window(expected);
        SCOPED_TRACE(model.design->name);
        const QWidget* top = qtToolkit.topWindow(onScreen);
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->devicePixelRatioF(), 1.0); // Qt scales nothing
        EXPECT_EQ(top->width(), model.rect.width);
        EXPECT_EQ(top->height(), model.rect.height);
        for (const auto& [name, unit] : model.units) {
            const QWidget* widget = qtToolkit.unitWidget(onScreen, name);
            if (!widget) continue; // timers
            SCOPED_TRACE(name);
            EXPECT_EQ(widget->geometry(), QRect(unit.rect.left, unit.rect.top, unit.rect.width, unit.rect.height));
            if (unit.charHeight > 0) {
                EXPECT_EQ(widget->font().pixelSize(), unit.charHeight);
            }
        }
    }
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
