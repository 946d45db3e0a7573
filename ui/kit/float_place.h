// The floating button's geometry, apart from any window system: when a press
// becomes a drag, docking to a screen edge, and the place kept in the settings as
// a fraction of the monitor's work area so that it survives a change of
// resolution or DPI and always comes back onto a screen.
#pragma once

#include "ui/kit/layout.h"
#include "ui/kit/toolkit.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tallyra::ui {

// The button's size at 96 DPI, and how near an edge a release docks to it.
inline constexpr int kFloatButtonSize = 56;
inline constexpr int kDockDistance = 24;
// A finger or a pen wobbles more than a mouse: its drag starts later.
inline constexpr int kTouchDragDistance = 10;

enum class PointerKind { Mouse, Touch, Pen };

// How far (pixels on each axis) a press must move before it is a drag: the system's
// distance for the mouse, about 10 pixels at 96 DPI (scaled) for touch and pen.
int dragThreshold(PointerKind kind, int systemDistance, float dpiScale);
// True once the pointer has left the square of the threshold around the press.
bool isDrag(Point pressed, Point now, int threshold);

// The button's rectangle after a release: moved onto the work area, and flush with
// each edge it ends within distance of.
Rect dockToEdges(Rect button, Rect workArea, int distance);
// The rectangle moved (not resized) so that it lies inside the area as far as it fits.
Rect clampInto(Rect rect, Rect area);

// The place as it is kept: the work area's top left corner (which monitor) and where the
// button's top left corner stands in the room the area leaves it (0 left or top, 1 right
// or bottom).
struct FloatPlace {
    Point monitor{};
    double x = 1.0, y = 0.5;
    friend bool operator==(const FloatPlace&, const FloatPlace&) = default;
};

FloatPlace placeOf(Rect button, Rect workArea);
// The rectangle of a button of this size at the place, inside the work area.
Rect rectAt(const FloatPlace& place, Size button, Rect workArea);
// The work area the place belongs to: the one whose corner it names, else the nearest
// to that corner; none when the list is empty.
std::optional<Rect> areaFor(const FloatPlace& place, std::span<const Rect> workAreas);

// "x,y,0.950000,0.500000"; nothing for text that is not such a place.
std::string formatFloatPlace(const FloatPlace& place);
std::optional<FloatPlace> parseFloatPlace(std::string_view text);

} // namespace tallyra::ui
