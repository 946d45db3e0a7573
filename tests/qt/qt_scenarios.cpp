// The window scenarios on the Qt backend, offscreen: real widgets, real events;
// and what only this backend decides: the face the units are drawn in, fonts in pixels.
#include "tests/qt/qt_driver.h"
#include "tests/support/program_folder.h"
#include "tests/ui/memory_driver.h"
#include "tests/ui/window_scenarios.h"
#include "ui/kit/float_button.h"
#include "ui/qt/fonts.h"
#include "ui/qt/large_text.h"
#include "ui/qt/top_window.h"
#include "ui/qt/unit_timer.h"
#include "ui/windows/about_windows.h"
#include "ui/windows/class_management_window.h"
#include "ui/windows/main_window.h"
#include "ui/windows/settings_window.h"
#include "ui/windows/window_set.h"

#include <fstream>
#include <optional>
#include <random>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>

namespace tallyra::ui::testing {

INSTANTIATE_TEST_SUITE_P(Toolkit, WindowScenarios,
                         ::testing::Values(DriverKind{"Qt", [] { return std::make_unique<QtDriver>(); }}), driverName);

namespace {

// A program folder whose one class (none for "") is chosen, and the window set on it
// on the Qt backend, made by openMain once the folder holds what a test adds.
struct QtProgram {
    explicit QtProgram(std::string_view className) { folder.prepare(className, className); }
    WindowId openMain() {
        windows.emplace(toolkit, rollCall, folder.data(), MainWindow::Services{});
        return windows->main().open();
    }

    tallyra::testing::ProgramFolder folder;
    QtDriver driver;
    qt::QtToolkit& toolkit = static_cast<qt::QtToolkit&>(driver.toolkit());
    RollCall rollCall;
    std::optional<WindowSet> windows;
};

} // namespace

TEST(QtBackend, UnitsAreDrawnInAnInstalledChineseFaceWithFontsInPixels) {
    const QString& face = qt::chineseFace();
    ASSERT_FALSE(face.isEmpty()) << "the test machine has a Chinese face (fonts-wqy-microhei)";
    EXPECT_TRUE(QFontDatabase::families(QFontDatabase::SimplifiedChinese).contains(face));
    // 微软雅黑 where it is installed; otherwise the Chinese face draws it, and the font check is content.
    EXPECT_EQ(qt::resolvedFace(kYaHei), face);
    EXPECT_EQ(qt::resolvedFace(""), face);
    QtProgram program("");
    qt::QtToolkit& toolkit = program.toolkit;
    EXPECT_TRUE(toolkit.isFontInstalled(kYaHei));
    EXPECT_FALSE(toolkit.isFontInstalled("No Such Face"));

    const WindowId main = program.openMain();
    ASSERT_EQ(toolkit.horizontalPixelsPerInch(main), 96);
    QWidget* name = toolkit.unitWidget(main, main_units::kName);
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
    WindowSet onQt(qtToolkit, qtRollCall, folder.data(), MainWindow::Services{});
    WindowSet inMemory(memory, memoryRollCall, folder.data(), MainWindow::Services{});
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
            QRect expected(unit.rect.left, unit.rect.top, unit.rect.width, unit.rect.height);
            // A drop-down list is as high as its font needs: its text clear of the frame.
            if (unit.design->kind == UnitKind::ComboBox)
                expected.setHeight(std::max(widget->height(), QFontMetrics(widget->font()).height() + 4));
            EXPECT_EQ(widget->geometry(), expected);
            if (unit.charHeight > 0) {
                EXPECT_EQ(widget->font().pixelSize(), unit.charHeight);
            }
        }
    }
}

namespace {

QRgb toQRgb(Color colour) {
    return qRgb(colour.red, colour.green, colour.blue);
}

// Whether a pixel of the widget, as it paints now, has the colour.
bool shows(QWidget* widget, Color colour) {
    const QImage picture = widget->grab().toImage();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) | 0xFF000000) == toQRgb(colour)) return true;
    return false;
}

// The darkest pixel of the widget as it paints now: the core of its text.
QRgb darkest(QWidget* widget) {
    const QImage picture = widget->grab().toImage();
    QRgb found = qRgb(255, 255, 255);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) < qGray(found)) found = picture.pixel(x, y) | 0xFF000000;
    return found;
}

// Moves the pointer onto the widget. Offscreen, nothing tells a window that the pointer
// came into it: the test says so, as a window system would.
void pointAt(QWidget* widget) {
    static QPointer<QWindow> entered;
    const QPoint centre = widget->rect().center();
    if (QWindow* window = widget->window()->windowHandle(); window != entered) {
        const QPointF inWindow = widget->mapTo(widget->window(), centre);
        QEnterEvent enter(inWindow, inWindow, widget->mapToGlobal(QPointF(centre)));
        QCoreApplication::sendEvent(window, &enter);
        entered = window;
    }
    QTest::mouseMove(widget, centre);
}

} // namespace

// With the pointer: a button lights up under it, a link turns grey, and a window drags
// from any static point (by hand here: there is no window manager to move it).
TEST(QtBackend, ThePointerLightsButtonsAndLinksAndDragsWindows) {
    QtProgram program("一班");
    qt::QtToolkit& toolkit = program.toolkit;
    const WindowId main = program.openMain();
    WindowSet& windows = *program.windows;
    QWidget* window = toolkit.topWindow(main);
    QWidget* start = toolkit.unitWidget(main, main_units::kStartStop);
    QWidget* title = toolkit.unitWidget(main, shared::kTitle);
    ASSERT_TRUE(window && start && title);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));

    windows.openAbout();
    QWidget* link = toolkit.unitWidget(windows.about()->id(), about_units::kChangelogLink);
    ASSERT_NE(link, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(link->window()));
    const UnitDesign& linkDesign = *kAboutWindowDesign.find(about_units::kChangelogLink);
    EXPECT_EQ(darkest(link), toQRgb(linkDesign.textColor));
    pointAt(link);
    EXPECT_TRUE(QTest::qWaitFor([&] { return darkest(link) == toQRgb(linkDesign.hoverColor); }))
        << std::hex << darkest(link);

    const UnitDesign& button = *kMainWindowDesign.find(main_units::kStartStop);
    pointAt(start);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows(start, button.hot.background); }));
    pointAt(title);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shows(start, button.hot.background); }));
    EXPECT_TRUE(shows(start, button.normal.background));

    const QPoint before = window->pos();
    QTest::mousePress(title, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseMove(title, QPoint(50, 40));
    QTest::mouseRelease(title, Qt::LeftButton, Qt::NoModifier, QPoint(50, 40));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->pos() == before + QPoint(40, 30); }))
        << window->pos().x() - before.x() << ", " << window->pos().y() - before.y();

    // A quick second press on the title, which Qt gives as a double click, drags it again.
    const QPoint again = window->pos();
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(title->mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(title, &event);
    };
    send(QEvent::MouseButtonDblClick, {10, 10}, Qt::LeftButton);
    send(QEvent::MouseMove, {30, 20}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {30, 20}, Qt::NoButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->pos() == again + QPoint(20, 10); }))
        << window->pos().x() - again.x() << ", " << window->pos().y() - again.y();
}

// A question answered from the keyboard or a remote takes no key in its first moment:
// a second press (a remote's double click) does not answer it unread.
TEST(QtBackend, TheRemoteQuestionTakesNoKeyInItsFirstMoment) {
    QtDriver driver;
    auto& toolkit = static_cast<qt::QtToolkit&>(driver.toolkit());
    toolkit.setModalHook([](QDialog& box) {
        QTest::keyClick(&box, Qt::Key_PageUp); // at once: not taken
        QTimer::singleShot(kRemoteQuestionSettleMs + 200, &box, [&box] { QTest::keyClick(&box, Qt::Key_PageDown); });
    });
    EXPECT_EQ(toolkit.askWithRemote(kRoundOverQuestion), MessageAnswer::Yes);
}

// The columns and rows of a label's picture where its text put ink.
QRect inkOf(QWidget* label) {
    const QImage image = label->grab().toImage();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    return ink;
}

// The longest texts show whole, at today's size where they fit and smaller where they
// would be cut; in full screen as large as fits, and back in the window as before. ctest
// runs this once more at 144 DPI.
TEST(QtBackend, LongTextsFitTheirBoxesWholeAndFullScreenFillsThem) {
    QtProgram program("");
    qt::QtToolkit& toolkit = program.toolkit;
    const WindowId main = program.openMain();
    WindowSet& windows = *program.windows;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(toolkit.topWindow(main)));
    QString fifty;
    for (int i = 0; i < 50; ++i)
        fifty += QChar(0x4E00 + 37 * i);
    const std::pair<std::string_view, std::string> cases[] = {
        {main_units::kName, "阿卜杜热合曼·买买提"},
        {main_units::kName, qt::toUtf8(fifty)},
        {main_units::kNumber, "12345678901234567890123"},
        {main_units::kName, "张三"}, // fits today: keeps its size
    };
    for (bool fullScreen : {false, true, false}) {
        windows.main().setFullScreen(fullScreen);
        for (const auto& [unit, text] : cases) {
            SCOPED_TRACE(text + (fullScreen ? " in full screen" : ""));
            toolkit.setText(main, unit, text);
            QWidget* label = toolkit.unitWidget(main, unit);
            const QRect ink = inkOf(label);
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_TRUE(label->rect().adjusted(1, 1, -1, -1).contains(ink)) << "cut at an edge";
            if (fullScreen) { // as large as fits one way or the other
                EXPECT_TRUE(ink.width() > label->width() * 8 / 10 || ink.height() > label->height() * 6 / 10)
                    << ink.width() << "x" << ink.height() << " in " << label->width() << "x" << label->height();
            } else if (text == "张三") {
                EXPECT_GT(ink.height(), label->font().pixelSize() * 8 / 10);
            }
        }
        toolkit.setText(main, main_units::kNumber, "");
    }
}

// A label repaints only what its old and new text cover: what the window then shows is
// what a whole repaint draws, nothing of the old text left, in the window and in full screen.
TEST(QtBackend, ALabelsChangedTextShowsAsAWholeRepaintDrawsIt) {
    QtProgram program("");
    qt::QtToolkit& toolkit = program.toolkit;
    const WindowId main = program.openMain();
    WindowSet& windows = *program.windows;
    QWidget* window = toolkit.topWindow(main);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const std::tuple<std::string_view, std::string, std::string> changes[] = {
        {main_units::kName, "阿卜杜热合曼", "王"},
        {main_units::kName, "王", "李红华"},
        {main_units::kName, "李红华", "Tay Ava"},
        {main_units::kName, "Tay Ava", ""},
        {main_units::kNumber, "12", "7"},
        {main_units::kNumber, "7", "48"},
        // Laid out alike: only the glyphs that differ are repainted.
        {main_units::kNumber, "20240047", "20240071"},
        {main_units::kNumber, "20240071", "20241079"},
        {main_units::kName, "王红华", "王明华"},
        {main_units::kNumber, "20241079", "2024107"},
    };
    for (bool fullScreen : {false, true, false}) {
        windows.main().setFullScreen(fullScreen);
        for (const auto& [unit, from, to] : changes) {
            SCOPED_TRACE(from + " to " + to + (fullScreen ? " in full screen" : ""));
            QWidget* label = toolkit.unitWidget(main, unit);
            const QRect at(label->mapTo(window, QPoint()), label->size());
            const auto settlesOn = [&](const std::string& text) {
                toolkit.setText(main, unit, text);
                const QImage whole = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
                return QTest::qWaitFor([&] {
                    const QPixmap shown =
                        window->screen()->grabWindow(window->winId(), at.x(), at.y(), at.width(), at.height());
                    return shown.toImage().convertToFormat(QImage::Format_RGB32) == whole;
                });
            };
            ASSERT_TRUE(settlesOn(from));
            EXPECT_TRUE(settlesOn(to));
        }
    }
}

// The large-text glyphs stay within their bound in bytes whatever names a class holds,
// and a glyph dropped and made again draws the same pixels, in black or in colour.
TEST(QtBackend, LargeTextKeepsItsGlyphsWithinTheirBoundAndDrawsTheSameAfter) {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(300);
    for (const QColor colour : {QColor(Qt::black), QColor(200, 30, 30)}) {
        qt::LargeTextPainter painter;
        const auto draw = [&](const QString& text) {
            QImage image(700, 400, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter on(&image);
            EXPECT_TRUE(painter.draw(on, font, colour, image.rect(), Qt::AlignCenter, text));
            return image;
        };
        const QImage first = draw(QStringLiteral("张三"));
        for (char16_t c = u'一'; c < u'一' + 400; c += 2)
            draw(QString(QChar(c)) + QChar(c + 1));
        EXPECT_LE(painter.keptBytes(), qt::kMostLargeGlyphBytes);
        EXPECT_GT(painter.keptBytes(), qt::kMostLargeGlyphBytes / 2);
        EXPECT_TRUE(draw(QStringLiteral("张三")) == first) << colour.name().toStdString();
    }
}

// Whatever the text, size, slant and alignment, large text inks only within its glyphs'
// rects (a label repaints that much of its old text), a text the font lacks has none, and a
// part painted over anything shows what a whole draw shows there and leaves the rest.
TEST(QtBackend, LargeTextInksOnlyWithinItsGlyphsAndPaintsAPartAsAWhole) {
    const QString pieces[] = {"阿", "卜", "杜", "·", "王", "华", "W", "f", "j", "y", "A", "V", "7", "/", "𝄞"};
    const Qt::Alignment alignments[] = {Qt::AlignLeft | Qt::AlignTop, Qt::AlignCenter,
                                        Qt::AlignRight | Qt::AlignBottom};
    std::mt19937 random(29);
    for (const auto& [size, italic] : {std::pair{150, false}, {150, true}, {240, false}, {240, true}}) {
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));
        font.setPixelSize(size); // in colour, and in black alone above 200
        font.setItalic(italic);
        qt::LargeTextPainter painter;
        for (int i = 0; i < 30; ++i) {
            QString text;
            for (std::size_t length = 1 + random() % 5; length > 0; --length)
                text += pieces[random() % std::size(pieces)];
            const Qt::Alignment alignment = alignments[random() % std::size(alignments)];
            QImage image(1020, 320, QImage::Format_RGB32);
            image.fill(Qt::white);
            const QRect box(10, 20, 1000, 280);
            QPainter on(&image);
            const bool drawn = painter.draw(on, font, Qt::black, box, alignment, text);
            on.end();
            QRect ink;
            for (const qt::LargeTextPainter::PlacedGlyph& glyph : painter.placed(font, Qt::black, box, alignment, text))
                ink |= glyph.ink & box;
            EXPECT_EQ(ink.isEmpty(), !drawn) << text.toStdString();
            QRect inked;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) != qRgb(255, 255, 255)) inked |= QRect(x, y, 1, 1);
            EXPECT_TRUE(!drawn || ink.contains(inked))
                << text.toStdString() << " at " << size << (italic ? " slanted" : "");
            QRegion dirty;
            for (int part = 0; part < 3; ++part)
                dirty |= QRect(random() % 1020, random() % 320, 1 + random() % 500, 1 + random() % 300);
            QImage partly(image.size(), QImage::Format_RGB32);
            partly.fill(Qt::red);
            QPainter over(&partly);
            EXPECT_EQ(painter.paint(over, font, Qt::black, box, alignment, text, dirty, Qt::white), drawn);
            over.end();
            bool same = true;
            for (int y = 0; y < image.height() && drawn; ++y)
                for (int x = 0; x < image.width(); ++x)
                    same = same &&
                           partly.pixel(x, y) == (dirty.contains(QPoint(x, y)) ? image.pixel(x, y) : qRgb(255, 0, 0));
            EXPECT_TRUE(same) << text.toStdString() << " at " << size << (italic ? " slanted" : "");
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stopping.isActive(); }));
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

namespace tallyra::ui::testing {
namespace {

struct ButtonEvents : FloatButtonEvents {
    int taps = 0;
    int menus = 0;
    std::optional<FloatPlace> moved;
    void onFloatButtonTap() override { ++taps; }
    bool onFloatButtonMenu(Point) override { return ++menus, true; }
    void onFloatButtonMoved(const FloatPlace& place) override { moved = place; }
};

} // namespace

TEST(QtBackend, TheFloatingButtonIsAFocuslessToolWindowThatTapsDragsDocksAndLongPresses) {
    QtDriver driver;
    ButtonEvents events;
    FloatButtonOptions options;
    options.place = FloatPlace{{0, 0}, 0.5, 0.5};
    std::unique_ptr<FloatButton> button = driver.toolkit().createFloatButton(options, events);
    ASSERT_NE(button, nullptr);
    auto* widget = dynamic_cast<QWidget*>(button.get());
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
    const Qt::WindowFlags flags = widget->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::Tool) && flags.testFlag(Qt::FramelessWindowHint) &&
                flags.testFlag(Qt::WindowStaysOnTopHint) && flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(widget->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(widget->size(), QSize(kFloatButtonSize, kFloatButtonSize));
    EXPECT_FALSE(widget->mask().isEmpty());
    const QPoint centre(kFloatButtonSize / 2, kFloatButtonSize / 2);
    // A press that moves less than the drag distance is a tap.
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, centre + QPoint(1, 1));
    EXPECT_EQ(events.taps, 1);
    // A drag towards the left edge: it follows, then docks there.
    const QPoint before = widget->pos();
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, centre);
    QMouseEvent move(QEvent::MouseMove, QPointF(centre),
                     QPointF(widget->mapToGlobal(centre) - QPoint(before.x() - 10, 0)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, widget->mapFromGlobal(QCursor::pos()));
    EXPECT_EQ(events.taps, 1);
    ASSERT_TRUE(events.moved);
    EXPECT_EQ(widget->pos().x(), widget->screen()->availableGeometry().left());
    EXPECT_EQ(events.moved->x, 0.0);
    // A press held still opens the menu once, and its release is no tap.
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_TRUE(QTest::qWaitFor([&] { return events.menus == 1; }, 2000));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(events.taps, 1);
    EXPECT_EQ(events.menus, 1);
}

// A roster file dropped on the roster box fills it with the roster, not the file's address.
TEST(QtBackend, AFileDroppedOnTheRosterBoxBringsInItsRoster) {
    QtProgram program("一班");
    program.folder.addRoster("一班", {{"1"}, {"甲"}});
    const std::filesystem::path file = program.folder.path() / "名单.csv";
    std::ofstream(file, std::ios::binary) << "学号,姓名\r\n01,张三\r\n";
    qt::QtToolkit& toolkit = program.toolkit;
    program.openMain();
    WindowSet& windows = *program.windows;
    windows.openSettings();
    windows.openClassManagement();
    const WindowId management = windows.classManagement()->id();
    auto* box = qobject_cast<QAbstractScrollArea*>(toolkit.unitWidget(management, class_management_units::kRosterBox));
    ASSERT_NE(box, nullptr);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    const QPoint at = box->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box->viewport(), &drop);
    EXPECT_EQ(toolkit.text(management, class_management_units::kRosterBox), "01\t张三\r\n");
}

} // namespace tallyra::ui::testing
