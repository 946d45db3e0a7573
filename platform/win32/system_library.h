// System DLLs loaded at the moment a feature needs them instead of imported: every
// imported DLL loads, with what it needs in turn, at each start of the program,
// and before the program can restrict where DLLs are searched for.
#pragma once

#include <windows.h>

namespace tallyra::win32 {

// The DLL of that name from the system folder, loaded once and kept for the rest of
// the run; nullptr when it cannot be loaded. Where the system has no
// LOAD_LIBRARY_SEARCH_SYSTEM32 (Windows 7 without KB2533623) the search is the
// one the program restricted at its start.
HMODULE loadSystemLibrary(const wchar_t* name);

// A function of such a DLL, or nullptr.
template <typename Function> Function systemFunction(const wchar_t* library, const char* function) {
    HMODULE module = loadSystemLibrary(library);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, function)));
}

} // namespace tallyra::win32
