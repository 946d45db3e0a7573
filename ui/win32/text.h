// Text at the Win32 boundary: every text in memory is UTF-8, every call goes to a
// wide (W) function, so Chinese shows whatever the system's ANSI code page is.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tallyra::ui::win32 {

// Invalid UTF-8 becomes U+FFFD rather than failing the whole text.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

std::wstring windowText(HWND window);

} // namespace tallyra::ui::win32
