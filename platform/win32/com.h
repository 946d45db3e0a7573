// COM for the Windows parts, with ole32 loaded when first needed rather than
// imported: a start of the program then loads neither it nor rpcrt4 and combase
// behind it, and the voice's thread is the first to load them, while the windows are
// built. Without ole32 every call fails as COM itself would (CO_E_NOTINITIALIZED).
// COM interface pointers are held in Microsoft::WRL::ComPtr.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <utility>

namespace tallyra::win32 {

// CoCreateInstance without an outer object.
HRESULT createComObject(REFCLSID objectClass, DWORD context, REFIID interfaceId, void** object);

// CoTaskMemFree: memory that a COM call allocated for us.
void freeComMemory(void* memory);

// CoInitialize (a single-threaded apartment) for the lifetime of the object;
// CoUninitialize only when the initialisation succeeded (a thread already in
// another apartment must not be uninitialised by us).
class ScopedComInit {
public:
    ScopedComInit();
    ~ScopedComInit();
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;

private:
    HRESULT result_;
};

// A wide string returned by a COM call, freed with CoTaskMemFree.
class CoTaskMemString {
public:
    CoTaskMemString() = default;
    ~CoTaskMemString() { reset(); }
    CoTaskMemString(const CoTaskMemString&) = delete;
    CoTaskMemString& operator=(const CoTaskMemString&) = delete;

    const wchar_t* get() const { return text_; }
    // For the out parameter of a COM call; frees what was held before.
    wchar_t** put() {
        reset();
        return &text_;
    }
    void reset();

private:
    wchar_t* text_ = nullptr;
};

} // namespace tallyra::win32
