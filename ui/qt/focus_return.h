// The focus given back to the program that had it, after our menu and the boxes its
// items open (they may take it over a slide show). On X11 with a window manager the
// window it names active is asked back from it, as a pager would; without one the
// input focus is set back. Elsewhere (Wayland, offscreen) nothing is done.
#pragma once

#include <cstdint>

namespace tallyra::ui::qt {

class FocusReturn {
public:
    // Remembers the window of another program that has the focus now.
    FocusReturn();
    // Gives it back when another window has the focus now and it can still take it.
    void giveBack() const;

private:
    std::uint32_t window_ = 0;
    bool managed_ = false; // by a window manager that tells the active window
};

} // namespace tallyra::ui::qt
