// The floating button over the slides: a small round window above every other,
// that never takes the focus, that a finger taps and drags. A backend builds it
// (Toolkit::createFloatButton); what a tap, a long press and a drag mean is told
// here, and the place is worked out in float_place.h.
#pragma once

#include "ui/kit/float_place.h"

#include <optional>
#include <string>

namespace tallyra::ui {

class FloatButtonEvents {
public:
    virtual ~FloatButtonEvents() = default;
    // A press released without a drag.
    virtual void onFloatButtonTap() = 0;
    // A right click, or a long press (the system's press-and-hold on Windows), at this screen point.
    // True when the focus goes back to the program that had it; false when the menu
    // opened a window of ours that keeps it.
    virtual bool onFloatButtonMenu(Point at) = 0;
    // A drag ended (docked to an edge when released near one): where the button now is.
    virtual void onFloatButtonMoved(const FloatPlace& place) = 0;
};

struct FloatButtonOptions {
    std::string caption = "点名";
    float dpiScale = 1.0f;
    // Nothing: at the right edge of the main monitor, half way down.
    std::optional<FloatPlace> place;
};

// Shown while it lives; destroying it takes it off the screen.
class FloatButton {
public:
    virtual ~FloatButton() = default;
    // Where it is on the screen (for tests and automation).
    virtual Rect rect() const = 0;
};

} // namespace tallyra::ui
