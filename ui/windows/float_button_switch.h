// The floating button's switch in the main window's menu, kept as FloatButton in
// the settings: it shows the button at the next start too. A tap on the button is
// one step of the hot key's cycle, a long press opens the main window's menu, and a
// drag's end is remembered as the button's place.
#pragma once

#include "ui/kit/float_button.h"

#include <memory>

namespace tallyra::ui {

class WindowSet;

class FloatButtonSwitch : public FloatButtonEvents {
public:
    // Adds the switch to the main window's menu.
    explicit FloatButtonSwitch(WindowSet& windows);
    ~FloatButtonSwitch() override;

    // After the start-up: shows the button when the settings say so.
    void start();
    void setShown(bool shown);
    const FloatButton* button() const { return button_.get(); }

    // FloatButtonEvents
    void onFloatButtonTap() override;
    bool onFloatButtonMenu(Point at) override;
    void onFloatButtonMoved(const FloatPlace& place) override;

private:
    bool show();

    WindowSet& windows_;
    std::unique_ptr<FloatButton> button_;
    bool placeNotSavedTold_ = false;
};

} // namespace tallyra::ui
