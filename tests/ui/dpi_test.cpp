#include "tests/ui/memory_toolkit.h"
#include "ui/kit/dpi.h"
#include "ui/kit/text_fit.h"

#include <gtest/gtest.h>

#include <random>

namespace tallyra::ui {
namespace {

TEST(DpiArithmetic, RescaledUnitsFollowTheRoundingRuleOfTheirKind) {
    struct Case {
        UnitKind kind;
        Rect design;
        float scale;
        Rect expected;
    };
    const Case cases[] = {
        // The routine takes a pixel off picture boxes even at scale 1; that is why nothing is rescaled at 96 DPI.
        {UnitKind::PictureBox, {60, 304, 167, 73}, 1.0f, {60, 304, 167, 72}},
        // 120 DPI: widths cut, except shape boxes and image buttons, which round (572.5 -> 573).
        {UnitKind::ShapeBox, {1, 32, 458, 401}, 1.25f, {1, 40, 573, 501}},
        {UnitKind::Label, {1, 32, 458, 401}, 1.25f, {1, 40, 572, 501}},
        {UnitKind::ImageButton, {361, 0, 50, 32}, 1.25f, {451, 0, 63, 40}}, // 62.5 -> 63
        {UnitKind::ComboBox, {361, 0, 50, 32}, 1.25f, {451, 0, 62, 40}},
        // Picture boxes are one pixel shorter: 73 × 1.25 − 1 = 90.25 -> 90.
        {UnitKind::PictureBox, {60, 304, 167, 73}, 1.25f, {75, 380, 208, 90}},
        {UnitKind::ImageButton, {1, 1, 165, 71}, 1.5f, {1, 1, 248, 106}}, // 247.5 -> 248
        {UnitKind::EditBox, {7, 147, 448, 136}, 1.5f, {10, 220, 672, 204}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rescaledRect(c.kind, c.design, c.scale), c.expected)
            << "kind " << static_cast<int>(c.kind) << " at scale " << c.scale;
    }
}

// The scale is a float, but products are taken in double on every build: the
// 32-bit Windows build (x87) once gave 36 for 48 at 74 DPI where native builds gave 37.
// A fitted line is as large as its mode allows and never cut: for any line and box
// (a font whose sizes round unevenly, like hinted ones), Shrink keeps a line that
// fits, else takes the largest height whose width fits; Fill the largest that fits both ways.
TEST(TextFit, TheFittedHeightIsTheLargestThatFits) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        const int characters = 1 + static_cast<int>(random() % 60);
        const int charHeight = 10 + static_cast<int>(random() % 200);
        const Size box{20 + static_cast<int>(random() % 1900), 20 + static_cast<int>(random() % 1000)};
        const int wobble = static_cast<int>(random() % 7);
        const MeasureLine measure = [&](int height) {
            return Size{height * characters + (height * wobble) % 5, height * 4 / 3 + height % 3};
        };
        const auto fitsWidth = [&](int height) { return measure(height).width <= box.width; };
        const auto fitsBoth = [&](int height) { return fitsWidth(height) && measure(height).height <= box.height; };
        SCOPED_TRACE(::testing::Message()
                     << characters << " characters at " << charHeight << " in " << box.width << "x" << box.height);
        EXPECT_EQ(fittedCharHeight(TextFit::None, charHeight, box, measure), charHeight);
        const int shrunk = fittedCharHeight(TextFit::Shrink, charHeight, box, measure);
        if (fitsWidth(charHeight)) {
            EXPECT_EQ(shrunk, charHeight);
        } else {
            EXPECT_LT(shrunk, charHeight);
            EXPECT_TRUE(shrunk == 1 || fitsWidth(shrunk));
            EXPECT_FALSE(fitsWidth(shrunk + 1));
        }
        const int filled = fittedCharHeight(TextFit::Fill, charHeight, box, measure);
        EXPECT_TRUE(filled == 1 || fitsBoth(filled));
        EXPECT_FALSE(filled < std::max(charHeight, box.height) && fitsBoth(filled + 1));
    }
}

TEST(DpiArithmetic, EveryBuildScalesTheSameAtOddDpiValues) {
    struct Case {
        int dpi, cut48, cut458, round50, pictureHeight73;
    } const cases[] = {
        {72, 36, 343, 38, 53},  {74, 36, 353, 39, 55},  {100, 49, 477, 52, 75},  {106, 52, 505, 55, 79},
        {110, 55, 524, 57, 82}, {120, 60, 572, 63, 90}, {144, 72, 687, 75, 108}, {168, 84, 801, 88, 126},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const auto scale = static_cast<float>(c.dpi / 96.0);
        EXPECT_EQ(scaleCut(48, scale), c.cut48);
        EXPECT_EQ(scaleCut(458, scale), c.cut458);
        EXPECT_EQ(scaleRound(50, scale), c.round50);
        EXPECT_EQ(rescaledRect(UnitKind::PictureBox, {0, 0, 10, 73}, scale).height, c.pictureHeight73);
    }
}

TEST(DpiArithmetic, WindowsAreScaledAndCentredCuttingTowardZero) {
    struct Case {
        Size screen;
        Size window;
        float scale;
        Rect expected;
    };
    const Case cases[] = {
        {{1024, 768}, {460, 434}, 1.0f, {282, 167, 460, 434}},
        {{1024, 768}, {460, 434}, 1.25f, {224, 112, 575, 542}}, // 542.5 -> 542; 384 - 271.25 -> 112
        {{1920, 1080}, {460, 434}, 1.5f, {615, 214, 690, 651}},
        {{800, 600}, {289, 425}, 1.25f, {219, 34, 361, 531}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(placedWindowRect(c.screen, c.window, c.scale), c.expected);
}

TEST(DpiArithmetic, OnlyScalesAwayFromOneNeedRescaling) {
    EXPECT_FALSE(needsRescaling(1.0f));
    EXPECT_FALSE(needsRescaling(96.0f / 96.0f));
    EXPECT_TRUE(needsRescaling(120.0f / 96.0f));
    EXPECT_TRUE(needsRescaling(72.0f / 96.0f));
}

TEST(DpiRoutines, MeasurePlaceAndRescaleByTheRowsInTheirOrder) {
    testing::MemoryToolkit toolkit;
    toolkit.pixelsPerInch = 120;
    struct Quiet : WindowEvents {
        void onCreated(WindowId) override {}
        void onDestroying(WindowId) override {}
        void onUnitEvent(WindowId, std::string_view, UnitEvent) override {}
    } events;
    static constexpr UnitDesign kUnits[] = {
        {.name = "label",
         .kind = UnitKind::Label,
         .rect = {9, 4, 183, 24},
         .font = {.charHeight = 15},
         .rescale = {2, 11}},
        {.name = "box", .kind = UnitKind::ShapeBox, .rect = {1, 32, 458, 401}, .rescale = {1}},
        {.name = "timer", .kind = UnitKind::Timer, .rect = {415, 40, 26, 26}},
    };
    static const WindowDesign kDesign{.name = "Test", .width = 460, .height = 434, .units = kUnits};
    const WindowId window = toolkit.openWindow(kDesign, events);

    const float scale = measureDpiScale(toolkit, window);
    EXPECT_FLOAT_EQ(scale, 1.25f);
    placeWindow(toolkit, window, scale);
    EXPECT_EQ(toolkit.windowRect(window), (Rect{224, 112, 575, 542}));

    rescaleUnits(toolkit, window, kDesign, scale);
    EXPECT_EQ(toolkit.unitRect(window, "label"), (Rect{11, 5, 228, 30}));
    EXPECT_EQ(toolkit.unit(window, "label").charHeight, 18); // 11 pt at 120 pixels per inch: 18.33 -> 18
    EXPECT_EQ(toolkit.unitRect(window, "box"), (Rect{1, 40, 573, 501}));
    EXPECT_EQ(toolkit.unitRect(window, "timer"), (Rect{415, 40, 26, 26})) << "a row without a step is not rescaled";
    // In the order of the steps, whatever the order of the rows.
    std::vector<std::string> order;
    for (const std::string& entry : toolkit.log)
        if (entry.starts_with("rect:")) order.push_back(entry.substr(5));
    EXPECT_EQ(order, (std::vector<std::string>{"box", "label"}));
}

} // namespace
} // namespace tallyra::ui
