// Tallyra.exe's entry point: the Win32 toolkit and the message loop around the
// program's entry sequence.
#include "app/program.h"
#include "ui/win32/win32_toolkit.h"

#include <windows.h>

namespace {

// Keeps DLLs that the system loads later (uxtheme, dwmapi, version...) from being
// taken from the program's folder, where anything a browser saved beside the
// program in Downloads would run inside it. SetDefaultDllDirectories is looked up
// by name: Windows 7 has it only with update KB2533623. Without it,
// SetDllDirectoryW(L"") takes the current folder out of the search, but the
// program's own folder stays searched on such a system. DLLs the executable
// imports are resolved before this runs; the import check keeps those to the
// Known DLLs, which always come from the system folder.
void restrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories == nullptr || !setDefaultDllDirectories(kSearchSystem32)) SetDllDirectoryW(L"");
}

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
    restrictDllSearch();
    tallyra::ui::win32::Win32Toolkit toolkit(instance);
    return tallyra::app::runProgram({toolkit, [&toolkit] { return runMessageLoop(toolkit); }});
}
