// Base of the secondary windows (settings, class management, about, changelog,
// support): its id, whether it has been destroyed, and its rescaling for the DPI
// scale. A secondary window reaches the others only through the window set, which
// owns it: this header names the set without depending on it.
#pragma once

#include "ui/kit/layout.h"
#include "ui/kit/toolkit.h"

namespace tallyra::ui {

class WindowSet;

// Base of the secondary windows: its id, and whether it has been destroyed.
class SecondaryWindow : public WindowEvents {
public:
    explicit SecondaryWindow(WindowSet& windows);
    ~SecondaryWindow() override = default;

    WindowId id() const { return window_; }
    bool isOpen() const { return window_ != kNoWindow && !destroyed_; }

    // Builds the window afresh from its layout (its created event runs meanwhile) and shows it.
    void open() {
        toolkit_.openWindow(design(), *this);
        toolkit_.showWindow(window_, true);
    }

    void onCreated(WindowId window) override {
        window_ = window;
        onOpened();
    }
    void onDestroying(WindowId) override {
        destroyed_ = true;
        onClosed();
    }
    // Escape closes the window as its × does.
    void onKey(WindowId window, Key key, KeyAction action) override {
        if (key == Key::Escape && action == KeyAction::Pressed && isOpen())
            onUnitEvent(window, shared::kCloseButton, UnitEvent::Clicked);
    }

protected:
    // When the DPI scale is not 1: centres the window at its scaled size and
    // rescales its units, each by the rule in its layout row.
    void rescaleForDpi();

    virtual const WindowDesign& design() const = 0;
    virtual void onOpened() = 0;
    // Runs however the window is destroyed.
    virtual void onClosed() = 0;

    WindowSet& windows_;
    Toolkit& toolkit_;
    WindowId window_ = kNoWindow;
    bool destroyed_ = false;
};

} // namespace tallyra::ui
