// Small RAII holders for the COM resources the SAPI voice uses besides interface
// pointers (those are held in Microsoft::WRL::ComPtr): the thread's COM
// initialisation and strings allocated with CoTaskMemAlloc.
#pragma once

#include <objbase.h>

#include <utility>

namespace tallyra::sapi {

// CoInitialize for the lifetime of the object; CoUninitialize only when the
// initialisation succeeded (a thread already in another apartment must not be
// uninitialised by us).
class ScopedComInit {
public:
    ScopedComInit() : result_(CoInitialize(nullptr)) {}
    ~ScopedComInit() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
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
    void reset() { CoTaskMemFree(std::exchange(text_, nullptr)); }

private:
    wchar_t* text_ = nullptr;
};

} // namespace tallyra::sapi
