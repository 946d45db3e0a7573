// Case folding of file names with the system's own tables: CompareStringOrdinal
// ignoring case compares as the file system does.
#include "storage/file_names.h"

#include <windows.h>

namespace tallyra {
namespace {

std::wstring toWide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

} // namespace

bool sameFileName(std::string_view a, std::string_view b) {
    const std::wstring wideA = toWide(a), wideB = toWide(b);
    return CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

std::string upperCaseFileName(std::string_view utf8) {
    std::wstring wide = toWide(utf8);
    if (wide.empty()) return std::string(utf8);
    LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), static_cast<int>(wide.size()), wide.data(),
                 static_cast<int>(wide.size()));
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string upper(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), upper.data(), size, nullptr, nullptr);
    return upper;
}

} // namespace tallyra
