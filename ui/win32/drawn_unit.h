// Labels, shape boxes, picture boxes, hyperlinks and timers: windows of our own
// class "TallyraUnit", drawn by our own code.
#pragma once

#include "ui/win32/picture.h"
#include "ui/win32/unit.h"

#include <memory>

namespace tallyra::ui::win32 {

class DrawnUnit : public PaintedUnit {
public:
    DrawnUnit(UnitHost& host, const UnitDesign& design);
    bool create(HINSTANCE instance, HWND parent) override;

    static bool registerClass(HINSTANCE instance);
    // Starts or stops the timer; 0 stops it.
    void setInterval(int milliseconds);

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC dc, RECT area) const override;
    void paintLabel(HDC dc, RECT area, COLORREF color) const;
    void paintShape(HDC dc, RECT area) const;
    void onMouseMove();

    std::unique_ptr<Picture> picture_;
    bool hot_ = false; // hyperlinks: pointer over it
};

} // namespace tallyra::ui::win32
