// Screenshots of the six windows of the Qt backend as the X server shows them
// (run under Xvfb with the xcb platform), written as <folder>/qt-<window>.png beside
// the Windows ones (main-drawn after a draw), and their pixels checked against the layouts: the title bar and
// the 1-pixel frame in the window's colour, the white content area, the grey frames
// around the buttons and the buttons' white faces.
//   tallyra_qt_screenshots [gtest options] FOLDER
#include "tests/qt/qt_driver.h"
#include "tests/support/program_folder.h"
#include "ui/windows/about_windows.h"
#include "ui/windows/class_management_window.h"
#include "ui/qt/focus_return.h"
#include "ui/qt/top_window.h"
#include "ui/windows/settings_window.h"
#include "ui/windows/window_set.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>

#include <X11/Xlib.h>
#include <X11/keysym.h>

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

// Checks one pixel; with report, prints the verdict and counts a failure.
bool expectPixel(const QImage& shot, const char* window, int x, int y, Color colour, const char* what, bool report) {
    const QColor seen = shot.pixelColor(x, y);
    const bool ok = seen == QColor(colour.red, colour.green, colour.blue);
    if (!report) return ok;
    std::printf("%s %-16s (%d,%d) %s %s\n", ok ? "ok  " : "FAIL", window, x, y, qPrintable(seen.name()), what);
    if (!ok) ++failures;
    return ok;
}

// Whether some pixel of the unit is as dark as text: the unit shows its text.
bool showsText(const QImage& shot, const Rect& at) {
    for (int y = at.top; y < at.top + at.height; ++y)
        for (int x = at.left; x < at.left + at.width; ++x)
            if (qGray(shot.pixel(x, y)) < 64) return true;
    return false;
}

// Checks the layout's colours, and that the units named show their text.
bool check(const QImage& shot, const WindowDesign& design, const char* window, bool report,
           std::initializer_list<std::string_view> unitsWithText = {}) {
    if (shot.width() != design.width || shot.height() != design.height) {
        if (!report) return false;
        std::printf("FAIL %-16s is %dx%d, expected %dx%d\n", window, shot.width(), shot.height(), design.width,
                    design.height);
        ++failures;
        return false;
    }
    bool all = true;
    const auto expect = [&](int x, int y, Color colour, const char* what) {
        all = expectPixel(shot, window, x, y, colour, what, report) && all;
    };
    const Color background = design.background.value_or(kWhite);
    expect(4, 2, background, "title bar, top left");
    for (const UnitDesign& unit : design.units) {
        const Rect at = absoluteRect(design, unit);
        if (unit.kind == UnitKind::ShapeBox && unit.parent.empty()) {
            expect(0, design.height / 2, background, "left 1-pixel frame");
            expect(design.width - 1, design.height / 2, background, "right 1-pixel frame");
            expect(design.width / 2, design.height - 1, background, "bottom 1-pixel frame");
            expect(at.left, at.top, kWhite, "content area, top left");
            expect(at.left + at.width - 1, at.top + at.height - 1, kWhite, "content area, bottom right");
        }
        if (unit.kind == UnitKind::PictureBox && unit.background == kButtonFrameGrey) {
            expect(at.left, at.top + at.height / 2, kButtonFrameGrey, "grey button frame, left");
            expect(at.left + at.width - 1, at.top + 1, kButtonFrameGrey, "grey button frame, right");
            expect(at.left + 3, at.top + 3, kWhite, "button face");
        }
        if (unit.kind == UnitKind::ImageButton && unit.parent.empty())
            expect(at.left + 3, at.top + 3, unit.normal.background, "title-bar button");
        if (std::find(unitsWithText.begin(), unitsWithText.end(), unit.name) != unitsWithText.end()) {
            const bool ok = showsText(shot, at);
            all = ok && all;
            if (report) {
                std::printf("%s %-16s %s shows its text\n", ok ? "ok  " : "FAIL", window,
                            std::string(unit.name).c_str());
                if (!ok) ++failures;
            }
        }
    }
    return all;
}

// Awaits the window on screen as its layout shows it, then saves and checks it.
void shoot(qt::QtToolkit& toolkit, WindowId window, const QDir& folder, const char* name,
           std::initializer_list<std::string_view> unitsWithText = {}) {
    qt::TopWindow* top = toolkit.topWindow(window);
    if (!top || !QTest::qWaitForWindowExposed(top)) {
        std::printf("FAIL %-16s never showed\n", name);
        ++failures;
        return;
    }
    // The pointer onto the window's corner, off the buttons: a click leaves one hot.
    QTest::mouseMove(top, QPoint(2, 2));
    const WindowDesign& design = top->design();
    // Awaits the look the layout gives (the X server shows a paint a little later), then reports.
    QImage shot;
    const bool looksRight = QTest::qWaitFor(
        [&] {
            shot = grabWindow(toolkit, window);
            return check(shot, design, name, false, unitsWithText);
        },
        5000);
    if (!looksRight) std::printf("note %-16s never looked as the layout says within 5 s\n", name);
    shot.save(folder.filePath(QStringLiteral("qt-%1.png").arg(QLatin1String(name))));
    check(shot, design, name, true, unitsWithText);
}

// Saves a message or input box once it shows, then closes it; no box is wider than the
// program's windows.
void shootBox(QDialog& box, const QDir& folder, const char* name, int windowWidth) {
    if (!QTest::qWaitForWindowExposed(&box)) {
        std::printf("FAIL %-16s never showed\n", name);
        ++failures;
    } else {
        const QRect at = box.frameGeometry();
        QImage shot; // awaited until the X server shows the box's text
        const bool shown = QTest::qWaitFor([&] {
            shot = QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), at.width(), at.height()).toImage();
            return showsText(shot, {0, 0, shot.width(), shot.height()});
        });
        if (!shown) std::printf("FAIL %-16s never showed its text\n", name);
        failures += !shown;
        shot.save(folder.filePath(QStringLiteral("qt-%1.png").arg(QLatin1String(name))));
        const bool ok = at.width() <= windowWidth;
        std::printf("%s %-16s is %d wide, the windows %d\n", ok ? "ok  " : "FAIL", name, at.width(), windowWidth);
        failures += !ok;
    }
    box.reject();
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
        WindowSet windows(toolkit, rollCall, programFolder.data(), MainWindow::Services{});
        const WindowId main = windows.main().open();
        shoot(toolkit, main, folder, "main");
        // A settled draw: the large number and name (glyphs kept as images) as they show.
        driver.click(main, main_units::kStartStop);
        EXPECT_TRUE(driver.runTimerUntil(main, main_units::kRollTimer,
                                         [&] { return toolkit.text(main, main_units::kNumber).starts_with("0"); }));
        driver.click(main, main_units::kStartStop);
        shoot(toolkit, main, folder, "main-drawn", {main_units::kNumber, main_units::kName});
        driver.click(main, main_units::kSettingsButton);
        const WindowId settings = windows.settings()->id();
        shoot(toolkit, settings, folder, "settings");
        driver.click(settings, settings_units::kClassManagementButton);
        shoot(toolkit, windows.classManagement()->id(), folder, "class-management");
        driver.click(windows.classManagement()->id(), shared::kCloseButton);
        driver.click(settings, settings_units::kAboutButton);
        const WindowId about = windows.about()->id();
        shoot(toolkit, about, folder, "about");
        driver.pressLink(about, about_units::kChangelogLink);
        shoot(toolkit, windows.changelog()->id(), folder, "changelog");
        driver.click(windows.changelog()->id(), shared::kCloseButton);
        driver.answerNextMessage(MessageAnswer::Ok);
        driver.pressLink(about, about_units::kSupportLink);
        shoot(toolkit, windows.support()->id(), folder, "support");
        const char* boxName = "message-box";
        toolkit.setModalHook([&](QDialog& box) { shootBox(box, folder, boxName, toolkit.windowRect(main).width); });
        toolkit.showMessage(kSupportQuestion);
        boxName = "message-box-shorter"; // Qt leaves texts up to 500 pixels wide unwrapped
        toolkit.showMessage({kDeleteClassTitle, deleteClassQuestion("一班"), kDeleteClassFlags});
        boxName = "input-box";
        toolkit.askText("请输入您要加入的班级名称:", "班级名称");
    }
    EXPECT_EQ(failures, 0) << "pixels wrong; see the FAIL lines and the screenshots in " << qPrintable(outputFolder);
}

// The hot key grabbed on the X server: its presses arrive while another client has the
// keyboard, whatever the lock keys; a key another client holds is told as taken.
TEST(QtHotKey, AGrabbedKeyArrivesFromTheServerAndATakenOneIsTold) {
    struct Counting : WindowEvents {
        int hotKeys = 0;
        void onCreated(WindowId) override {}
        void onDestroying(WindowId) override {}
        void onUnitEvent(WindowId, std::string_view, UnitEvent) override {}
        void onHotKey(WindowId) override { ++hotKeys; }
    } events;
    qt::QtToolkit toolkit;
    const WindowId window = toolkit.openWindow(kMainWindowDesign, events);

    // Another client holds F8 on the root window.
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    XGrabKey(other, XKeysymToKeycode(other, XK_F8), 0, DefaultRootWindow(other), True, GrabModeAsync, GrabModeAsync);
    XSync(other, False);
    EXPECT_EQ(toolkit.setHotKey(window, {0x77}), HotKeyState::Taken);
    XCloseDisplay(other);

    ASSERT_EQ(toolkit.setHotKey(window, {0x78, kControl}), HotKeyState::On); // Ctrl+F9
    for (const char* keys : {"ctrl+F9", "F9", "ctrl+F9"}) {
        QProcess::execute("xdotool", {"key", keys});
        QTest::qWait(100);
    }
    QProcess::execute("xdotool", {"key", "Num_Lock"});
    QProcess::execute("xdotool", {"key", "ctrl+F9"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return events.hotKeys == 3; })) << events.hotKeys;
    QProcess::execute("xdotool", {"key", "Num_Lock"});
    toolkit.destroyWindow(window);
}

// Another program's window has the focus and a box of ours takes it: the focus goes back
// to that window, without a window manager and under openbox. (The box is still shown,
// or openbox's own fallback would give it back and prove nothing.)
TEST(QtFocusReturn, TheProgramThatHadTheFocusGetsItBackAfterOurBox) {
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    const Window slides = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 400, 300, 0, 0, 0);
    XMapWindow(other, slides);
    XSync(other, False);
    // The input focus, or under a window manager the window it names active.
    bool managed = false;
    const auto focused = [&] {
        QProcess xdotool;
        xdotool.start("xdotool", {managed ? "getactivewindow" : "getwindowfocus"});
        xdotool.waitForFinished();
        return static_cast<Window>(xdotool.readAllStandardOutput().trimmed().toULong());
    };
    QProcess windowManager;
    for (const bool withManager : {false, true}) {
        managed = withManager;
        SCOPED_TRACE(managed ? "openbox" : "no window manager");
        if (managed) {
            windowManager.start("openbox", {});
            ASSERT_TRUE(QTest::qWaitFor([&] {
                return QProcess::execute("sh", {"-c", "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window"}) == 0;
            }));
        }
        QWidget main;
        main.show();
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return focused() == main.winId(); }));
        QProcess::execute("xdotool", {managed ? "windowactivate" : "windowfocus", QString::number(slides)});
        ASSERT_TRUE(QTest::qWaitFor([&] { return focused() == slides; }));
        const qt::FocusReturn focus;
        QDialog box(&main);
        box.show();
        box.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return focused() == box.winId(); }));
        focus.giveBack();
        EXPECT_TRUE(QTest::qWaitFor([&] { return focused() == slides; })) << focused();
        box.hide();
    }
    windowManager.kill();
    windowManager.waitForFinished();
    XCloseDisplay(other);
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
