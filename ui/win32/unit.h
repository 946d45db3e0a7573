// A unit of a window: a child window built from its row of the layout table.
// Labels, shape boxes, picture boxes, hyperlinks and timers (drawn_unit.h) and
// image buttons (image_button.h) are windows of our own classes that paint
// themselves (PaintedUnit); edit boxes, combo boxes and radio boxes are the
// standard controls (standard_control.h), coloured by their top-level window.
#pragma once

#include "platform/win32/buffered_paint.h"
#include "platform/win32/scoped.h"
#include "platform/win32/window_object.h"
#include "ui/kit/layout.h"
#include "ui/kit/toolkit.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>

namespace tallyra::ui::win32 {

using tallyra::win32::ScopedBrush;
using tallyra::win32::ScopedFont;

class Unit;

// What a unit needs of the window it lies in (a TopWindow).
class UnitHost {
public:
    // Tells the window's handlers; nothing once the window is being destroyed.
    virtual void raise(const Unit& unit, UnitEvent event) = 0;
    // The system's move loop, as a press on a caption would start it.
    virtual void beginDrag() = 0;
    // Messages that standard controls send to their parent, which may be a unit;
    // nothing for any other message.
    virtual std::optional<LRESULT> handleChildMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Holds the window, and with it its units, alive: a handler may close it.
    virtual std::shared_ptr<const void> lifetime() const = 0;
    // The pointer moved over a unit that has a tooltip (the move's WM_MOUSEMOVE parameters).
    virtual void pointerOverTooltipUnit(const Unit& unit, WPARAM keys, LPARAM point) = 0;
    // Where units paint before their one copy to the screen.
    virtual tallyra::win32::OffscreenSurface& offscreen() = 0;

protected:
    ~UnitHost() = default;
};

class Unit : public tallyra::win32::WindowObject {
public:
    Unit(UnitHost& host, const UnitDesign& design);

    // Creates the child window under parent, hidden or shown as the design says.
    virtual bool create(HINSTANCE instance, HWND parent) = 0;

    const UnitDesign& design() const { return design_; }
    std::string_view name() const { return design_.name; }
    UnitKind kind() const { return design_.kind; }
    // The ID its layout row gives it, by which automation and screen readers find it.
    int controlId() const { return design_.controlId; }

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
    HMENU controlMenu() const { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId())); }
    // Called after the font changed, for the kinds that must be told.
    virtual void fontChanged() {}
    std::shared_ptr<const void> keepAlive() const override { return host_.lifetime(); }
    std::optional<LRESULT> onMessage(UINT, WPARAM, LPARAM) override { return std::nullopt; }

    UnitHost& host_;
    const UnitDesign& design_;
    Rect rect_;
    int charHeight_ = 0;
    ScopedFont font_;
    ScopedBrush background_;
};

// A unit of our own window class that paints itself whole, off screen, and
// repaints when its text or font changes.
class PaintedUnit : public Unit {
public:
    using Unit::Unit;

protected:
    bool createPainted(const wchar_t* windowClass, DWORD style, HINSTANCE instance, HWND parent);
    virtual void paint(HDC dc, RECT area) const = 0;
    // Whether paint draws everything in one call, which needs no off-screen copy.
    virtual bool paintsAtOnce() const { return false; }
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void fontChanged() override { InvalidateRect(hwnd_, nullptr, FALSE); }
    // Asks for WM_MOUSELEAVE when the pointer leaves.
    void trackMouseLeave() const;
};

// The class style of the units that paint themselves. Each class shares one device
// context (CS_CLASSDC): the units paint one at a time and only copy their off-screen
// picture into it. Under Wine a device context of every unit's own cost about a third
// of a millisecond each when a window first showed.
constexpr UINT kPaintedUnitClassStyle = CS_HREDRAW | CS_VREDRAW | CS_CLASSDC;

// The font of a design at a character height in pixels (a negative font height).
ScopedFont createUnitFont(const FontSpec& spec, int charHeight);

inline COLORREF toColorRef(Color color) {
    return RGB(color.red, color.green, color.blue);
}

} // namespace tallyra::ui::win32
