// Tallyra.exe's entry point: the Win32 toolkit and the message loop around the
// program's entry sequence.
#include "app/program.h"
#include "ui/win32/win32_toolkit.h"

#include <windows.h>

namespace {

// No IsDialogMessage: Enter must not move the focus and Escape must not close a window.
int runMessageLoop(tallyra::ui::win32::Win32Toolkit& toolkit) {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return 1;
        toolkit.reportKey(message);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    tallyra::ui::win32::Win32Toolkit toolkit(instance);
    return tallyra::app::runProgram({toolkit, [&toolkit] { return runMessageLoop(toolkit); }});
}
