// The flat image button: a window class of its own that fills itself with the
// colour pair of its state (normal, hot while the pointer is over it or it is
// held down, focus) and centres its caption, shifted 1 pixel right and down while
// held. No border, no focus frame. A click is a press and a release on it.
#pragma once

#include "ui/win32/unit.h"

namespace tallyra::ui::win32 {

class ImageButton : public PaintedUnit {
public:
    using PaintedUnit::PaintedUnit;
    bool create(HINSTANCE instance, HWND parent) override;
    static bool registerClass(HINSTANCE instance);

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onMouseMove(WPARAM keys, POINT point);
    void onButtonDown();
    void onButtonUp(POINT point);
    void paint(HDC dc, RECT area) const override;
    bool contains(POINT point) const;
    void setState(bool hot, bool pressed, bool inside);

    bool hot_ = false;     // pointer over it
    bool pressed_ = false; // left button went down on it and is still down
    bool inside_ = false;  // while pressed: the pointer is over it
};

} // namespace tallyra::ui::win32
