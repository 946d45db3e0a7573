#include "ui/win32/standard_control.h"

#include "platform/win32/text.h"

#include <commctrl.h>

namespace tallyra::ui::win32 {
namespace {

// The dropped list of a combo box is at least this high.
constexpr int kDroppedListHeight = 160;

} // namespace

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
    case UnitKind::CheckList:
        // A list view of one column without header, a check box before each item.
        windowClass = WC_LISTVIEWW;
        style |= LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_VSCROLL | WS_BORDER;
        break;
    default:
        return false;
    }
    const std::wstring text = tallyra::win32::toWide(design_.text);
    // The system's window procedure runs these windows; nothing of ours sits behind them.
    hwnd_ = CreateWindowExW(0, windowClass, text.c_str(), style, rect_.left, rect_.top, rect_.width, windowHeight(),
                            parent, controlMenu(), instance, nullptr);
    if (!hwnd_) return false;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    // Rosters and the changelog outgrow the default 32,767 characters.
    if (design_.kind == UnitKind::EditBox) SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    if (design_.kind == UnitKind::ComboBox) fitDroppedList();
    if (design_.kind == UnitKind::CheckList) {
        const LPARAM extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
        SendMessageW(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        SendMessageW(hwnd_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        fitColumn();
    }
    return true;
}

// The one column fills the list's width beside its scroll bar.
void StandardControl::fitColumn() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(width > 0 ? width : 0, 0));
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
    if (design_.kind == UnitKind::CheckList) fitColumn();
}

void StandardControl::fontChanged() {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    if (design_.kind == UnitKind::ComboBox) fitDroppedList();
}

} // namespace tallyra::ui::win32
