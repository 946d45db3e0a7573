#include "ui/win32/common_controls.h"

#include "platform/win32/system_library.h"

#include <windows.h>

#include <commctrl.h>

namespace tallyra::ui::win32 {

bool loadCommonControls() {
    // Loaded, not imported: an imported comctl32 loads before the program restricts
    // the DLL search, and with it the DLLs it needs (uxtheme), which a copy planted
    // beside the program would then replace.
    static const bool ready = [] {
        const auto initCommonControlsEx =
            tallyra::win32::systemFunction<decltype(&InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx");
        const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        return initCommonControlsEx != nullptr && initCommonControlsEx(&controls) != FALSE;
    }();
    return ready;
}

} // namespace tallyra::ui::win32
