// Labels, shape boxes, picture boxes, hyperlinks and timers: windows of our own
// class "TallyraUnit", drawn by our own code.
#pragma once

#include "ui/win32/picture.h"
#include "ui/win32/unit.h"

#include <map>
#include <memory>

namespace tallyra::ui::win32 {

class DrawnUnit : public PaintedUnit {
public:
    DrawnUnit(UnitHost& host, const UnitDesign& design);
    bool create(HINSTANCE instance, HWND parent) override;

    static bool registerClass(HINSTANCE instance);
    // Starts or stops the timer; 0 stops it.
    void setInterval(int milliseconds);
    // Labels: how the text fits the box.
    void setTextFit(TextFit fit);

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC dc, RECT area) const override;
    void paintLabel(HDC dc, RECT area, COLORREF color) const;
    void paintShape(HDC dc, RECT area) const;
    void onMouseMove();
    // A second press soon after the first and near it.
    bool isDoubleClick();
    // The font of a character height, kept for the next paints.
    HFONT fontOfHeight(int charHeight) const;

    std::unique_ptr<Picture> picture_;
    bool hot_ = false; // hyperlinks: pointer over it
    TextFit fit_ = TextFit::None;
    DWORD lastPressTime_ = 0;
    POINT lastPressPoint_{};
    // Fonts of the heights fitted text was drawn at (a few: the rolling display shows
    // the same texts again and again).
    mutable std::map<int, ScopedFont> fittedFonts_;
};

} // namespace tallyra::ui::win32
