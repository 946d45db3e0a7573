// Full screen for a secondary window that a class reads from afar (groups, several
// students at once): the window fills its monitor without its title bar; leaving
// gives back the exact rectangle.
#pragma once

#include "ui/kit/toolkit.h"

namespace tallyra::ui {

class FullScreen {
public:
    bool on() const { return on_; }
    void set(Toolkit& toolkit, WindowId window, bool on) {
        if (on == on_) return;
        on_ = on;
        toolkit.setVisible(window, shared::kTitle, !on);
        toolkit.setVisible(window, shared::kCloseButton, !on);
        if (on) {
            windowed_ = toolkit.windowRect(window);
            content_ = toolkit.unitRect(window, shared::kContent);
            const Rect screen = toolkit.monitorRect(window);
            toolkit.setWindowRect(window, screen);
            toolkit.setUnitRect(window, shared::kContent, {0, 0, screen.width, screen.height});
        } else {
            toolkit.setWindowRect(window, windowed_);
            toolkit.setUnitRect(window, shared::kContent, content_);
        }
    }

private:
    bool on_ = false;
    Rect windowed_, content_;
};

} // namespace tallyra::ui
