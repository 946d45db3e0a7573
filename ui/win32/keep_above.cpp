#include "ui/win32/keep_above.h"

#include <algorithm>

namespace tallyra::ui::win32 {
namespace {

// A win event callback carries no context: the one KeepAbove whose hooks are set.
KeepAbove* hooked = nullptr;

} // namespace

KeepAbove::~KeepAbove() {
    unhook();
}

void KeepAbove::add(HWND window) {
    if (!window || std::find(windows_.begin(), windows_.end(), window) != windows_.end()) return;
    windows_.push_back(window);
    hook();
    raise();
}

void KeepAbove::remove(HWND window) {
    std::erase(windows_, window);
    if (windows_.empty()) unhook();
}

void KeepAbove::raise() const {
    for (HWND window : windows_)
        if (IsWindow(window) && IsWindowVisible(window))
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void KeepAbove::hook() {
    if (foreground_ || shown_ || (hooked && hooked != this)) return;
    constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    foreground_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, onEvent, 0, 0, kFlags);
    // Create, destroy and show: the callback keeps create and show.
    shown_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, onEvent, 0, 0, kFlags);
    hooked = this;
}

void KeepAbove::unhook() {
    if (hooked != this) return;
    if (foreground_) UnhookWinEvent(foreground_);
    if (shown_) UnhookWinEvent(shown_);
    foreground_ = shown_ = nullptr;
    hooked = nullptr;
}

void CALLBACK KeepAbove::onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (!hooked || event == EVENT_OBJECT_DESTROY) return;
    if (event != EVENT_SYSTEM_FOREGROUND) {
        // Only top-level windows: every control and caret sends these too.
        if (object != OBJID_WINDOW || child != CHILDID_SELF || !window) return;
        if (GetAncestor(window, GA_PARENT) != GetDesktopWindow()) return;
    }
    hooked->raise();
}

} // namespace tallyra::ui::win32
