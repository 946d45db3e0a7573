#include "ui/win32/float_button.h"

#include "ui/kit/dpi.h"

#include "platform/win32/text.h"

#include <vector>

namespace tallyra::ui::win32 {

using tallyra::win32::toWide;

namespace {

constexpr wchar_t kClassName[] = L"TallyraFloatButton";

// Mouse messages that touch or a pen promoted carry this signature in their extra
// information; bit 7 tells touch from pen.
constexpr LPARAM kPenOrTouchMask = static_cast<LPARAM>(0xFFFFFF00);
constexpr LPARAM kPenOrTouchSignature = static_cast<LPARAM>(0xFF515700);

PointerKind pointerOfMessage() {
    const LPARAM extra = GetMessageExtraInfo();
    if ((extra & kPenOrTouchMask) != kPenOrTouchSignature) return PointerKind::Mouse;
    return (extra & 0x80) ? PointerKind::Touch : PointerKind::Pen;
}

Rect toRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) reinterpret_cast<std::vector<Rect>*>(areas)->push_back(toRect(info.rcWork));
    return TRUE;
}

Rect workAreaOf(const RECT& rect) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info);
    return toRect(info.rcWork);
}

COLORREF colorRef(Color color) {
    return RGB(color.red, color.green, color.blue);
}

} // namespace

Win32FloatButton::Win32FloatButton(const FloatButtonOptions& options, FloatButtonEvents& events, KeepAbove& keepAbove)
    : options_(options), events_(events), keepAbove_(keepAbove), size_(scaleRound(kFloatButtonSize, options.dpiScale)) {
}

Win32FloatButton::~Win32FloatButton() {
    if (HWND window = hwnd_) {
        keepAbove_.remove(window);
        WindowObject::release();
        DestroyWindow(window);
    }
}

bool Win32FloatButton::create(HINSTANCE instance) {
    WNDCLASSEXW windowClass = this->windowClass(instance, kClassName);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_HAND);
    if (!registerWindowClass(windowClass)) return false;
    // Topmost from the start, never activated, and a tool window: not in the taskbar or Alt+Tab.
    if (!createWindow(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kClassName, toWide(options_.caption).c_str(),
                      WS_POPUP, 0, 0, size_, size_, nullptr, nullptr, instance))
        return false;
    font_.reset(CreateFontW(-size_ * 9 / 28, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"微软雅黑"));
    SetWindowRgn(hwnd_, CreateEllipticRgn(0, 0, size_ + 1, size_ + 1), FALSE);
    place();
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    keepAbove_.add(hwnd_);
    return true;
}

Rect Win32FloatButton::rect() const {
    RECT rect{};
    if (hwnd_) GetWindowRect(hwnd_, &rect);
    return toRect(rect);
}

void Win32FloatButton::place() {
    std::vector<Rect> areas;
    EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&areas));
    FloatPlace where = options_.place.value_or(FloatPlace{});
    if (!options_.place) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
        where.monitor = {info.rcWork.left, info.rcWork.top};
    }
    const std::optional<Rect> area = areaFor(where, areas);
    if (!area) return;
    const Rect rect = rectAt(where, {size_, size_}, *area);
    SetWindowPos(hwnd_, HWND_TOPMOST, rect.left, rect.top, size_, size_, SWP_NOACTIVATE);
}

void Win32FloatButton::press() {
    SetCapture(hwnd_);
    pressed_ = true;
    dragging_ = false;
    const DWORD at = GetMessagePos();
    pressedAt_ = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    GetWindowRect(hwnd_, &rectAtPress_);
    threshold_ = dragThreshold(pointerOfMessage(), GetSystemMetrics(SM_CXDRAG), options_.dpiScale);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32FloatButton::follow() {
    const DWORD at = GetMessagePos();
    const POINT now{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (!dragging_ && !isDrag({pressedAt_.x, pressedAt_.y}, {now.x, now.y}, threshold_)) return;
    dragging_ = true;
    SetWindowPos(hwnd_, nullptr, rectAtPress_.left + now.x - pressedAt_.x, rectAtPress_.top + now.y - pressedAt_.y, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32FloatButton::finishPress(bool tap) {
    if (!pressed_) return;
    pressed_ = false;
    const bool dragged = dragging_;
    dragging_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (dragged) {
        RECT now{};
        GetWindowRect(hwnd_, &now);
        const Rect area = workAreaOf(now);
        const Rect docked = dockToEdges(toRect(now), area, scaleRound(kDockDistance, options_.dpiScale));
        SetWindowPos(hwnd_, nullptr, docked.left, docked.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        options_.place = placeOf(docked, area);
        events_.onFloatButtonMoved(*options_.place);
    } else if (tap) {
        events_.onFloatButtonTap();
    }
}

void Win32FloatButton::openMenu(LPARAM at) {
    finishPress(false);
    POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (at == -1) {
        RECT rect{};
        GetWindowRect(hwnd_, &rect);
        point = {rect.left, rect.bottom};
    }
    // The menu takes the focus; the program that had it gets it back when the menu closes.
    const HWND before = GetForegroundWindow();
    if (events_.onFloatButtonMenu({point.x, point.y}) && before && IsWindow(before) && GetForegroundWindow() != before)
        SetForegroundWindow(before);
}

void Win32FloatButton::paint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd_, &paint);
    const tallyra::win32::ScopedBrush fill(CreateSolidBrush(colorRef(pressed_ ? kMinimiseHot : kTitleBlue)));
    const tallyra::win32::ScopedPen outline(CreatePen(PS_SOLID, std::max(1, size_ / 28), colorRef(kWhite)));
    const HGDIOBJ oldBrush = SelectObject(dc, fill.get());
    const HGDIOBJ oldPen = SelectObject(dc, outline.get());
    Ellipse(dc, 0, 0, size_, size_);
    const HGDIOBJ oldFont = SelectObject(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(kWhite));
    RECT box{0, 0, size_, size_};
    const std::wstring caption = toWide(options_.caption);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    EndPaint(hwnd_, &paint);
}

std::optional<LRESULT> Win32FloatButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        press();
        return 0;
    case WM_MOUSEMOVE:
        if (pressed_) follow();
        return 0;
    case WM_LBUTTONUP:
        finishPress(true);
        return 0;
    case WM_CAPTURECHANGED:
        // Taken away (a box, the system): a drag ends where it is, a press is no tap.
        if (pressed_ && reinterpret_cast<HWND>(lParam) != hwnd_) finishPress(false);
        return 0;
    case WM_CONTEXTMENU:
        // A right click, and the press-and-hold of touch and pen, which the system sends as one.
        openMenu(lParam);
        return 0;
    case WM_PAINT:
        paint();
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam != SPI_SETWORKAREA) return std::nullopt;
        [[fallthrough]];
    case WM_DISPLAYCHANGE:
        // A monitor went, or the resolution or the task bar changed: back inside a work area.
        place();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace tallyra::ui::win32
