// The floating button on Windows: a round topmost tool window that is never
// activated, is in neither the taskbar nor Alt+Tab, follows a drag by capturing the
// pointer (the system's move loop would swallow the release) and tells a tap, a
// right click (also the system's press-and-hold) and the place a drag left it at.
#pragma once

#include "platform/win32/scoped.h"
#include "platform/win32/window_object.h"
#include "ui/kit/float_button.h"
#include "ui/win32/keep_above.h"

#include <memory>

namespace tallyra::ui::win32 {

class Win32FloatButton : public FloatButton, public tallyra::win32::WindowObject {
public:
    Win32FloatButton(const FloatButtonOptions& options, FloatButtonEvents& events, KeepAbove& keepAbove);
    ~Win32FloatButton() override;

    // Creates and shows it; false when there is no window.
    bool create(HINSTANCE instance);
    Rect rect() const override;

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::shared_ptr<const void> keepAlive() const override { return alive_; }
    void press();
    void follow();
    void finishPress(bool tap);
    void openMenu(LPARAM at);
    void paint();
    // Puts it at its place on the monitors as they are now.
    void place();

    FloatButtonOptions options_;
    FloatButtonEvents& events_;
    KeepAbove& keepAbove_;
    std::shared_ptr<int> alive_{new int(0)};
    int size_ = kFloatButtonSize;
    tallyra::win32::ScopedFont font_;
    bool pressed_ = false;
    bool dragging_ = false;
    POINT pressedAt_{};
    RECT rectAtPress_{};
    int threshold_ = 4;
};

} // namespace tallyra::ui::win32
