#include "ui/dpi.h"

#include <cmath>

namespace tallyra::ui {
namespace {

float gScale = 1.0f;

void rescaleUnit(Toolkit& toolkit, WindowId window, std::string_view unit, UnitKind kind, std::optional<int> points) {
    toolkit.setUnitRect(window, unit, rescaledRect(kind, toolkit.unitRect(window, unit), gScale));
    if (points) toolkit.setFontSize(window, unit, *points);
}

} // namespace

// The scale is held as a float, but every product is computed in double: float
// arithmetic rounds differently on x87 (the 32-bit Windows build) and SSE (native
// builds), which made 48 at 74 DPI 36 in one and 37 in the other.
int scaleCut(int value, float scale) { return static_cast<int>(value * static_cast<double>(scale)); }

int scaleRound(int value, float scale) { return static_cast<int>(std::round(value * static_cast<double>(scale))); }

Rect placedWindowRect(Size screen, Size window, float scale) {
    const double width = window.width * static_cast<double>(scale);
    const double height = window.height * static_cast<double>(scale);
    return {static_cast<int>(screen.width / 2.0 - width / 2), static_cast<int>(screen.height / 2.0 - height / 2),
            static_cast<int>(width), static_cast<int>(height)};
}

Rect rescaledRect(UnitKind kind, Rect rect, float scale) {
    Rect scaled{scaleCut(rect.left, scale), scaleCut(rect.top, scale), scaleCut(rect.width, scale),
                scaleCut(rect.height, scale)};
    if (kind == UnitKind::ShapeBox || kind == UnitKind::ImageButton) scaled.width = scaleRound(rect.width, scale);
    if (kind == UnitKind::PictureBox)
        scaled.height = static_cast<int>(rect.height * static_cast<double>(scale) - 1.0);
    return scaled;
}

bool needsRescaling(float scale) { return std::fabs(scale - 1.0f) > 1e-7f; }

float dpiScale() { return gScale; }
void setDpiScale(float scale) { gScale = scale; }

float measureDpiScale(Toolkit& toolkit, WindowId window) {
    gScale = static_cast<float>(static_cast<double>(toolkit.horizontalPixelsPerInch(window)) / 96.0);
    placeWindow(toolkit, window);
    return gScale;
}

void placeWindow(Toolkit& toolkit, WindowId window) {
    const Rect current = toolkit.windowRect(window);
    toolkit.setWindowRect(window, placedWindowRect(toolkit.screenSize(), {current.width, current.height}, gScale));
}

void rescaleLabel(Toolkit& t, WindowId w, std::string_view u, std::optional<int> p) {
    rescaleUnit(t, w, u, UnitKind::Label, p);
}
void rescaleImageButton(Toolkit& t, WindowId w, std::string_view u, std::optional<int> p) {
    rescaleUnit(t, w, u, UnitKind::ImageButton, p);
}
void rescaleHyperlink(Toolkit& t, WindowId w, std::string_view u, std::optional<int> p) {
    rescaleUnit(t, w, u, UnitKind::Hyperlink, p);
}
void rescaleComboBox(Toolkit& t, WindowId w, std::string_view u, std::optional<int> p) {
    rescaleUnit(t, w, u, UnitKind::ComboBox, p);
}
void rescaleRadioBox(Toolkit& t, WindowId w, std::string_view u, std::optional<int> p) {
    rescaleUnit(t, w, u, UnitKind::RadioBox, p);
}
void rescaleEditBox(Toolkit& t, WindowId w, std::string_view u, std::optional<int> p) {
    rescaleUnit(t, w, u, UnitKind::EditBox, p);
}
void rescaleShapeBox(Toolkit& t, WindowId w, std::string_view u) { rescaleUnit(t, w, u, UnitKind::ShapeBox, {}); }
void rescalePictureBox(Toolkit& t, WindowId w, std::string_view u) {
    rescaleUnit(t, w, u, UnitKind::PictureBox, {});
}

} // namespace tallyra::ui
