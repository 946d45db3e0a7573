// The look of the program's windows as data: unit kinds, colours, fonts and the
// layout tables every window is built from. Positions and sizes are pixels at 96 DPI.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tallyra::ui {

// Resource id of the support picture (a PNG) in the executable; the Qt backend maps it
// to its own resource.
inline constexpr int kSupportPictureResource = 101;

struct Color {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend constexpr bool operator==(Color, Color) = default;
};

// #RRGGBB written as 0xRRGGBB.
constexpr Color rgb(std::uint32_t hex) {
    return {static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8), static_cast<std::uint8_t>(hex)};
}

inline constexpr Color kBlack = rgb(0x000000);
inline constexpr Color kWhite = rgb(0xFFFFFF);
inline constexpr Color kTitleBlue = rgb(0x4EC4FA);
inline constexpr Color kMinimiseHot = rgb(0x4DB9F0);
inline constexpr Color kCloseHot = rgb(0xFF544E);
inline constexpr Color kButtonFrameGrey = rgb(0xDDDDDD);
inline constexpr Color kButtonHot = rgb(0xECECEC);

// A check list is a list of items with a check box each (clearItems, addItem, itemCount, itemText).
enum class UnitKind : std::uint8_t { Label, ImageButton, PictureBox, ShapeBox, Hyperlink, EditBox, ComboBox, RadioBox, Timer, CheckList };

enum class HAlign : std::uint8_t { Left, Center, Right };

// How a one-line label fits its text to its box: None draws it at its font and cuts
// what does not fit; Shrink draws it smaller only when it would be cut; Fill draws
// it at the largest size whose whole line fits.
enum class TextFit : std::uint8_t { None, Shrink, Fill };
enum class VAlign : std::uint8_t { Top, Center, Bottom };

enum class Charset : std::uint8_t { Ansi = 0, Gb2312 = 134 };

inline constexpr std::string_view kYaHei = "微软雅黑";

struct FontSpec {
    std::string_view face = kYaHei; // empty: the system's default face for the character set
    int charHeight = 0;             // pixels at 96 DPI, without internal leading
    int weight = 400;
    Charset charset = Charset::Gb2312;
};

struct ColorPair {
    Color text{};
    Color background{};
    friend constexpr bool operator==(ColorPair, ColorPair) = default;
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    friend constexpr bool operator==(Rect, Rect) = default;
};

// How a unit follows the DPI scale when it is not 1: its place in the order in
// which its window rescales its units (0: never rescaled), and the font size in
// points it gets (none: the design font stays). The rule for its geometry is its kind's.
struct Rescale {
    int step = 0;
    std::optional<int> points{};
};

// One row of a layout table: everything that belongs to one unit. Only the fields
// a unit's kind uses are set.
struct UnitDesign {
    std::string_view name{}; // the identifier the window's code finds the unit by
    int controlId = 0;       // the unit's child-window ID, by which automation and screen readers find it
    UnitKind kind = UnitKind::Label;
    std::string_view parent{}; // empty: the window itself
    Rect rect{};
    std::string_view text{}; // text or caption
    FontSpec font{};
    Color textColor = kBlack;
    std::optional<Color> background = kWhite; // nothing: the system's button-face colour
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool visible = true;
    bool tabStop = false;
    TextFit fit = TextFit::None; // labels
    // Labels: two quick presses are a double click. Elsewhere a second press is a press
    // (it drags the window again), so only units with a use for a double click take one.
    bool doubleClick = false;
    // Image buttons: colour pairs normal, hot (pointer over it or held down), focus.
    ColorPair normal{};
    ColorPair hot{};
    ColorPair focus{};
    std::string_view tooltip{};
    // Hyperlinks: caption colours normal (= visited) and under the pointer.
    Color hoverColor = kBlack;
    // Shape boxes.
    std::optional<Color> outline{};
    std::optional<Color> fill{};
    // Edit boxes.
    bool multiLine = false;
    bool readOnly = false;
    // Picture boxes: resource id of the picture (0: none) and display mode (0 natural, 1 stretch, 2 fit).
    int picture = 0;
    int pictureMode = 0;
    // Timers.
    int interval = 0;
    Rescale rescale{};
};

// True for the kinds whose text or caption the user sees (and a backend keeps).
constexpr bool hasText(UnitKind kind) {
    switch (kind) {
    case UnitKind::Label:
    case UnitKind::ImageButton:
    case UnitKind::Hyperlink:
    case UnitKind::EditBox:
    case UnitKind::ComboBox:
    case UnitKind::RadioBox:
    case UnitKind::CheckList:
        return true;
    default:
        return false;
    }
}

// The parts of a row that the shared builders below leave to the window.
constexpr UnitDesign row(int controlId, Rescale rescale, UnitDesign unit) {
    unit.controlId = controlId;
    unit.rescale = rescale;
    return unit;
}

struct WindowDesign {
    std::string_view name{};
    std::string_view caption{}; // taskbar text
    int width = 0, height = 0;
    std::optional<Color> background{};
    bool canMinimise = true;
    std::span<const UnitDesign> units{};

    const UnitDesign* find(std::string_view unit) const {
        for (const UnitDesign& design : units)
            if (design.name == unit) return &design;
        return nullptr;
    }
};

// Shared elements of the drawn title bar and content area.
namespace shared {

// The identifiers of the units every window shares.
inline constexpr std::string_view kTitle = "title";
inline constexpr std::string_view kMinimiseButton = "minimiseButton";
inline constexpr std::string_view kCloseButton = "closeButton";
inline constexpr std::string_view kContent = "content";

constexpr UnitDesign titleLabel(std::string_view text, int width) {
    return {.name = kTitle,
            .kind = UnitKind::Label,
            .rect = {9, 4, width, 24},
            .text = text,
            .font = {.charHeight = 15},
            .textColor = kBlack,
            .background = kTitleBlue,
            .hAlign = HAlign::Left,
            .vAlign = VAlign::Center};
}

constexpr UnitDesign minimiseButton() {
    return {.name = kMinimiseButton,
            .kind = UnitKind::ImageButton,
            .rect = {361, 0, 50, 32},
            .text = "—",
            .font = {.face = "", .charHeight = 14},
            .background = kTitleBlue,
            .normal = {kWhite, kTitleBlue},
            .hot = {kWhite, kMinimiseHot},
            .focus = {kWhite, kTitleBlue},
            .tooltip = "最小化"};
}

constexpr UnitDesign closeButton(int windowWidth) {
    return {.name = kCloseButton,
            .kind = UnitKind::ImageButton,
            .rect = {windowWidth - 50, 0, 50, 32},
            .text = "×",
            .font = {.face = "", .charHeight = 20},
            .background = kTitleBlue,
            .normal = {kWhite, kTitleBlue},
            .hot = {kWhite, kCloseHot},
            .focus = {kWhite, kTitleBlue},
            .tooltip = "关闭"};
}

constexpr UnitDesign contentArea(int windowWidth, int windowHeight) {
    return {.name = kContent,
            .kind = UnitKind::ShapeBox,
            .rect = {1, 32, windowWidth - 2, windowHeight - 33},
            .background = kWhite};
}

// A left-aligned label on the content area, as the settings and class management windows use them.
constexpr UnitDesign contentLabel(std::string_view name, Rect rect, std::string_view text, int charHeight = 19) {
    return {.name = name,
            .kind = UnitKind::Label,
            .parent = kContent,
            .rect = rect,
            .text = text,
            .font = {.charHeight = charHeight},
            .hAlign = HAlign::Left,
            .vAlign = VAlign::Center};
}

// A picture box 2 pixels wider and higher than its button, whose grey shows as a 1-pixel frame.
constexpr UnitDesign buttonFrame(std::string_view name, std::string_view parent, int left, int top, int width,
                                 int height) {
    return {.name = name,
            .kind = UnitKind::PictureBox,
            .parent = parent,
            .rect = {left, top, width, height},
            .background = kButtonFrameGrey};
}

constexpr UnitDesign framedButton(std::string_view name, std::string_view frame, int width, int height,
                                  std::string_view caption, int charHeight = 24) {
    return {.name = name,
            .kind = UnitKind::ImageButton,
            .parent = frame,
            .rect = {1, 1, width, height},
            .text = caption,
            .font = {.charHeight = charHeight, .charset = Charset::Ansi},
            .background = kWhite,
            .normal = {kBlack, kWhite},
            .hot = {kBlack, kButtonHot},
            .focus = {kBlack, kWhite}};
}

} // namespace shared
} // namespace tallyra::ui
