// Case folding of file names with the system's own tables: CompareStringOrdinal
// ignoring case compares as the file system does.
#include "storage/file_names.h"

#include "platform/win32/text.h"

namespace tallyra {

bool sameFileName(std::string_view a, std::string_view b) {
    const std::wstring wideA = win32::toWide(a), wideB = win32::toWide(b);
    return CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

std::string upperCaseFileName(std::string_view utf8) {
    std::wstring wide = win32::toWide(utf8);
    if (wide.empty()) return std::string(utf8);
    LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), static_cast<int>(wide.size()), wide.data(),
                 static_cast<int>(wide.size()));
    return win32::toUtf8(wide);
}

} // namespace tallyra
