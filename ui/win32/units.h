// The units of a window, each a child window built from its row of the layout
// table. Labels, shape boxes, picture boxes, hyperlinks and timers are windows of
// our own class drawn by our own code (DrawnUnit); image buttons have a class of
// their own (image_button.h); edit boxes, combo boxes and radio boxes are the
// standard controls (StandardControl), coloured by their top-level window.
#pragma once

#include "ui/layout.h"
#include "ui/toolkit.h"
#include "ui/win32/picture.h"
#include "ui/win32/scoped.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>

namespace tallyra::ui::win32 {

class TopWindow;

class Unit {
public:
    Unit(TopWindow& owner, const UnitDesign& design, int index);
    virtual ~Unit() = default;
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;

    // Creates the child window under parent, hidden or shown as the design says.
    virtual bool create(HINSTANCE instance, HWND parent) = 0;

    const UnitDesign& design() const { return design_; }
    std::string_view name() const { return design_.name; }
    UnitKind kind() const { return design_.kind; }
    // The ID its layout row gives it, by which automation and screen readers find it.
    int controlId() const { return design_.controlId; }
    HWND hwnd() const { return hwnd_; }
    TopWindow& owner() const { return owner_; }

    // Position and size relative to the parent unit or window, as the layouts count them.
    Rect rect() const { return rect_; }
    virtual void setRect(Rect rect);

    // Character height in pixels; 0 for kinds without text.
    int charHeight() const { return charHeight_; }
    void setCharHeight(int pixels);
    HFONT font() const { return font_.get(); }

    COLORREF textColor() const;
    COLORREF backgroundColor() const;
    HBRUSH backgroundBrush() const;

protected:
    // Window styles every unit shares.
    DWORD baseStyle() const;
    // Called after the font changed, for the kinds that must be told.
    virtual void fontChanged() {}

    TopWindow& owner_;
    const UnitDesign& design_;
    int index_;
    HWND hwnd_ = nullptr;
    Rect rect_;
    int charHeight_ = 0;
    ScopedFont font_;
    ScopedBrush background_;
};

// Labels, shape boxes, picture boxes, hyperlinks and timers.
class DrawnUnit : public Unit {
public:
    DrawnUnit(TopWindow& owner, const UnitDesign& design, int index);
    bool create(HINSTANCE instance, HWND parent) override;

    static bool registerClass(HINSTANCE instance);
    // Starts or stops the timer; 0 stops it.
    void setInterval(int milliseconds);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc, RECT area) const;
    void paintLabel(HDC dc, RECT area, COLORREF color) const;
    void paintShape(HDC dc, RECT area) const;
    void onMouseMove();
    void fontChanged() override { InvalidateRect(hwnd_, nullptr, FALSE); }

    std::unique_ptr<Picture> picture_;
    bool hot_ = false; // hyperlinks: pointer over it
};

// Edit boxes, combo boxes and radio boxes.
class StandardControl : public Unit {
public:
    using Unit::Unit;
    bool create(HINSTANCE instance, HWND parent) override;
    void setRect(Rect rect) override;

    // Combo boxes: the selection last reported to the handlers or set by code, so a
    // change the user confirms is reported once.
    int reportedSelection = -1;

private:
    void fontChanged() override;
    int windowHeight() const;
    void fitDroppedList();
};

// A unit object of the right class for the design's kind.
std::unique_ptr<Unit> makeUnit(TopWindow& owner, const UnitDesign& design, int index);

// The font of a design at a character height in pixels (a negative font height).
ScopedFont createUnitFont(const FontSpec& spec, int charHeight);

inline COLORREF toColorRef(Color color) {
    return RGB(color.red, color.green, color.blue);
}

} // namespace tallyra::ui::win32
