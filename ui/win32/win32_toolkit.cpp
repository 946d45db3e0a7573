// The Win32 backend of the window toolkit.
//
// How automation (the end-to-end driver, UI automation, screen readers) finds things:
// - Each of the program's windows is a top-level window of class "TallyraWindow"
//   whose window text is the design's caption ("Tallyra", "关于", "更新日志").
// - Every unit of a window is a child window with the control ID written in its
//   layout row (1000 for the first row, counting up), whatever its kind, timers and
//   invisible units included. Units inside a shape box or picture box are
//   children of that unit's window, so search with FindWindowEx recursively or
//   EnumChildWindows (GetDlgItem only looks one level down).
// - A unit's window text is its text or caption (WM_GETTEXT); a combo box's is the
//   selected item. Window classes: "TallyraUnit" for labels, shape boxes, picture
//   boxes, hyperlinks and timers; "TallyraImageButton" for image buttons; "Edit",
//   "ComboBox" and "Button" (radio) for the standard controls.
// - Image buttons and hyperlinks also accept BM_CLICK, which raises their click or
//   press event as a real click would.
// - Message boxes are the system's (#32770, text in the static control 0xFFFF); the
//   input box is a #32770 dialog with its field as control 100, OK = IDOK, Cancel = IDCANCEL.
#include "ui/win32/win32_toolkit.h"

#include "platform/win32/com.h"
#include "platform/win32/scoped.h"
#include "platform/win32/system_library.h"
#include "platform/win32/text.h"
#include "ui/kit/hot_key.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/drawn_unit.h"
#include "ui/win32/float_button.h"
#include "ui/win32/file_drop.h"
#include "ui/win32/image_button.h"
#include "ui/win32/input_box.h"
#include "ui/win32/standard_control.h"
#include "ui/win32/top_window.h"

#include <commctrl.h> // messages of the list view only: comctl32 is loaded, never imported
#include <shellapi.h> // the declaration only: shell32 is loaded when a link is first clicked

#include <set>

namespace tallyra::ui::win32 {

using tallyra::win32::ScopedGetDC;
using tallyra::win32::systemFunction;
using tallyra::win32::toUtf8;
using tallyra::win32::toWide;
using tallyra::win32::windowText;

namespace {

constexpr std::string_view kUntitledMessage = "信息：";

MessageAnswer toAnswer(int result, unsigned flags) {
    switch (result) {
    case IDOK:
        return MessageAnswer::Ok;
    case IDCANCEL:
        return MessageAnswer::Cancel;
    case IDYES:
        return MessageAnswer::Yes;
    case IDNO:
        return MessageAnswer::No;
    default:
        break;
    }
    // The box could not be shown: take the answer that changes nothing.
    switch (flags & MB_TYPEMASK) {
    case MB_YESNO:
        return MessageAnswer::No;
    case MB_OKCANCEL:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

struct FontSearch {
    std::wstring face;
    bool found = false;
};

int CALLBACK matchFontFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
    auto* search = reinterpret_cast<FontSearch*>(param);
    if (search->face == font->lfFaceName) {
        search->found = true;
        return 0;
    }
    return 1;
}

} // namespace

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance) {
    registered_ = TopWindow::registerClass(instance) && DrawnUnit::registerClass(instance) &&
                  ImageButton::registerClass(instance);
}

Win32Toolkit::~Win32Toolkit() {
    // Windows still open when the program ends are closed without telling their handlers,
    // which may be gone already.
    const auto windows = windows_;
    for (const auto& [id, window] : windows)
        window->detach();
    windows_.clear();
}

TopWindow* Win32Toolkit::find(WindowId window) const {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

Unit* Win32Toolkit::findUnit(WindowId window, std::string_view unit) const {
    TopWindow* top = find(window);
    return top ? top->find(unit) : nullptr;
}

HWND Win32Toolkit::checkListHandle(WindowId window, std::string_view unit) const {
    Unit* found = findUnit(window, unit);
    return found && found->kind() == UnitKind::CheckList ? found->hwnd() : nullptr;
}

HWND Win32Toolkit::comboHandle(WindowId window, std::string_view unit) const {
    Unit* found = findUnit(window, unit);
    return found && found->kind() == UnitKind::ComboBox ? found->hwnd() : nullptr;
}


void Win32Toolkit::reportKey(const MSG& message) {
    const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (down && (message.lParam & (1L << 30)) == 0) {
        const auto held = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
        const HotKey stroke{static_cast<unsigned>(message.wParam),
                            (held(VK_MENU) ? 1u : 0u) | (held(VK_CONTROL) ? 2u : 0u) | (held(VK_SHIFT) ? 4u : 0u) |
                                (held(VK_LWIN) || held(VK_RWIN) ? 8u : 0u)};
        const HWND root = GetAncestor(message.hwnd, GA_ROOT);
        for (const auto& [id, window] : windows_) {
            if (window->hwnd() != root) continue;
            const std::shared_ptr<TopWindow> keepAlive = window;
            if (keepAlive->raiseKeyStroke(stroke)) return;
            break;
        }
    }
    if (message.message != WM_KEYDOWN && message.message != WM_KEYUP) return;
    // Bit 30: the key was already down, so this is the system's repeat.
    const KeyAction action = message.message == WM_KEYUP          ? KeyAction::Released
                             : (message.lParam & (1L << 30)) != 0 ? KeyAction::Repeated
                                                                  : KeyAction::Pressed;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    for (const auto& [id, window] : windows_) {
        if (window->hwnd() != root) continue;
        const std::shared_ptr<TopWindow> keepAlive = window; // the handler may close it
        keepAlive->raiseKey(keyOf(static_cast<unsigned>(message.wParam)), action);
        return;
    }
}

void Win32Toolkit::forget(WindowId window) {
    windows_.erase(window);
}

namespace {

// The question the remote answers (one at a time): when it appeared, and the keys
// pressed since then that are not yet released.
struct RemoteQuestion {
    DWORD shownAt = 0;
    std::set<WPARAM> pressed;
} remoteQuestion;

// Whether the question takes a key message: not from a key that was already down
// when it appeared, nor a press in its first moment (a remote's double click, Space
// pressed twice, must not answer a question nobody has read).
bool takesKey(const MSG& message) {
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (remoteQuestion.pressed.count(message.wParam)) return true;
        if ((message.lParam & (1L << 30)) != 0 ||
            GetTickCount() - remoteQuestion.shownAt < static_cast<DWORD>(kRemoteQuestionSettleMs))
            return false; // held since before, or too soon
        remoteQuestion.pressed.insert(message.wParam);
        return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return remoteQuestion.pressed.erase(message.wParam) > 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        return !remoteQuestion.pressed.empty(); // the character of a press taken
    default:
        return true;
    }
}

// While a question that the remote answers is open: Page Down presses its Yes, Page Up its No.
LRESULT CALLBACK remoteAnswers(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && !takesKey(*message)) return TRUE;
    if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN &&
        (message->wParam == VK_NEXT || message->wParam == VK_PRIOR)) {
        PostMessageW(GetAncestor(message->hwnd, GA_ROOT), WM_COMMAND, message->wParam == VK_NEXT ? IDYES : IDNO, 0);
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

bool Win32Toolkit::anyFloating() const {
    for (const auto& [id, window] : windows_)
        if (window->isFloating()) return true;
    return false;
}

MessageAnswer Win32Toolkit::showMessage(const Message& message) {
    return showBox(message, false);
}

MessageAnswer Win32Toolkit::askWithRemote(const Message& question) {
    return showBox(question, true);
}

MessageAnswer Win32Toolkit::showBox(const Message& message, bool remote) {
    const std::wstring title = toWide(message.title.empty() ? kUntitledMessage : message.title);
    const std::wstring text = toWide(message.text);
    loadCommonControls(); // its buttons take the look of the other windows' controls
    UINT flags = message.flags | MB_TASKMODAL;
    // Over a slide show: the box comes on top of it and takes the focus, so it is seen and answered.
    if (anyFloating()) flags |= MB_TOPMOST | MB_SETFOREGROUND;
    if (remote) remoteQuestion = {GetTickCount(), {}};
    const HHOOK hook = remote ? SetWindowsHookExW(WH_MSGFILTER, remoteAnswers, nullptr, GetCurrentThreadId()) : nullptr;
    ++waiting_;
    const int result = MessageBoxW(nullptr, text.c_str(), title.c_str(), flags);
    --waiting_;
    if (hook) UnhookWindowsHookEx(hook);
    return toAnswer(result, message.flags);
}

HotKeyState Win32Toolkit::setHotKey(WindowId window, HotKey key) {
    TopWindow* top = find(window);
    return top ? top->setHotKey(key) : HotKeyState::Taken;
}

void Win32Toolkit::floatWindow(WindowId window, bool floating) {
    TopWindow* top = find(window);
    if (!top) return;
    // Put back on top when another program comes to the front, not by a timer.
    if (!floating) keepAbove_.remove(top->hwnd());
    top->setFloating(floating);
    if (floating) keepAbove_.add(top->hwnd());
}

std::unique_ptr<FloatButton> Win32Toolkit::createFloatButton(const FloatButtonOptions& options,
                                                             FloatButtonEvents& events) {
    auto button = std::make_unique<Win32FloatButton>(options, events, keepAbove_);
    if (!button->create(instance_)) return nullptr;
    return button;
}

WindowId Win32Toolkit::openWindow(const WindowDesign& design, WindowEvents& events) {
    if (!registered_) return kNoWindow;
    const WindowId id = nextId_++;
    auto window = std::shared_ptr<TopWindow>(new TopWindow(*this, id, design, events));
    windows_[id] = window;
    if (!window->create(instance_)) {
        windows_.erase(id);
        return kNoWindow;
    }
    events.onCreated(id);
    return id;
}

void Win32Toolkit::showWindow(WindowId window, bool visible) {
    TopWindow* top = find(window);
    if (!top) return;
    ShowWindow(top->hwnd(), visible ? SW_SHOW : SW_HIDE);
    // Paints the window and its units at once, without a trip through the message
    // queue for each of them.
    if (visible) UpdateWindow(top->hwnd());
}

bool Win32Toolkit::isWindowVisible(WindowId window) const {
    const TopWindow* top = find(window);
    return top && IsWindowVisible(top->hwnd());
}

void Win32Toolkit::minimiseWindow(WindowId window) {
    if (TopWindow* top = find(window)) ShowWindow(top->hwnd(), SW_MINIMIZE);
}

void Win32Toolkit::destroyWindow(WindowId window) {
    if (TopWindow* top = find(window)) DestroyWindow(top->hwnd());
}

Rect Win32Toolkit::windowRect(WindowId window) const {
    const TopWindow* top = find(window);
    RECT rect{};
    if (!top || !GetWindowRect(top->hwnd(), &rect)) return {};
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Win32Toolkit::setWindowRect(WindowId window, Rect rect) {
    // Placing a window where it already is (every window at 96 DPI) moves nothing.
    if (TopWindow* top = find(window); top && windowRect(window) != rect)
        SetWindowPos(top->hwnd(), nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32Toolkit::unitRect(WindowId window, std::string_view unit) const {
    const Unit* found = findUnit(window, unit);
    return found ? found->rect() : Rect{};
}

void Win32Toolkit::setUnitRect(WindowId window, std::string_view unit, Rect rect) {
    if (Unit* found = findUnit(window, unit)) found->setRect(rect);
}

std::string Win32Toolkit::text(WindowId window, std::string_view unit) const {
    const Unit* found = findUnit(window, unit);
    return found && found->hwnd() ? toUtf8(windowText(found->hwnd())) : std::string();
}

void Win32Toolkit::setText(WindowId window, std::string_view unit, std::string_view text) {
    Unit* found = findUnit(window, unit);
    if (!found || !found->hwnd() || found->kind() == UnitKind::ComboBox) return;
    SetWindowTextW(found->hwnd(), toWide(text).c_str());
}

// Found in the box's own text, not by EM_LINEINDEX, whose lines are the wrapped ones.
void Win32Toolkit::selectLine(WindowId window, std::string_view unit, std::size_t line) {
    Unit* found = findUnit(window, unit);
    if (!found || !found->hwnd() || found->kind() != UnitKind::EditBox) return;
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(found->hwnd())) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(found->hwnd(), text.data(), static_cast<int>(text.size()))));
    std::size_t start = 0;
    for (std::size_t i = 0; i < line && start != std::wstring::npos; ++i) {
        start = text.find(L"\r\n", start);
        if (start != std::wstring::npos) start += 2;
    }
    if (start == std::wstring::npos) return;
    const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
    SetFocus(found->hwnd());
    SendMessageW(found->hwnd(), EM_SETSEL, start, end);
    SendMessageW(found->hwnd(), EM_SCROLLCARET, 0, 0);
}

void Win32Toolkit::setFontSize(WindowId window, std::string_view unit, int points) {
    Unit* found = findUnit(window, unit);
    if (!found) return;
    const ScopedGetDC screen(nullptr);
    found->setCharHeight(MulDiv(points, GetDeviceCaps(screen.get(), LOGPIXELSY), 72));
}

void Win32Toolkit::setVisible(WindowId window, std::string_view unit, bool visible) {
    Unit* found = findUnit(window, unit);
    if (!found || !found->hwnd() || found->kind() == UnitKind::Timer) return;
    ShowWindow(found->hwnd(), visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Toolkit::setTextFit(WindowId window, std::string_view unit, TextFit fit) {
    Unit* found = findUnit(window, unit);
    if (found && found->kind() == UnitKind::Label) static_cast<DrawnUnit*>(found)->setTextFit(fit);
}

void Win32Toolkit::fitLinesTogether(WindowId window, std::span<const std::string_view> labels,
                                    std::span<const std::string> lines) {
    Unit* first = labels.empty() ? nullptr : findUnit(window, labels.front());
    if (!first || first->kind() != UnitKind::Label || !first->hwnd()) return;
    const int height = static_cast<DrawnUnit*>(first)->fillHeightOfAll(lines);
    for (const std::string_view label : labels) {
        Unit* found = findUnit(window, label);
        if (!found || found->kind() != UnitKind::Label) continue;
        static_cast<DrawnUnit*>(found)->setTextFit(TextFit::None);
        found->setCharHeight(height);
    }
}

Rect Win32Toolkit::monitorRect(WindowId window) const {
    const TopWindow* top = find(window);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!top || !GetMonitorInfoW(MonitorFromWindow(top->hwnd(), MONITOR_DEFAULTTONEAREST), &info))
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT& area = info.rcMonitor;
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

std::optional<int> Win32Toolkit::showMenu(WindowId window, std::optional<Point> at, std::span<const MenuItem> items) {
    const TopWindow* top = find(window);
    if (!top || items.empty()) return std::nullopt;
    const HMENU menu = CreatePopupMenu();
    if (!menu) return std::nullopt;
    for (std::size_t i = 0; i < items.size(); ++i) {
        UINT flags = MF_STRING;
        if (items[i].checked) flags |= MF_CHECKED;
        if (!items[i].enabled) flags |= MF_GRAYED;
        // Command ids start at 1: TrackPopupMenu returns 0 when nothing was chosen.
        AppendMenuW(menu, flags, i + 1, toWide(items[i].text).c_str());
    }
    POINT point{};
    if (at) {
        point = {at->x, at->y};
    } else {
        RECT rect{};
        GetWindowRect(top->hwnd(), &rect);
        point = {rect.left + 32, rect.top + 32};
    }
    // The window must be the foreground one, or the menu stays open when the user clicks elsewhere.
    SetForegroundWindow(top->hwnd());
    ++waiting_;
    const BOOL chosen =
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, top->hwnd(), nullptr);
    --waiting_;
    DestroyMenu(menu);
    if (chosen <= 0 || static_cast<std::size_t>(chosen) > items.size()) return std::nullopt;
    return chosen - 1;
}

void Win32Toolkit::setTimerInterval(WindowId window, std::string_view unit, int milliseconds) {
    Unit* found = findUnit(window, unit);
    if (found && found->kind() == UnitKind::Timer) static_cast<DrawnUnit*>(found)->setInterval(milliseconds);
}

void Win32Toolkit::clearItems(WindowId window, std::string_view unit) {
    if (HWND combo = comboHandle(window, unit)) {
        SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        static_cast<StandardControl*>(findUnit(window, unit))->reportedSelection = -1;
    }
    if (HWND list = checkListHandle(window, unit)) SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

void Win32Toolkit::addItem(WindowId window, std::string_view unit, std::string_view text) {
    if (HWND combo = comboHandle(window, unit))
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(text).c_str()));
    if (HWND list = checkListHandle(window, unit)) {
        std::wstring wide = toWide(text);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = wide.data();
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void Win32Toolkit::removeItem(WindowId window, std::string_view unit, int index) {
    if (HWND combo = comboHandle(window, unit)) {
        SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
        static_cast<StandardControl*>(findUnit(window, unit))->reportedSelection =
            static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    }
}

int Win32Toolkit::itemCount(WindowId window, std::string_view unit) const {
    HWND combo = comboHandle(window, unit);
    HWND list = checkListHandle(window, unit);
    const LRESULT count = combo ? SendMessageW(combo, CB_GETCOUNT, 0, 0)
                          : list ? SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)
                                 : 0;
    return count > 0 ? static_cast<int>(count) : 0;
}

std::string Win32Toolkit::itemText(WindowId window, std::string_view unit, int index) const {
    if (HWND list = checkListHandle(window, unit)) {
        std::wstring text(1024, L'\0');
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const LRESULT copied =
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
        return toUtf8(text);
    }
    HWND combo = comboHandle(window, unit);
    if (!combo) return {};
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return toUtf8(text);
}

void Win32Toolkit::setItemText(WindowId window, std::string_view unit, int index, std::string_view text) {
    HWND combo = comboHandle(window, unit);
    if (!combo || index < 0 || index >= itemCount(window, unit)) return;
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(toWide(text).c_str()));
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int Win32Toolkit::selection(WindowId window, std::string_view unit) const {
    HWND combo = comboHandle(window, unit);
    return combo ? static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) : -1;
}

void Win32Toolkit::setSelection(WindowId window, std::string_view unit, int index) {
    HWND combo = comboHandle(window, unit);
    if (!combo) return;
    // CB_SETCURSEL notifies nothing, so no item-chosen event follows.
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    static_cast<StandardControl*>(findUnit(window, unit))->reportedSelection =
        static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

void Win32Toolkit::setChecked(WindowId window, std::string_view unit, bool checked) {
    TopWindow* top = find(window);
    Unit* found = top ? top->find(unit) : nullptr;
    if (found) top->checkRadio(*found, checked);
}

// The state image of an item: 1 unchecked, 2 checked.
void Win32Toolkit::setItemChecked(WindowId window, std::string_view unit, int index, bool checked) {
    HWND list = checkListHandle(window, unit);
    if (!list || index < 0 || index >= itemCount(window, unit)) return;
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool Win32Toolkit::isItemChecked(WindowId window, std::string_view unit, int index) const {
    HWND list = checkListHandle(window, unit);
    if (!list || index < 0 || index >= itemCount(window, unit)) return false;
    const LRESULT state = SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

bool Win32Toolkit::isChecked(WindowId window, std::string_view unit) const {
    const Unit* found = findUnit(window, unit);
    return found && found->kind() == UnitKind::RadioBox && found->hwnd() &&
           SendMessageW(found->hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::optional<std::string> Win32Toolkit::askText(std::string_view prompt, std::string_view title,
                                                 std::string_view proposed) {
    loadCommonControls();
    ++waiting_;
    const std::optional<std::wstring> answer = runInputBox(instance_, toWide(prompt), toWide(title), toWide(proposed));
    --waiting_;
    if (!answer) return std::nullopt;
    return toUtf8(*answer);
}

std::optional<std::string> Win32Toolkit::askOpenFile(std::string_view title, std::string_view filterName,
                                                     std::string_view patterns) {
    return askOpenFileName(GetActiveWindow(), title, filterName, patterns);
}

void Win32Toolkit::setClipboardText(std::string_view text) {
    const std::wstring wide = toWide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return;
    if (void* target = GlobalLock(memory)) {
        memcpy(target, wide.c_str(), bytes);
        GlobalUnlock(memory);
    }
    // The clipboard owns the memory once SetClipboardData took it.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        if (SetClipboardData(CF_UNICODETEXT, memory)) memory = nullptr;
        CloseClipboard();
    }
    if (memory) GlobalFree(memory);
}

void Win32Toolkit::acceptFileDrops(WindowId window, std::string_view unit) {
    if (TopWindow* top = find(window)) top->acceptFileDrops(unit);
}

void Win32Toolkit::declareDpiAware() {
    // Looked up by name: the program also starts where user32 has no such function.
    using SetProcessDpiAwareFunction = BOOL(WINAPI*)();
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return;
    const auto setAware = reinterpret_cast<SetProcessDpiAwareFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware")));
    if (setAware) setAware();
}

int Win32Toolkit::horizontalPixelsPerInch(WindowId window) const {
    const TopWindow* top = find(window);
    const ScopedGetDC dc(top ? top->hwnd() : nullptr);
    return dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 96;
}

Size Win32Toolkit::screenSize() const {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool Win32Toolkit::isFontInstalled(std::string_view face) const {
    FontSearch search{toWide(face)};
    // A longer name can never be a family's name: the system keeps LF_FACESIZE characters.
    if (search.face.empty() || search.face.size() >= LF_FACESIZE) return false;
    const ScopedGetDC screen(nullptr);
    // Only the families of that name, in every character set: listing every family on the
    // system took a tenth of the start-up time. The name each one reports is still compared.
    LOGFONTW named{};
    named.lfCharSet = DEFAULT_CHARSET;
    search.face.copy(named.lfFaceName, search.face.size());
    EnumFontFamiliesExW(screen.get(), &named, matchFontFamily, reinterpret_cast<LPARAM>(&search), 0);
    return search.found;
}

bool Win32Toolkit::openInBrowser(std::string_view address) {
    // shell32 (with shlwapi and more) is loaded on the first click of a link, not at every start.
    const auto shellExecute = systemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (shellExecute == nullptr) return false;
    // The handler of an address may be a shell extension, which wants COM on the calling thread.
    const tallyra::win32::ScopedComInit com;
    const HINSTANCE result = shellExecute(nullptr, L"open", toWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32; // its way of saying it worked
}

// A file's default program is found the same way as a web address's.
bool Win32Toolkit::openFile(std::string_view path) {
    return openInBrowser(path);
}

void Win32Toolkit::quit(int exitCode) {
    PostQuitMessage(exitCode);
}

NativeWindow Win32Toolkit::nativeHandle(WindowId window, std::string_view unit) const {
    const Unit* found = findUnit(window, unit);
    return found ? reinterpret_cast<NativeWindow>(found->hwnd()) : nullptr;
}

} // namespace tallyra::ui::win32
