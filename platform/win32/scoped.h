// RAII holders for what the Windows code acquires: kernel handles, GDI objects,
// selections into a device context, device contexts and painting (COM's are in
// com.h). No code of ours calls CloseHandle, DeleteObject, ReleaseDC, DeleteDC or
// EndPaint itself, so no early return leaks anything, however long the program rolls.
#pragma once

#include <windows.h>

#include <utility>

namespace tallyra::win32 {

// Owns one handle and gives it back through Traits::close; what Traits::isNone
// names (null, or CreateFileW's INVALID_HANDLE_VALUE) is held as no handle.
template <typename Traits> class ScopedResource {
public:
    using Handle = typename Traits::Handle;

    ScopedResource() = default;
    explicit ScopedResource(Handle handle) : handle_(held(handle)) {}
    ~ScopedResource() { reset(); }
    ScopedResource(ScopedResource&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    ScopedResource& operator=(ScopedResource&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ScopedResource(const ScopedResource&) = delete;
    ScopedResource& operator=(const ScopedResource&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle = nullptr) {
        if (handle_) Traits::close(handle_);
        handle_ = held(handle);
    }

private:
    static Handle held(Handle handle) { return Traits::isNone(handle) ? nullptr : handle; }

    Handle handle_ = nullptr;
};

// A file, mutex or other kernel object.
struct KernelObjectTraits {
    using Handle = HANDLE;
    static bool isNone(HANDLE handle) { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }
    static void close(HANDLE handle) { CloseHandle(handle); }
};
using ScopedHandle = ScopedResource<KernelObjectTraits>;

// A pen, brush, font or bitmap.
template <typename GdiHandle> struct GdiObjectTraits {
    using Handle = GdiHandle;
    static bool isNone(GdiHandle handle) { return handle == nullptr; }
    static void close(GdiHandle handle) { DeleteObject(handle); }
};
template <typename GdiHandle> using ScopedGdiObject = ScopedResource<GdiObjectTraits<GdiHandle>>;

using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPen = ScopedGdiObject<HPEN>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedRegion = ScopedGdiObject<HRGN>;

// Selects an object into a device context and puts the previous one back.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelectObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The device context of a window (or of the screen for a null window).
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedGetDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC get() const { return dc_; }
    // What needs painting: the update region's bounds.
    const RECT& dirty() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// A memory device context (CreateCompatibleDC).
struct MemoryDCTraits {
    using Handle = HDC;
    static bool isNone(HDC dc) { return dc == nullptr; }
    static void close(HDC dc) { DeleteDC(dc); }
};
using ScopedMemoryDC = ScopedResource<MemoryDCTraits>;

} // namespace tallyra::win32
