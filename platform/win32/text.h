// Text at the Win32 boundary. Every text in memory is UTF-8 and every call goes to
// a wide (W) function, so Chinese shows whatever the system's ANSI code page is;
// the same converter turns a code page's bytes (the data files' GB18030) to UTF-16.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tallyra::win32 {

// What the code page cannot express becomes its default character ("?", or U+FFFD
// on the way to UTF-16) and the conversion goes on after it.
std::wstring toWide(std::string_view bytes, UINT codePage = CP_UTF8);
std::string toNarrow(std::wstring_view text, UINT codePage = CP_UTF8);

inline std::string toUtf8(std::wstring_view text) {
    return toNarrow(text, CP_UTF8);
}

std::wstring windowText(HWND window);

} // namespace tallyra::win32
