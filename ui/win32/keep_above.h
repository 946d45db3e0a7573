// Keeps the windows that float over a slide show (the floating button, the main
// window while the hot key floats it) above other topmost windows without a timer:
// they are put back on top when the system says the foreground changed or another
// program's top-level window was created or shown. Windows of this program are not
// watched, so its own boxes and menus still come above them.
#pragma once

#include <windows.h>

#include <vector>

namespace tallyra::ui::win32 {

class KeepAbove {
public:
    KeepAbove() = default;
    ~KeepAbove();
    KeepAbove(const KeepAbove&) = delete;
    KeepAbove& operator=(const KeepAbove&) = delete;

    // Later windows stay above earlier ones.
    void add(HWND window);
    void remove(HWND window);
    // Puts every window back on top, without activating it.
    void raise() const;

private:
    void hook();
    void unhook();
    static void CALLBACK onEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                                 DWORD time);

    std::vector<HWND> windows_;
    HWINEVENTHOOK foreground_ = nullptr;
    HWINEVENTHOOK shown_ = nullptr;
};

} // namespace tallyra::ui::win32
