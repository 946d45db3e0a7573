#include "ui/win32/units.h"
#include "ui/win32/window_object.h"

#include "ui/win32/image_button.h"
#include "ui/win32/text.h"
#include "ui/win32/top_window.h"

#include <windowsx.h>

#include <algorithm>

namespace tallyra::ui::win32 {
namespace {

constexpr wchar_t kDrawnUnitClass[] = L"TallyraUnit";
constexpr UINT_PTR kTimerId = 1;
// The dropped list of a combo box is at least this high.
constexpr int kDroppedListHeight = 160;

bool hasText(UnitKind kind) {
    switch (kind) {
    case UnitKind::Label:
    case UnitKind::ImageButton:
    case UnitKind::Hyperlink:
    case UnitKind::EditBox:
    case UnitKind::ComboBox:
    case UnitKind::RadioBox:
        return true;
    default:
        return false;
    }
}

HMENU controlMenu(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

UINT alignmentFlags(const UnitDesign& design) {
    UINT flags = DT_SINGLELINE | DT_NOPREFIX;
    flags |= design.hAlign == HAlign::Center ? DT_CENTER : design.hAlign == HAlign::Right ? DT_RIGHT : DT_LEFT;
    flags |= design.vAlign == VAlign::Center ? DT_VCENTER : design.vAlign == VAlign::Bottom ? DT_BOTTOM : DT_TOP;
    return flags;
}

} // namespace

ScopedFont createUnitFont(const FontSpec& spec, int charHeight) {
    const std::wstring face = toWide(spec.face);
    return ScopedFont(CreateFontW(-charHeight, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE,
                                  static_cast<DWORD>(spec.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

// ---------------------------------------------------------------------------------------------
// Unit

Unit::Unit(TopWindow& owner, const UnitDesign& design, int index)
    : owner_(owner), design_(design), index_(index), rect_(design.rect) {
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

// ---------------------------------------------------------------------------------------------
// DrawnUnit: labels, shape boxes, picture boxes, hyperlinks, timers

DrawnUnit::DrawnUnit(TopWindow& owner, const UnitDesign& design, int index) : Unit(owner, design, index) {}

bool DrawnUnit::registerClass(HINSTANCE instance) {
    return registerWindowClass(windowClassOf(instance, kDrawnUnitClass, windowProc, CS_HREDRAW | CS_VREDRAW));
}

bool DrawnUnit::create(HINSTANCE instance, HWND parent) {
    if (design_.kind == UnitKind::PictureBox && design_.picture != 0) {
        const COLORREF back = backgroundColor();
        picture_ = std::make_unique<Picture>(instance, design_.picture,
                                             Color{GetRValue(back), GetGValue(back), GetBValue(back)});
    }
    DWORD style = baseStyle();
    // Shape and picture boxes hold units of their own.
    if (design_.kind == UnitKind::ShapeBox || design_.kind == UnitKind::PictureBox) style |= WS_CLIPCHILDREN;
    const std::wstring text = toWide(design_.text);
    CreateWindowExW(0, kDrawnUnitClass, text.c_str(), style, rect_.left, rect_.top, rect_.width, rect_.height, parent,
                    controlMenu(controlId()), instance, this);
    return hwnd_ != nullptr;
}

void DrawnUnit::setInterval(int milliseconds) {
    if (design_.kind != UnitKind::Timer || !hwnd_) return;
    if (milliseconds > 0)
        SetTimer(hwnd_, kTimerId, static_cast<UINT>(milliseconds), nullptr);
    else
        KillTimer(hwnd_, kTimerId);
}

LRESULT CALLBACK DrawnUnit::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DrawnUnit* self = windowObject<DrawnUnit>(hwnd, message, lParam, &DrawnUnit::hwnd_);
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    // A handler may destroy the window (and with it this unit) while we are still in here.
    const std::shared_ptr<TopWindow> keepAlive = self->owner_.shared_from_this();
    return self->handle(message, wParam, lParam);
}

LRESULT DrawnUnit::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = hwnd_;
    const UnitKind kind = design_.kind;
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills everything
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_.get());
    case WM_PAINT: {
        BufferedPaint paintBuffer(hwnd);
        paint(paintBuffer.dc(), paintBuffer.area());
        return 0;
    }
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    case WM_LBUTTONDOWN:
        if (kind == UnitKind::Hyperlink) {
            // The handler may open a modal box while the button is still down; under Wine the
            // box then ignores the mouse unless the press's pointer grab is let go first.
            ReleaseCapture();
            owner_.raise(*this, UnitEvent::LinkPressed);
            return 0;
        }
        if (kind == UnitKind::Label || kind == UnitKind::ShapeBox || kind == UnitKind::PictureBox) {
            owner_.beginDrag();
            return 0;
        }
        break;
    case BM_CLICK: // lets automation press a hyperlink
        if (kind == UnitKind::Hyperlink) owner_.raise(*this, UnitEvent::LinkPressed);
        return 0;
    case WM_MOUSEMOVE:
        if (kind == UnitKind::Hyperlink) onMouseMove();
        return 0;
    case WM_MOUSELEAVE:
        if (hot_) {
            hot_ = false;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_SETCURSOR:
        if (kind == UnitKind::Hyperlink && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649) /* IDC_HAND */));
            return TRUE;
        }
        break;
    case WM_TIMER:
        if (kind == UnitKind::Timer && wParam == kTimerId) owner_.raise(*this, UnitEvent::Tick);
        return 0;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
        LRESULT result = 0;
        if (owner_.handleChildMessage(message, wParam, lParam, result)) return result;
        break;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void DrawnUnit::onMouseMove() {
    if (hot_) return;
    hot_ = true;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
    TrackMouseEvent(&track);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void DrawnUnit::paint(HDC dc, RECT area) const {
    FillRect(dc, &area, backgroundBrush());
    switch (design_.kind) {
    case UnitKind::Label:
        paintLabel(dc, area, textColor());
        break;
    case UnitKind::Hyperlink:
        paintLabel(dc, area, hot_ ? toColorRef(design_.hoverColor) : textColor());
        break;
    case UnitKind::ShapeBox:
        paintShape(dc, area);
        break;
    case UnitKind::PictureBox:
        if (picture_) picture_->draw(dc, area.right, area.bottom, design_.pictureMode);
        break;
    default:
        break;
    }
}

void DrawnUnit::paintLabel(HDC dc, RECT area, COLORREF color) const {
    std::wstring text = windowText(hwnd_);
    // One line: line breaks in a text (the number label's design text is CR LF) show as nothing.
    std::erase_if(text, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
    if (text.empty()) return;
    const ScopedSelectObject selectFont(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, alignmentFlags(design_));
}

void DrawnUnit::paintShape(HDC dc, RECT area) const {
    ScopedPen outline;
    if (design_.outline) outline.reset(CreatePen(PS_SOLID, 1, toColorRef(*design_.outline)));
    ScopedBrush fill;
    if (design_.fill) fill.reset(CreateSolidBrush(toColorRef(*design_.fill)));
    const ScopedSelectObject selectPen(dc, outline ? static_cast<HGDIOBJ>(outline.get()) : GetStockObject(NULL_PEN));
    const ScopedSelectObject selectBrush(dc, fill ? static_cast<HGDIOBJ>(fill.get()) : GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, area.left, area.top, area.right, area.bottom);
}

// ---------------------------------------------------------------------------------------------
// StandardControl: edit boxes, combo boxes, radio boxes

bool StandardControl::create(HINSTANCE instance, HWND parent) {
    DWORD style = baseStyle();
    const wchar_t* windowClass = L"EDIT";
    switch (design_.kind) {
    case UnitKind::EditBox:
        style |= design_.multiLine ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
        if (design_.readOnly) style |= ES_READONLY;
        break;
    case UnitKind::ComboBox:
        windowClass = L"COMBOBOX";
        // The given height is then the dropped list's, not whole items' worth of it.
        style |= CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT | WS_VSCROLL;
        break;
    case UnitKind::RadioBox:
        windowClass = L"BUTTON";
        style |= BS_AUTORADIOBUTTON;
        break;
    default:
        return false;
    }
    const std::wstring text = toWide(design_.text);
    hwnd_ = CreateWindowExW(0, windowClass, text.c_str(), style, rect_.left, rect_.top, rect_.width, windowHeight(),
                            parent, controlMenu(controlId()), instance, nullptr);
    if (!hwnd_) return false;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    // Rosters and the changelog outgrow the default 32,767 characters.
    if (design_.kind == UnitKind::EditBox) SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    if (design_.kind == UnitKind::ComboBox) fitDroppedList();
    return true;
}

int StandardControl::windowHeight() const {
    return design_.kind == UnitKind::ComboBox ? rect_.height + kDroppedListHeight : rect_.height;
}

// The height a combo box is given holds its selection field and its dropped list
// together, and the field's height follows the font, not the layout: once the
// field exists, size the whole so that the list alone gets its full height.
void StandardControl::fitDroppedList() {
    RECT field{};
    GetWindowRect(hwnd_, &field); // a closed combo box's window is its selection field
    SetWindowPos(hwnd_, nullptr, 0, 0, rect_.width, (field.bottom - field.top) + kDroppedListHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void StandardControl::setRect(Rect rect) {
    rect_ = rect;
    MoveWindow(hwnd_, rect.left, rect.top, rect.width, windowHeight(), TRUE);
    if (design_.kind == UnitKind::ComboBox) fitDroppedList();
}

void StandardControl::fontChanged() {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    if (design_.kind == UnitKind::ComboBox) fitDroppedList();
}

std::unique_ptr<Unit> makeUnit(TopWindow& owner, const UnitDesign& design, int index) {
    switch (design.kind) {
    case UnitKind::ImageButton:
        return std::make_unique<ImageButton>(owner, design, index);
    case UnitKind::EditBox:
    case UnitKind::ComboBox:
    case UnitKind::RadioBox:
        return std::make_unique<StandardControl>(owner, design, index);
    default:
        return std::make_unique<DrawnUnit>(owner, design, index);
    }
}

} // namespace tallyra::ui::win32
