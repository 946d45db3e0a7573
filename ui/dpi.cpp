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

int scaleCut(int value, float scale) { return static_cast<int>(static_cast<float>(value) * scale); }

int scaleRound(int value, float scale) { return static_cast<int>(std::round(static_cast<float>(value) * scale)); }

Rect placedWindowRect(Size screen, Size window, float scale) {
    const float width = static_cast<float>(window.width) * scale;
    const float height = static_cast<float>(window.height) * scale;
    return {static_cast<int>(static_cast<float>(screen.width) / 2 - width / 2),
            static_cast<int>(static_cast<float>(screen.height) / 2 - height / 2), static_cast<int>(width),
            static_cast<int>(height)};
}

Rect rescaledRect(UnitKind kind, Rect rect, float scale) {
    Rect scaled{scaleCut(rect.left, scale), scaleCut(rect.top, scale), scaleCut(rect.width, scale),
                scaleCut(rect.height, scale)};
    if (kind == UnitKind::ShapeBox || kind == UnitKind::ImageButton) scaled.width = scaleRound(rect.width, scale);
    if (kind == UnitKind::PictureBox)
        scaled.height = static_cast<int>(static_cast<float>(rect.height) * scale - 1.0f);
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
