// Screenshots of the six windows of the Qt backend as the X server shows them
// (run under Xvfb with the xcb platform), written as <folder>/qt-<window>.png beside
// the Windows ones, and their pixels checked against the layouts: the title bar and
// the 1-pixel frame in the window's colour, the white content area, the grey frames
// around the buttons and the buttons' white faces.
//   tallyra_qt_screenshots [gtest options] FOLDER
#include "tests/qt/qt_driver.h"
#include "tests/support/program_folder.h"
#include "ui/about_windows.h"
#include "ui/class_management_window.h"
#include "ui/settings_window.h"
#include "ui/qt/top_window.h"
#include "ui/window_set.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

using namespace tallyra;
using namespace tallyra::ui;

namespace {

int failures = 0;
QString outputFolder;

QImage grabWindow(qt::QtToolkit& toolkit, WindowId window) {
    const Rect rect = toolkit.windowRect(window);
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, rect.left, rect.top, rect.width, rect.height)
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

Rect absoluteRect(const WindowDesign& design, const UnitDesign& unit) {
    Rect rect = unit.rect;
    for (const UnitDesign* parent = design.find(unit.parent); parent; parent = design.find(parent->parent)) {
        rect.left += parent->rect.left;
        rect.top += parent->rect.top;
    }
    return rect;
}

void expect(const QImage& shot, const char* window, int x, int y, Color colour, const char* what) {
    const QColor seen = shot.pixelColor(x, y);
    const bool ok = seen == QColor(colour.red, colour.green, colour.blue);
    std::printf("%s %-16s (%d,%d) %s %s\n", ok ? "ok  " : "FAIL", window, x, y, qPrintable(seen.name()), what);
    if (!ok) ++failures;
}

void check(const QImage& shot, const WindowDesign& design, const char* window) {
    if (shot.width() != design.width || shot.height() != design.height) {
        std::printf("FAIL %-16s is %dx%d, expected %dx%d\n", window, shot.width(), shot.height(), design.width,
                    design.height);
        ++failures;
        return;
    }
    const Color background = design.background.value_or(kWhite);
    expect(shot, window, 4, 2, background, "title bar, top left");
    for (const UnitDesign& unit : design.units) {
        const Rect at = absoluteRect(design, unit);
        if (unit.kind == UnitKind::ShapeBox && unit.parent.empty()) {
            expect(shot, window, 0, design.height / 2, background, "left 1-pixel frame");
            expect(shot, window, design.width - 1, design.height / 2, background, "right 1-pixel frame");
            expect(shot, window, design.width / 2, design.height - 1, background, "bottom 1-pixel frame");
            expect(shot, window, at.left, at.top, kWhite, "content area, top left");
            expect(shot, window, at.left + at.width - 1, at.top + at.height - 1, kWhite, "content area, bottom right");
        }
        if (unit.kind == UnitKind::PictureBox && unit.background == kButtonFrameGrey) {
            expect(shot, window, at.left, at.top + at.height / 2, kButtonFrameGrey, "grey button frame, left");
            expect(shot, window, at.left + at.width - 1, at.top + 1, kButtonFrameGrey, "grey button frame, right");
            expect(shot, window, at.left + 3, at.top + 3, kWhite, "button face");
        }
        if (unit.kind == UnitKind::ImageButton && unit.parent.empty())
            expect(shot, window, at.left + 3, at.top + 3, unit.normal.background, "title-bar button");
    }
}

// Awaits the window on screen (its title bar painted), then saves and checks it.
void shoot(qt::QtToolkit& toolkit, WindowId window, const QDir& folder, const char* name) {
    qt::TopWindow* top = toolkit.topWindow(window);
    if (!top || !QTest::qWaitForWindowExposed(top)) {
        std::printf("FAIL %-16s never showed\n", name);
        ++failures;
        return;
    }
    const WindowDesign& design = top->design();
    const QColor titleBar = QColor(design.background.value_or(kWhite).red, design.background.value_or(kWhite).green,
                                   design.background.value_or(kWhite).blue);
    QImage shot;
    const bool painted = QTest::qWaitFor(
        [&] {
            shot = grabWindow(toolkit, window);
            return !shot.isNull() && shot.pixelColor(4, 2) == titleBar && shot.pixelColor(1, design.height - 2) != Qt::black;
        },
        5000);
    if (!painted) std::printf("note %-16s not painted as expected in time; checking what shows\n", name);
    shot.save(folder.filePath(QStringLiteral("qt-%1.png").arg(QLatin1String(name))));
    check(shot, design, name);
}

} // namespace

TEST(QtScreenshots, TheSixWindowsShowTheirLayoutsColours) {
    QDir folder(outputFolder);
    folder.mkpath(QStringLiteral("."));
    // The pointer away from every button, so none shows hot.
    QCursor::setPos(0, 0);

    tallyra::testing::ProgramFolder programFolder;
    programFolder.prepare("一班,二班", "一班");
    programFolder.addRoster("一班", {{"01", "02", "03"}, {"张三", "李四", "王五"}});
    {
        ui::testing::QtDriver driver;
        auto& toolkit = static_cast<qt::QtToolkit&>(driver.toolkit());
        RollCall rollCall;
        WindowSet windows(toolkit, rollCall, MainWindow::Services{});
        const WindowId main = windows.main().open();
        shoot(toolkit, main, folder, "main");
        driver.click(main, "其他");
        const WindowId settings = windows.settings()->id();
        shoot(toolkit, settings, folder, "settings");
        driver.click(settings, "开始按钮");
        shoot(toolkit, windows.classManagement()->id(), folder, "class-management");
        driver.click(windows.classManagement()->id(), "关闭");
        driver.click(settings, "开始按钮1");
        const WindowId about = windows.about()->id();
        shoot(toolkit, about, folder, "about");
        driver.pressLink(about, "超级链接框3");
        shoot(toolkit, windows.changelog()->id(), folder, "changelog");
        driver.click(windows.changelog()->id(), "关闭");
        driver.answerNextMessage(MessageAnswer::Ok);
        driver.pressLink(about, "超级链接框4");
        shoot(toolkit, windows.support()->id(), folder, "support");
    }
    EXPECT_EQ(failures, 0) << "pixels wrong; see the FAIL lines and the screenshots in " << qPrintable(outputFolder);
}

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    outputFolder = QString::fromLocal8Bit(argv[1]);
    qt::prepareApplication();
    QApplication application(argc, argv);
    qt::setUpApplication();
    return RUN_ALL_TESTS();
}
