// Win32 automation of another process: windows, texts, real input, message boxes.
#include "automation.h"

#include "text.h"

#include <algorithm>
#include <thread>

namespace e2e {
namespace {

constexpr UINT kTextTimeoutMs = 3000;
constexpr ULONG_PTR kDriverInputTag = 0x7E2E;

void sendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dwExtraInfo = kDriverInputTag;
    SendInput(1, &input, sizeof input);
}

void sendKey(WORD virtualKey, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    input.ki.dwExtraInfo = kDriverInputTag;
    SendInput(1, &input, sizeof input);
}

BOOL CALLBACK collectTop(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>*>*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == found->first) found->second->push_back(window);
    return TRUE;
}

BOOL CALLBACK collectChild(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

bool isAncestorOrSelf(HWND ancestor, HWND window) {
    for (HWND w = window; w; w = GetParent(w))
        if (w == ancestor) return true;
    return false;
}

} // namespace

bool waitUntil(const std::function<bool()>& condition, Millis timeout, Millis step) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(step);
    }
}

void pause(Millis duration) {
    std::this_thread::sleep_for(duration);
}

// --- Process ---------------------------------------------------------------------------------------------------

std::optional<Process> Process::start(const std::filesystem::path& exe, std::wstring& error,
                                      std::wstring_view arguments) {
    std::wstring commandLine =
        L"\"" + exe.wstring() + L"\"" + (arguments.empty() ? L"" : L" ") + std::wstring(arguments);
    const std::wstring folder = exe.parent_path().wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info)) {
        error = L"CreateProcessW failed with error " + std::to_wstring(GetLastError());
        return std::nullopt;
    }
    return Process(info.hProcess, info.hThread, info.dwProcessId);
}

Process::Process(Process&& other) noexcept : handle_(other.handle_), thread_(other.thread_), id_(other.id_) {
    other.handle_ = nullptr;
    other.thread_ = nullptr;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        kill();
        if (handle_) CloseHandle(handle_);
        if (thread_) CloseHandle(thread_);
        handle_ = other.handle_;
        thread_ = other.thread_;
        id_ = other.id_;
        other.handle_ = nullptr;
        other.thread_ = nullptr;
    }
    return *this;
}

Process::~Process() {
    kill();
    if (handle_) CloseHandle(handle_);
    if (thread_) CloseHandle(thread_);
}

bool Process::running() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::waitExit(Millis timeout) const {
    if (!handle_) return std::nullopt;
    if (WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(handle_, &code);
    return code;
}

void Process::kill() {
    if (running()) {
        TerminateProcess(handle_, 0xDEAD);
        WaitForSingleObject(handle_, 5000);
    }
}

// --- Windows and texts -----------------------------------------------------------------------------------------

std::vector<HWND> topWindows(DWORD processId, bool visibleOnly) {
    std::vector<HWND> all;
    std::pair<DWORD, std::vector<HWND>*> param{processId, &all};
    EnumWindows(collectTop, reinterpret_cast<LPARAM>(&param));
    if (visibleOnly) std::erase_if(all, [](HWND w) { return !IsWindowVisible(w); });
    return all;
}

std::vector<HWND> descendants(HWND top) {
    std::vector<HWND> all;
    EnumChildWindows(top, collectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::optional<std::wstring> windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length))
        return std::nullopt;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kTextTimeoutMs, &copied))
        return std::nullopt;
    text.resize(std::min<size_t>(copied, length));
    return text;
}

bool setWindowText(HWND window, std::wstring_view text) {
    std::wstring copy(text);
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()), SMTO_ABORTIFHUNG,
                               kTextTimeoutMs, &result) &&
           result;
}

HWND findChildById(HWND top, int controlId) {
    for (HWND child : descendants(top))
        if (GetDlgCtrlID(child) == controlId) return child;
    return nullptr;
}

HWND findChildByText(HWND top, std::wstring_view text, std::wstring_view windowClass) {
    for (HWND child : descendants(top)) {
        if (!windowClass.empty() && _wcsicmp(className(child).c_str(), std::wstring(windowClass).c_str()) != 0)
            continue;
        if (windowText(child) == text) return child;
    }
    return nullptr;
}

RECT screenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

POINT centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::string describe(HWND window) {
    if (!window) return "(no window)";
    const RECT r = screenRect(window);
    char position[96];
    snprintf(position, sizeof position, " id %d at (%ld,%ld) %ldx%ld", GetDlgCtrlID(window), r.left, r.top,
             r.right - r.left, r.bottom - r.top);
    return toUtf8(className(window)) + " " + visible(windowText(window).value_or(L"?")) + position;
}

// --- Real input ------------------------------------------------------------------------------------------------

void moveMouse(POINT point) {
    SetCursorPos(point.x, point.y);
    pause(Millis(30));
}

void mouseDown(POINT point) {
    moveMouse(point);
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    pause(Millis(30));
}

void mouseUp() {
    sendMouse(MOUSEEVENTF_LEFTUP);
    pause(Millis(30));
}

void clickAt(POINT point) {
    mouseDown(point);
    mouseUp();
}

std::optional<std::string> click(HWND window) {
    if (!window || !IsWindow(window)) return "no such window to click";
    if (!IsWindowVisible(window)) return "window to click is hidden: " + describe(window);
    const POINT point = centre(screenRect(window));
    const HWND hit = WindowFromPoint(point);
    if (!isAncestorOrSelf(window, hit))
        return "cannot click " + describe(window) + ": the point is covered by " + describe(hit);
    clickAt(point);
    return std::nullopt;
}

void pressKey(WORD virtualKey) {
    sendKey(virtualKey, 0, 0);
    sendKey(virtualKey, 0, KEYEVENTF_KEYUP);
    pause(Millis(15));
}

void typeText(std::wstring_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        if (c == L'\n' || c == L'\r')
            pressKey(VK_RETURN);
        else if (c == L'\t')
            pressKey(VK_TAB);
        else {
            sendKey(0, c, KEYEVENTF_UNICODE);
            sendKey(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
            pause(Millis(10));
        }
    }
    pause(Millis(50));
}

// --- Message boxes ---------------------------------------------------------------------------------------------

std::optional<MessageBoxInfo> findMessageBox(DWORD processId) {
    for (HWND window : topWindows(processId)) {
        if (className(window) != L"#32770") continue;
        MessageBoxInfo box;
        box.hwnd = window;
        box.title = windowText(window).value_or(L"");
        HWND text = GetDlgItem(window, 0xFFFF);
        // The program's input box may be a dialog with a 0xFFFF prompt too; it has an edit field.
        if (!text || FindWindowExW(window, nullptr, L"Edit", nullptr)) continue;
        box.text = windowText(text).value_or(L"");
        for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
            HWND button = GetDlgItem(window, id);
            if (button && IsWindowVisible(button)) box.buttons.push_back(id);
        }
        return box;
    }
    return std::nullopt;
}

std::optional<MessageBoxInfo> waitMessageBox(DWORD processId, Millis timeout) {
    std::optional<MessageBoxInfo> box;
    waitUntil([&] { return (box = findMessageBox(processId)).has_value(); }, timeout);
    return box;
}

bool answerMessageBox(const MessageBoxInfo& box, int buttonId, Millis timeout) {
    HWND button = GetDlgItem(box.hwnd, buttonId);
    if (!button) return false;
    PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return waitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }, timeout);
}

std::string buttonName(int buttonId) {
    switch (buttonId) {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    case IDABORT:
        return "Abort";
    case IDRETRY:
        return "Retry";
    case IDIGNORE:
        return "Ignore";
    case IDYES:
        return "Yes";
    case IDNO:
        return "No";
    default:
        return std::to_string(buttonId);
    }
}

// --- Combo boxes -----------------------------------------------------------------------------------------------

int comboCount(HWND combo) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &count)) return -1;
    return static_cast<int>(count);
}

int comboSelection(HWND combo) {
    DWORD_PTR selection = 0;
    if (!SendMessageTimeoutW(combo, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &selection)) return -2;
    return static_cast<int>(static_cast<LRESULT>(selection));
}

std::wstring comboItem(HWND combo, int index) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, index, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length) ||
        static_cast<LRESULT>(length) < 0)
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        kTextTimeoutMs, &copied);
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::optional<std::string> pickComboItem(HWND combo, DWORD processId, int index) {
    if (auto error = click(combo)) return error;
    HWND list = nullptr;
    const bool dropped = waitUntil(
        [&] {
            for (HWND window : topWindows(processId))
                if (className(window) == L"ComboLBox") list = window;
            return list != nullptr;
        },
        Millis(3000));
    if (!dropped) return "the combo box's list did not drop down after a click on " + describe(combo);
    RECT item{};
    DWORD_PTR ok = 0;
    if (!SendMessageTimeoutW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item), SMTO_ABORTIFHUNG,
                             kTextTimeoutMs, &ok) ||
        static_cast<LRESULT>(ok) == LB_ERR)
        return "the dropped list has no item " + std::to_string(index);
    POINT point = centre(item);
    ClientToScreen(list, &point);
    clickAt(point);
    if (!waitUntil([&] { return !IsWindowVisible(list); }, Millis(3000)))
        return "the dropped list stayed open after clicking item " + std::to_string(index);
    return std::nullopt;
}

std::optional<LRESULT> sendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTextTimeoutMs, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

// --- Pixels ----------------------------------------------------------------------------------------------------

std::optional<COLORREF> screenPixel(POINT point) {
    HDC screen = GetDC(nullptr);
    if (!screen) return std::nullopt;
    const COLORREF color = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    if (color == CLR_INVALID) return std::nullopt;
    return color;
}

} // namespace e2e
