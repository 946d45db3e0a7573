#include "ui/win32/input_box.h"

#include "platform/win32/text.h"

#include <vector>

namespace tallyra::ui::win32 {
namespace {

using tallyra::win32::windowText;

constexpr WORD kFieldId = 100;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

// A dialog template laid out in memory: DLGTEMPLATE, then one DLGITEMTEMPLATE per
// control, each starting on a DWORD boundary.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short width, short height, const std::wstring& title, WORD points,
                   const wchar_t* face) {
        addDword(style);
        addDword(0); // extended style
        countAt_ = words_.size();
        words_.push_back(0); // number of controls, filled in by add()
        addShorts(0, 0, width, height);
        words_.push_back(0); // no menu
        words_.push_back(0); // the standard dialog class
        addString(title);
        words_.push_back(points);
        addString(face);
    }

    void add(DWORD style, short x, short y, short width, short height, WORD id, WORD windowClass,
             const std::wstring& text) {
        if (words_.size() % 2) words_.push_back(0);
        addDword(style | WS_CHILD | WS_VISIBLE);
        addDword(0);
        addShorts(x, y, width, height);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(windowClass);
        addString(text);
        words_.push_back(0); // no creation data
        ++words_[countAt_];
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void addDword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void addShorts(short a, short b, short c, short d) {
        for (short value : {a, b, c, d})
            words_.push_back(static_cast<WORD>(value));
    }
    void addString(const std::wstring& text) {
        words_.insert(words_.end(), text.begin(), text.end());
        words_.push_back(0);
    }

    std::vector<WORD> words_; // WORD-aligned storage; the vector's buffer itself is DWORD-aligned
    std::size_t countAt_ = 0;
};

struct InputState {
    std::optional<std::wstring> answer;
};

INT_PTR CALLBACK inputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetForegroundWindow(dialog);
        SetFocus(GetDlgItem(dialog, kFieldId));
        SendDlgItemMessageW(dialog, kFieldId, EM_SETSEL, 0, -1); // a proposed name is typed over at once
        return FALSE; // the focus has been set
    case WM_COMMAND: {
        auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        const WORD id = LOWORD(wParam);
        if (id == IDOK && state) {
            state->answer = windowText(GetDlgItem(dialog, kFieldId));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

BOOL CALLBACK collectEnabledWindow(HWND window, LPARAM param) {
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

} // namespace

std::optional<std::wstring> runInputBox(HINSTANCE instance, const std::wstring& prompt, const std::wstring& title,
                                        const std::wstring& proposed) {
    // Dialog units; the prompt wraps in the space left of the buttons.
    DialogTemplate layout(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT, 248, 78, title,
                          9, L"MS Shell Dlg");
    layout.add(SS_LEFT | SS_NOPREFIX, 7, 7, 176, 44, static_cast<WORD>(-1), kStaticClass, prompt);
    layout.add(BS_DEFPUSHBUTTON | WS_TABSTOP, 191, 7, 50, 14, IDOK, kButtonClass, L"确定");
    layout.add(BS_PUSHBUTTON | WS_TABSTOP, 191, 25, 50, 14, IDCANCEL, kButtonClass, L"取消");
    layout.add(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 58, 234, 13, kFieldId, kEditClass, proposed);

    // Task-modal like the message boxes: the program's other windows wait.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), collectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled)
        EnableWindow(window, FALSE);

    InputState state;
    const INT_PTR result =
        DialogBoxIndirectParamW(instance, layout.get(), nullptr, inputBoxProc, reinterpret_cast<LPARAM>(&state));

    for (HWND window : disabled)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    if (result != IDOK) return std::nullopt;
    return state.answer;
}

} // namespace tallyra::ui::win32
