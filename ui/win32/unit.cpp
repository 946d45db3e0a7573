#include "ui/win32/unit.h"

#include "platform/win32/text.h"

namespace tallyra::ui::win32 {
namespace {

using tallyra::win32::BufferedPaint;
using tallyra::win32::ScopedPaint;
using tallyra::win32::toWide;

} // namespace

ScopedFont createUnitFont(const FontSpec& spec, int charHeight) {
    const std::wstring face = toWide(spec.face);
    return ScopedFont(CreateFontW(-charHeight, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE,
                                  static_cast<DWORD>(spec.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

Unit::Unit(UnitHost& host, const UnitDesign& design) : host_(host), design_(design), rect_(design.rect) {
    if (hasText(design.kind)) {
        charHeight_ = design.font.charHeight;
        font_ = createUnitFont(design.font, charHeight_);
    }
    if (design.background) background_.reset(CreateSolidBrush(toColorRef(*design.background)));
}

DWORD Unit::baseStyle() const {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (design_.visible && design_.kind != UnitKind::Timer) style |= WS_VISIBLE;
    if (design_.tabStop) style |= WS_TABSTOP;
    return style;
}

void Unit::setRect(Rect rect) {
    rect_ = rect;
    MoveWindow(hwnd_, rect.left, rect.top, rect.width, rect.height, TRUE);
}

void Unit::setCharHeight(int pixels) {
    if (!hasText(design_.kind) || (pixels == charHeight_ && font_)) return;
    ScopedFont next = createUnitFont(design_.font, pixels);
    if (!next) return;
    // The old font lives until the control has been given the new one.
    ScopedFont previous = std::move(font_);
    font_ = std::move(next);
    charHeight_ = pixels;
    fontChanged();
}

COLORREF Unit::textColor() const {
    return toColorRef(design_.textColor);
}

COLORREF Unit::backgroundColor() const {
    return design_.background ? toColorRef(*design_.background) : GetSysColor(COLOR_BTNFACE);
}

HBRUSH Unit::backgroundBrush() const {
    return background_ ? background_.get() : GetSysColorBrush(COLOR_BTNFACE);
}

bool PaintedUnit::createPainted(const wchar_t* windowClass, DWORD style, HINSTANCE instance, HWND parent) {
    const std::wstring text = toWide(design_.text);
    return createWindow(0, windowClass, text.c_str(), style, rect_.left, rect_.top, rect_.width, rect_.height, parent,
                        controlMenu(), instance);
}

std::optional<LRESULT> PaintedUnit::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills everything
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_.get());
    case WM_PAINT: {
        if (paintsAtOnce()) {
            const ScopedPaint direct(hwnd_);
            RECT area{};
            GetClientRect(hwnd_, &area);
            paint(direct.get(), area);
            return 0;
        }
        BufferedPaint paintBuffer(hwnd_, host_.offscreen());
        paint(paintBuffer.dc(), paintBuffer.area());
        return 0;
    }
    case WM_PRINTCLIENT: { // PrintWindow and screen capture tools draw the unit into their own DC
        RECT area{};
        GetClientRect(hwnd_, &area);
        paint(reinterpret_cast<HDC>(wParam), area);
        return 0;
    }
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return result;
    }
    default:
        return std::nullopt;
    }
}

void PaintedUnit::trackMouseLeave() const {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
    TrackMouseEvent(&track);
}

} // namespace tallyra::ui::win32
