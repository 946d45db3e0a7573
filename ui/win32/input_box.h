// The input box: a small modal dialog of our own with a prompt, a title, a one-line
// field (empty, or holding a proposed text), OK and Cancel. Task-modal like the message boxes: the program's
// other windows are disabled while it is up.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tallyra::ui::win32 {

// The text typed, or nothing when the box was cancelled or closed.
std::optional<std::wstring> runInputBox(HINSTANCE instance, const std::wstring& prompt, const std::wstring& title,
                                        const std::wstring& proposed = {});

} // namespace tallyra::ui::win32
