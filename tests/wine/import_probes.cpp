// Programs that must fail tests/wine/check-imports.sh, so that scripts/test-windows
// can show the check catches what it is there for: TALLYRA_PROBE_NEWER_FUNCTION
// imports a kernel32 function that Windows 7 lacks, TALLYRA_PROBE_FOREIGN_DLL
// imports a function from a DLL of our own (foreign_probe.dll, built from this file
// with TALLYRA_PROBE_LIBRARY), as a program that needs a DLL Windows lacks would;
// TALLYRA_PROBE_PLANTABLE_DLL imports version.dll (Windows' own, but no Known DLL) and
// is linked without ASLR and DEP.
#include <windows.h>

#ifdef TALLYRA_PROBE_NEWER_FUNCTION
// Declared here: the Windows 7 headers of this build rightly hide it.
extern "C" __declspec(dllimport) void WINAPI GetSystemTimePreciseAsFileTime(LPFILETIME);

int main() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return now.dwLowDateTime == 0 ? 1 : 0;
}
#endif

#ifdef TALLYRA_PROBE_LIBRARY
extern "C" __declspec(dllexport) int tallyraProbeValue() {
    return 1;
}
#endif

#ifdef TALLYRA_PROBE_FOREIGN_DLL
extern "C" __declspec(dllimport) int tallyraProbeValue();

int main() { return tallyraProbeValue() == 1 ? 0 : 1; }
#endif

#ifdef TALLYRA_PROBE_PLANTABLE_DLL
int main() {
    return GetFileVersionInfoSizeW(L"kernel32.dll", nullptr) > 0 ? 0 : 1;
}
#endif
