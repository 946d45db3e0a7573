// Files from the shell: a file dropped on a window (shell32) and the open-file
// dialog (comdlg32). Both DLLs are bound when a window that takes drops opens or
// the dialog is asked for, never at start.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <string_view>

namespace tallyra::ui::win32 {

// Lets the shell drop files on the window and its children (WM_DROPFILES).
void acceptDroppedFiles(HWND window);

struct DroppedFile {
    POINT at{}; // in the window's client coordinates
    std::string path;
};
// The first file of a WM_DROPFILES drop; the drop's memory is freed.
std::optional<DroppedFile> takeDroppedFile(HDROP drop);

// The system's open dialog, owned by the window; nothing when cancelled.
std::optional<std::string> askOpenFileName(HWND owner, std::string_view title, std::string_view filterName,
                                           std::string_view patterns);

} // namespace tallyra::ui::win32
