#include "ui/win32/top_window.h"

#include "platform/win32/text.h"
#include "ui/kit/dpi.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/drawn_unit.h"
#include "ui/win32/file_drop.h"
#include "ui/win32/image_button.h"
#include "ui/win32/standard_control.h"
#include "ui/win32/win32_toolkit.h"

#include <commctrl.h>

#include <algorithm>
#include <span>

namespace tallyra::ui::win32 {
namespace {

using tallyra::win32::toWide;

constexpr wchar_t kTopWindowClass[] = L"TallyraWindow";
struct AppIcons {
    HICON large = nullptr;
    HICON small = nullptr;
};

// Shared icons (LR_SHARED) belong to the system; nothing to destroy.
BOOL CALLBACK loadFirstIcon(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* icons = reinterpret_cast<AppIcons*>(param);
    icons->large = static_cast<HICON>(
        LoadImageW(module, name, IMAGE_ICON, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    icons->small = static_cast<HICON>(
        LoadImageW(module, name, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    return FALSE; // the first group is enough
}

// A unit object of the right class for the design's kind.
std::unique_ptr<Unit> makeUnit(TopWindow& owner, const UnitDesign& design) {
    switch (design.kind) {
    case UnitKind::ImageButton:
        return std::make_unique<ImageButton>(owner, design);
    case UnitKind::EditBox:
    case UnitKind::ComboBox:
    case UnitKind::RadioBox:
    case UnitKind::CheckList:
        return std::make_unique<StandardControl>(owner, design);
    default:
        return std::make_unique<DrawnUnit>(owner, design);
    }
}

// Whether a unit overlaps or touches one listed before it in the same parent (a
// button frame on the content area). Touching counts: rescaled edges may then overlap.
bool meetsEarlierSibling(std::span<const UnitDesign> units, std::size_t index) {
    const UnitDesign& unit = units[index];
    for (std::size_t i = 0; i < index; ++i) {
        const UnitDesign& other = units[i];
        if (other.parent != unit.parent) continue;
        if (unit.rect.left <= other.rect.left + other.rect.width &&
            other.rect.left <= unit.rect.left + unit.rect.width &&
            unit.rect.top <= other.rect.top + other.rect.height && other.rect.top <= unit.rect.top + unit.rect.height)
            return true;
    }
    return false;
}

} // namespace

TopWindow::TopWindow(Win32Toolkit& toolkit, WindowId id, const WindowDesign& design, WindowEvents& events)
    : toolkit_(toolkit), id_(id), design_(design), events_(events) {
    if (design.background) background_.reset(CreateSolidBrush(toColorRef(*design.background)));
}

TopWindow::~TopWindow() = default;

bool TopWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = WindowObject::windowClass(instance, kTopWindowClass);
    // The application icon is whichever icon group the resources hold first.
    AppIcons icons;
    EnumResourceNamesW(instance, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, loadFirstIcon,
                       reinterpret_cast<LONG_PTR>(&icons));
    windowClass.hIcon = icons.large;
    windowClass.hIconSm = icons.small;
    return registerWindowClass(windowClass);
}

bool TopWindow::create(HINSTANCE instance) {
    // A popup has no frame and no title bar; the system menu and the minimise box let the
    // taskbar minimise, restore and close it. Without IsDialogMessage in the message loop,
    // Escape does not close it and Enter does not move the focus.
    DWORD style = WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN;
    if (design_.canMinimise) style |= WS_MINIMIZEBOX;
    const std::wstring caption = toWide(design_.caption);
    // Every window opens centred on the screen (the DPI step may place it again).
    const Rect placed = placedWindowRect({GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                                         {design_.width, design_.height}, 1.0f);
    instance_ = instance;
    // Edit, combo and radio boxes are common controls; the main window has none.
    for (const UnitDesign& unitDesign : design_.units) {
        if (unitDesign.kind == UnitKind::EditBox || unitDesign.kind == UnitKind::ComboBox ||
            unitDesign.kind == UnitKind::RadioBox || unitDesign.kind == UnitKind::CheckList) {
            loadCommonControls();
            break;
        }
    }
    if (!createWindow(WS_EX_APPWINDOW, kTopWindowClass, caption.c_str(), style, placed.left, placed.top, design_.width,
                      design_.height, nullptr, nullptr, instance))
        return false;

    units_.reserve(design_.units.size());
    for (std::size_t index = 0; index < design_.units.size(); ++index) {
        const UnitDesign& unitDesign = design_.units[index];
        HWND parent = hwnd_;
        if (!unitDesign.parent.empty()) {
            if (const Unit* container = find(unitDesign.parent); container && container->hwnd())
                parent = container->hwnd();
        }
        units_.push_back(makeUnit(*this, unitDesign));
        // A unit that cannot be made stays without a window; the others still work.
        // Units listed later lie on top of earlier ones where they overlap; new child windows
        // would otherwise go below their siblings. Only those that meet an earlier one are
        // raised: under Wine each raise is a round trip to the window server.
        if (units_.back()->create(instance, parent) && meetsEarlierSibling(design_.units, index))
            SetWindowPos(units_.back()->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return true;
}

// The tooltips, and with them the common controls, wait for the first hover of a
// button that has one.
void TopWindow::pointerOverTooltipUnit(const Unit& unit, WPARAM keys, LPARAM point) {
    if (tooltipsTried_ || destroying_ || detached_) return;
    tooltipsTried_ = true;
    if (!loadCommonControls() || !createTooltips()) return;
    // The tooltip watches its tools from the next message on: it is told of this one.
    MSG move{unit.hwnd(), WM_MOUSEMOVE, keys, point, 0, {}};
    const DWORD position = GetMessagePos();
    move.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

bool TopWindow::createTooltips() {
    for (const std::unique_ptr<Unit>& unit : units_) {
        if (unit->kind() != UnitKind::ImageButton || unit->design().tooltip.empty() || !unit->hwnd()) continue;
        if (!tooltip_) {
            tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                       instance_, nullptr);
            if (!tooltip_) return false;
        }
        std::wstring tip = toWide(unit->design().tooltip);
        TOOLINFOW tool{};
        // The version 2 size is understood by every comctl32, with or without the manifest.
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = GetParent(unit->hwnd());
        tool.uId = reinterpret_cast<UINT_PTR>(unit->hwnd());
        tool.lpszText = tip.data();
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return tooltip_ != nullptr;
}

tallyra::win32::OffscreenSurface& TopWindow::offscreen() {
    return toolkit_.offscreen();
}

Unit* TopWindow::find(std::string_view name) const {
    for (const std::unique_ptr<Unit>& unit : units_)
        if (unit->name() == name) return unit.get();
    return nullptr;
}

Unit* TopWindow::findByHandle(HWND control) const {
    if (!control) return nullptr;
    for (const std::unique_ptr<Unit>& unit : units_)
        if (unit->hwnd() == control) return unit.get();
    // The dropped list and the field of a combo box colour themselves through their combo box.
    for (const std::unique_ptr<Unit>& unit : units_) {
        if (unit->kind() != UnitKind::ComboBox || !unit->hwnd()) continue;
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (GetComboBoxInfo(unit->hwnd(), &info) && (info.hwndList == control || info.hwndItem == control))
            return unit.get();
    }
    return nullptr;
}

void TopWindow::raise(const Unit& unit, UnitEvent event) {
    if (destroying_ || detached_) return;
    events_.onUnitEvent(id_, unit.name(), event);
}

void TopWindow::raiseKey(Key key, KeyAction action) {
    if (destroying_ || detached_) return;
    events_.onKey(id_, key, action);
}

bool TopWindow::raiseKeyStroke(HotKey stroke) {
    if (destroying_ || detached_) return false;
    return events_.onKeyStroke(id_, stroke);
}

HotKeyState TopWindow::setHotKey(HotKey key) {
    constexpr int kHotKeyId = 1;
    constexpr UINT kNoRepeat = 0x4000; // MOD_NOREPEAT (Windows 7): a key held down is one press
    if (hotKeyRegistered_) UnregisterHotKey(hwnd_, kHotKeyId);
    hotKeyRegistered_ = hwnd_ && RegisterHotKey(hwnd_, kHotKeyId, key.modifiers | kNoRepeat, key.key);
    return hotKeyRegistered_ ? HotKeyState::On : HotKeyState::Taken;
}

void TopWindow::setFloating(bool floating) {
    if (!hwnd_ || floating == floating_) return;
    floating_ = floating;
    const LONG exStyle = GetWindowLongW(hwnd_, GWL_EXSTYLE);
    if (floating) {
        beforeFloating_.length = sizeof(beforeFloating_);
        GetWindowPlacement(hwnd_, &beforeFloating_);
        // A click on the floating window leaves the focus where it is (WM_MOUSEACTIVATE too).
        SetWindowLongW(hwnd_, GWL_EXSTYLE, exStyle | WS_EX_NOACTIVATE);
        const bool minimised = IsIconic(hwnd_);
        RECT rect{};
        GetWindowRect(hwnd_, &rect);
        if (minimised) rect = beforeFloating_.rcNormalPosition; // not the icon's: centre the window it becomes
        const HWND foreground = GetForegroundWindow();
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(foreground ? foreground : hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& area = monitor.rcMonitor;
        const int width = rect.right - rect.left, height = rect.bottom - rect.top;
        const int left = area.left + std::max(0L, (area.right - area.left - width) / 2);
        const int top = area.top + std::max(0L, (area.bottom - area.top - height) / 2);
        if (minimised) {
            // Restored in place, without activation; ShowWindow(SW_SHOWNOACTIVATE) takes the focus under Wine.
            WINDOWPLACEMENT shown = beforeFloating_;
            shown.showCmd = SW_SHOWNOACTIVATE;
            SetWindowPlacement(hwnd_, &shown);
        }
        SetWindowPos(hwnd_, HWND_TOPMOST, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        return;
    }
    SetWindowLongW(hwnd_, GWL_EXSTYLE, exStyle & ~WS_EX_NOACTIVATE);
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (beforeFloating_.showCmd == SW_SHOWMINIMIZED) {
        WINDOWPLACEMENT back = beforeFloating_;
        back.showCmd = SW_SHOWMINNOACTIVE;
        SetWindowPlacement(hwnd_, &back);
        return;
    }
    // Behind the program that has the focus, at its old place.
    const RECT& was = beforeFloating_.rcNormalPosition;
    const HWND foreground = GetForegroundWindow();
    SetWindowPos(hwnd_, foreground && foreground != hwnd_ ? foreground : HWND_BOTTOM, was.left, was.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
}

void TopWindow::beginDrag() {
    if (!hwnd_) return;
    const DWORD position = GetMessagePos();
    ReleaseCapture();
    SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(position));
}

void TopWindow::checkRadio(Unit& radio, bool checked) {
    if (radio.kind() != UnitKind::RadioBox || !radio.hwnd()) return;
    SendMessageW(radio.hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked) return;
    // The radio boxes of one parent form one group.
    const HWND parent = GetParent(radio.hwnd());
    for (const std::unique_ptr<Unit>& other : units_) {
        if (other.get() != &radio && other->kind() == UnitKind::RadioBox && other->hwnd() &&
            GetParent(other->hwnd()) == parent)
            SendMessageW(other->hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

Unit* TopWindow::focusTarget() const {
    // The first visible, enabled unit with a tab stop in the layout table: the class box of the
    // settings and class management windows, the text of the changelog window.
    for (const std::unique_ptr<Unit>& unit : units_) {
        if (unit->design().tabStop && unit->hwnd() && IsWindowVisible(unit->hwnd()) && IsWindowEnabled(unit->hwnd()))
            return unit.get();
    }
    return nullptr;
}

std::optional<LRESULT> TopWindow::handleChildMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        Unit* unit = lParam ? findByHandle(reinterpret_cast<HWND>(lParam)) : nullptr;
        if (!unit) return std::nullopt;
        onCommand(*unit, HIWORD(wParam));
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
        const HBRUSH brush = onControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        if (!brush) return std::nullopt;
        return reinterpret_cast<LRESULT>(brush);
    }
    default:
        return std::nullopt;
    }
}

void TopWindow::onCommand(Unit& unit, int code) {
    if (unit.kind() == UnitKind::RadioBox && code == BN_CLICKED) {
        checkRadio(unit, true);
        raise(unit, UnitEvent::Clicked);
    } else if (unit.kind() == UnitKind::ComboBox && (code == CBN_SELENDOK || code == CBN_SELCHANGE)) {
        // Only the user's choices arrive here: CB_SETCURSEL from code notifies nothing. A choice
        // in the dropped list is confirmed by CBN_SELENDOK while the list is still down (also
        // when it is the item already selected); with the list closed, the arrow keys change
        // the selection at once, with one or both notifications depending on the system, so
        // a change reported there is reported once.
        auto& combo = static_cast<StandardControl&>(unit);
        const HWND hwnd = combo.hwnd();
        const bool dropped = SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
        const int selected = static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
        if (code == CBN_SELCHANGE && dropped) return;
        if (!dropped && selected == combo.reportedSelection) return;
        combo.reportedSelection = selected;
        raise(unit, UnitEvent::ItemChosen);
    }
}

HBRUSH TopWindow::onControlColor(HDC dc, HWND control) {
    const Unit* unit = findByHandle(control);
    if (!unit) return nullptr;
    SetTextColor(dc, unit->textColor());
    SetBkColor(dc, unit->backgroundColor());
    return unit->backgroundBrush();
}

void TopWindow::detach() {
    detached_ = true;
    for (const std::unique_ptr<Unit>& unit : units_)
        unit->release();
    if (hwnd_) {
        release();
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

std::shared_ptr<const void> TopWindow::lifetime() const {
    // WM_NCDESTROY drops the toolkit's reference; this one lasts as long as its holder.
    return weak_from_this().lock();
}

std::optional<LRESULT> TopWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> result = handleChildMessage(message, wParam, lParam)) return result;
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 background_ ? background_.get() : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_LBUTTONDOWN:
        // On the window's own surface the press still reaches the window after the move.
        beginDrag();
        return std::nullopt;
    case WM_SETFOCUS:
        if (Unit* target = focusTarget()) {
            SetFocus(target->hwnd());
            return 0;
        }
        return std::nullopt;
    case WM_HOTKEY:
        if (!destroying_ && !detached_) {
            const std::shared_ptr<const void> keepAlive = lifetime();
            events_.onHotKey(id_);
        }
        return 0;
    case WM_MOUSEACTIVATE:
        if (floating_) return MA_NOACTIVATE;
        return std::nullopt;
    case WM_CONTEXTMENU: {
        // A right click anywhere on the window (units pass it up), the menu key or Shift+F10 (-1: no point).
        if (destroying_ || detached_) return 0;
        std::optional<Point> at;
        if (lParam != -1) at = Point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const std::shared_ptr<const void> keepAlive = lifetime(); // an item may close the window
        events_.onMenuRequested(id_, at);
        return 0;
    }
    case WM_DROPFILES:
        onDropFiles(wParam);
        return 0;
    case WM_DESTROY:
        destroying_ = true;
        if (!detached_) events_.onDestroying(id_);
        return 0;
    default:
        return std::nullopt;
    }
}

void TopWindow::acceptFileDrops(std::string_view unit) {
    const Unit* found = find(unit);
    if (!found) return;
    // The roster box is the system's edit control: the window takes the drop for it.
    if (dropUnits_.empty()) acceptDroppedFiles(hwnd_);
    dropUnits_.push_back(found);
}

void TopWindow::onDropFiles(WPARAM drop) {
    const std::optional<DroppedFile> file = takeDroppedFile(reinterpret_cast<HDROP>(drop));
    if (!file || destroying_ || detached_) return;
    POINT at = file->at;
    ClientToScreen(hwnd_, &at);
    for (const Unit* unit : dropUnits_) {
        RECT area{};
        GetWindowRect(unit->hwnd(), &area);
        if (IsWindowVisible(unit->hwnd()) && PtInRect(&area, at)) {
            const std::shared_ptr<const void> keepAlive = lifetime();
            events_.onFileDropped(id_, unit->name(), file->path);
            return;
        }
    }
}

void TopWindow::onWindowGone() {
    tooltip_ = nullptr;
    toolkit_.forget(id_);
}

} // namespace tallyra::ui::win32
