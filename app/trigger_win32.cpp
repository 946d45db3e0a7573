// The trigger's channel on Windows. The running copy owns a message-only window
// whose title is its program folder; a caller finds it there, sends the verb with
// WM_COPYDATA (SendMessageTimeoutW, so a hung copy cannot hold it) together with a
// message-only window of its own, and the copy answers later with a WM_COPYDATA to
// that window: a pick may wait for the round-end question.
#include "app/trigger_channel.h"

#include "platform/win32/text.h"

using tallyra::win32::toUtf8;
using tallyra::win32::toWide;

#include <windows.h>

#include <utility>
#include <vector>

namespace tallyra::app {
namespace {

constexpr wchar_t kServerClass[] = L"TallyraTrigger";
constexpr wchar_t kCallerClass[] = L"TallyraTriggerCaller";
// WM_COPYDATA's dwData: a verb, or an answer.
constexpr ULONG_PTR kVerbData = 0x54524731;   // "TRG1"
constexpr ULONG_PTR kAnswerData = 0x54524132; // "TRA2"

bool sendCopyData(HWND to, HWND from, ULONG_PTR kind, const std::string& bytes, UINT timeoutMs) {
    COPYDATASTRUCT data{kind, static_cast<DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, timeoutMs, &result) != 0 &&
           result == TRUE;
}

std::string copiedBytes(LPARAM lParam, ULONG_PTR kind) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data || data->dwData != kind || !data->lpData || data->cbData > 4096) return {};
    return std::string(static_cast<const char*>(data->lpData), data->cbData);
}

class Win32TriggerServer : public TriggerServer {
public:
    explicit Win32TriggerServer(TriggerHandler handler) : handler_(std::move(handler)) {}
    ~Win32TriggerServer() override {
        if (window_) {
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            DestroyWindow(window_);
        }
    }

    bool create(const std::wstring& folder) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kServerClass;
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, kServerClass, folder.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
        if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        return window_ != nullptr;
    }

    void after(int milliseconds, std::function<void()> function) override {
        const UINT_PTR id = nextTimer_++;
        timers_.emplace_back(id, std::move(function));
        SetTimer(window_, id, static_cast<UINT>(milliseconds), nullptr);
    }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Win32TriggerServer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_COPYDATA) return self->onCall(reinterpret_cast<HWND>(wParam), lParam);
        if (self && message == WM_TIMER) {
            KillTimer(window, wParam);
            for (auto timer = self->timers_.begin(); timer != self->timers_.end(); ++timer) {
                if (timer->first != wParam) continue;
                const std::function<void()> function = std::move(timer->second);
                self->timers_.erase(timer);
                function();
                break;
            }
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    LRESULT onCall(HWND caller, LPARAM lParam) {
        const TriggerVerb verb = verbFromWord(copiedBytes(lParam, kVerbData));
        if (verb == TriggerVerb::None || !IsWindow(caller)) return FALSE;
        DWORD callerProcess = 0;
        GetWindowThreadProcessId(caller, &callerProcess);
        if (callerProcess == 0) return FALSE;
        const HWND self = window_;
        handler_(
            verb,
            [caller, self](const TriggerAnswer& answer) {
                if (IsWindow(caller)) sendCopyData(caller, self, kAnswerData, encodeAnswer(answer), kCallTimeoutMs);
            },
            [caller] { return IsWindow(caller) != FALSE; });
        return TRUE;
    }

    TriggerHandler handler_;
    HWND window_ = nullptr;
    UINT_PTR nextTimer_ = 1;
    std::vector<std::pair<UINT_PTR, std::function<void()>>> timers_; // a few at most
};

struct CallerState {
    std::optional<TriggerAnswer> answer;
};

LRESULT CALLBACK callerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        auto* state = reinterpret_cast<CallerState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (state && !state->answer) state->answer = decodeAnswer(copiedBytes(lParam, kAnswerData));
        return state && state->answer ? TRUE : FALSE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring folderTitle(const std::string& programFolder) {
    return toWide(programFolder);
}

} // namespace

std::unique_ptr<TriggerServer> serveTriggers(const std::string& programFolder, TriggerHandler handler) {
    const std::wstring title = folderTitle(programFolder);
    // Another copy for this folder serves the calls already.
    if (FindWindowExW(HWND_MESSAGE, nullptr, kServerClass, title.c_str())) return nullptr;
    auto server = std::make_unique<Win32TriggerServer>(std::move(handler));
    if (!server->create(title)) return nullptr;
    return server;
}

std::optional<TriggerAnswer> callRunningCopy(const std::string& programFolder, TriggerVerb verb) {
    const HWND target = FindWindowExW(HWND_MESSAGE, nullptr, kServerClass, folderTitle(programFolder).c_str());
    if (!target) return std::nullopt;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = callerProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kCallerClass;
    RegisterClassW(&windowClass);
    const HWND caller =
        CreateWindowExW(0, kCallerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    if (!caller) return TriggerAnswer{TriggerCode::Failed, "无法建立与点名程序的连接。"};
    CallerState state;
    SetWindowLongPtrW(caller, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    std::optional<TriggerAnswer> result;
    if (!sendCopyData(target, caller, kVerbData, std::string(verbWord(verb)), kCallTimeoutMs)) {
        result = TriggerAnswer{TriggerCode::Failed, "点名程序没有应答。"};
    } else {
        const DWORD deadline = GetTickCount() + (verb == TriggerVerb::Pick ? kPickTimeoutMs : kCallTimeoutMs);
        while (!state.answer && IsWindow(target) && static_cast<LONG>(deadline - GetTickCount()) > 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
        }
        result = state.answer ? *state.answer : TriggerAnswer{TriggerCode::Failed, "点名程序没有及时给出结果。"};
    }
    SetWindowLongPtrW(caller, GWLP_USERDATA, 0);
    DestroyWindow(caller);
    return result;
}

bool startCopy() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4) return false;
    std::wstring commandLine = L"\"" + std::wstring(path, length) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    // No handles inherited: the copy must not hold the caller's output pipe open.
    if (!CreateProcessW(path, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void pauseFor(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

namespace {

// The standard handle, or the console of the program that started us when we have none.
HANDLE outputHandle(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    if (handle && handle != INVALID_HANDLE_VALUE) return handle;
    static bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    if (!attached) return nullptr;
    handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

void writeLine(DWORD which, const std::string& text) {
    const HANDLE handle = outputHandle(which);
    if (!handle) return;
    const std::string line = text + "\r\n";
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = toWide(line);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}

} // namespace

int reportAnswer(const TriggerAnswer& answer) {
    if (answer.code == TriggerCode::Done) {
        if (!answer.text.empty()) writeLine(STD_OUTPUT_HANDLE, answer.text);
    } else {
        writeLine(STD_ERROR_HANDLE, answer.text);
    }
    return static_cast<int>(answer.code);
}

} // namespace tallyra::app
