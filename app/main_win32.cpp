// Tallyra.exe's entry point: the Win32 toolkit and the message loop around the
// program's entry sequence.
#include "app/program.h"
#include "app/trigger_channel.h"
#include "platform/win32/text.h"
#include "storage/data_folder.h"
#include "ui/win32/win32_toolkit.h"

#include <windows.h>

#include <stdlib.h> // __argc, __wargv
#include <string>
#include <vector>

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
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i)
        arguments.push_back(tallyra::win32::toUtf8(__wargv[i]));
    const tallyra::app::TriggerVerb verb = tallyra::app::parseTriggerVerb(arguments);
    // Another program's call: the running copy for this folder does it, and this process ends.
    if (const std::optional<int> code = tallyra::app::runTriggerCaller(tallyra::runDirectory().utf8(), verb))
        return *code;
    tallyra::ui::win32::Win32Toolkit toolkit(instance);
    tallyra::app::Platform platform{toolkit, [&toolkit] { return runMessageLoop(toolkit); }};
    platform.startVerb = verb;
    platform.serveTriggers = tallyra::app::serveTriggers;
    return tallyra::app::runProgram(platform);
}
