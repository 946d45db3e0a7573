#include "platform/win32/system_library.h"

namespace tallyra::win32 {

HMODULE loadSystemLibrary(const wchar_t* name) {
    constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    // A module already loaded is only counted once more; the program never frees these.
    HMODULE module = LoadLibraryExW(name, nullptr, kSearchSystem32);
    // Without the update the flag is refused as an invalid parameter.
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) module = LoadLibraryW(name);
    return module;
}

} // namespace tallyra::win32
