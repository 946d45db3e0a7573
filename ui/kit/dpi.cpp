#include "ui/kit/dpi.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tallyra::ui {

// The scale is held as a float, but every product is computed in double: float
// arithmetic rounds differently on x87 (the 32-bit Windows build) and SSE (native
// builds), which made 48 at 74 DPI 36 in one and 37 in the other.
int scaleCut(int value, float scale) {
    return static_cast<int>(value * static_cast<double>(scale));
}

int scaleRound(int value, float scale) {
    return static_cast<int>(std::round(value * static_cast<double>(scale)));
}

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
    if (kind == UnitKind::PictureBox) scaled.height = static_cast<int>(rect.height * static_cast<double>(scale) - 1.0);
    return scaled;
}

bool needsRescaling(float scale) {
    return std::fabs(scale - 1.0f) > 1e-7f;
}

float measureDpiScale(Toolkit& toolkit, WindowId window) {
    return static_cast<float>(static_cast<double>(toolkit.horizontalPixelsPerInch(window)) / 96.0);
}

void placeWindow(Toolkit& toolkit, WindowId window, float scale) {
    const Rect current = toolkit.windowRect(window);
    toolkit.setWindowRect(window, placedWindowRect(toolkit.screenSize(), {current.width, current.height}, scale));
}

void rescaleUnits(Toolkit& toolkit, WindowId window, const WindowDesign& design, float scale) {
    std::vector<const UnitDesign*> units;
    for (const UnitDesign& unit : design.units)
        if (unit.rescale.step > 0) units.push_back(&unit);
    std::sort(units.begin(), units.end(),
              [](const UnitDesign* a, const UnitDesign* b) { return a->rescale.step < b->rescale.step; });
    for (const UnitDesign* unit : units) {
        toolkit.setUnitRect(window, unit->name, rescaledRect(unit->kind, toolkit.unitRect(window, unit->name), scale));
        if (unit->rescale.points) toolkit.setFontSize(window, unit->name, *unit->rescale.points);
    }
}

} // namespace tallyra::ui
