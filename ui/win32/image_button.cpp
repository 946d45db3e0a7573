#include "ui/win32/image_button.h"

#include "platform/win32/text.h"

#include <windowsx.h>

namespace tallyra::ui::win32 {
namespace {

using tallyra::win32::ScopedSelectObject;
using tallyra::win32::windowText;

constexpr wchar_t kImageButtonClass[] = L"TallyraImageButton";

} // namespace

bool ImageButton::registerClass(HINSTANCE instance) {
    // No CS_DBLCLKS: a quick second click is a second press, so Start and Stop can follow each other fast.
    return registerWindowClass(windowClass(instance, kImageButtonClass, kPaintedUnitClassStyle));
}

bool ImageButton::create(HINSTANCE instance, HWND parent) {
    return createPainted(kImageButtonClass, baseStyle(), instance, parent);
}

std::optional<LRESULT> ImageButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        if (!design_.tooltip.empty()) host_.pointerOverTooltipUnit(*this, wParam, lParam);
        onMouseMove(wParam, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSELEAVE:
        setState(false, pressed_, pressed_ ? inside_ : false);
        return 0;
    case WM_LBUTTONDOWN:
        onButtonDown();
        return 0;
    case WM_LBUTTONUP:
        onButtonUp({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0; // nothing after this: the click's handler may have destroyed the window
    case WM_CAPTURECHANGED:
        // Capture taken away (a message box, Alt+Tab): the press is over, without a click.
        if (pressed_ && reinterpret_cast<HWND>(lParam) != hwnd_) setState(false, false, false);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd_, nullptr, FALSE);
        return std::nullopt;
    case BM_CLICK: // lets automation press the button
        host_.raise(*this, UnitEvent::Clicked);
        return 0;
    default:
        return PaintedUnit::onMessage(message, wParam, lParam);
    }
}

bool ImageButton::contains(POINT point) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return PtInRect(&client, point) != FALSE;
}

void ImageButton::setState(bool hot, bool pressed, bool inside) {
    if (hot == hot_ && pressed == pressed_ && inside == inside_) return;
    hot_ = hot;
    pressed_ = pressed;
    inside_ = inside;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ImageButton::onMouseMove(WPARAM keys, POINT point) {
    if (pressed_) {
        // Held down, the button keeps its hot look and shifted caption wherever the
        // pointer goes; only where it is released decides whether it was a click.
        setState(true, true, contains(point));
        return;
    }
    // A pointer dragged in with the button already down (pressed elsewhere) does not make it hot.
    if (!hot_ && !(keys & MK_LBUTTON)) {
        setState(true, false, false);
        trackMouseLeave();
    }
}

void ImageButton::onButtonDown() {
    SetCapture(hwnd_);
    setState(true, true, true);
    trackMouseLeave();
}

void ImageButton::onButtonUp(POINT point) {
    if (!pressed_) return;
    const bool inside = contains(point);
    // State first: releasing the capture sends WM_CAPTURECHANGED, and the click may destroy us.
    setState(inside, false, false);
    ReleaseCapture();
    if (inside) {
        trackMouseLeave();
        host_.raise(*this, UnitEvent::Clicked);
    }
}

void ImageButton::paint(HDC dc, RECT area) const {
    const bool held = pressed_;
    const ColorPair& colors = (hot_ || held) ? design_.hot : GetFocus() == hwnd_ ? design_.focus : design_.normal;
    SetDCBrushColor(dc, toColorRef(colors.background));
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    const std::wstring caption = windowText(hwnd_);
    if (caption.empty()) return;
    const ScopedSelectObject selectFont(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, toColorRef(colors.text));
    constexpr UINT kFlags = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    RECT box = area;
    if (held) OffsetRect(&box, 1, 1);
    // DT_VCENTER works on single lines only: measure the (possibly broken) caption and centre it by hand.
    RECT measured = box;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, kFlags | DT_CALCRECT);
    const int textHeight = measured.bottom - measured.top;
    if (textHeight < box.bottom - box.top) box.top += (box.bottom - box.top - textHeight) / 2;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box, kFlags);
}

} // namespace tallyra::ui::win32
