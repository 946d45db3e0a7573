// RAII holders for the Win32 handles the backend makes: GDI objects, selections
// into a device context, device contexts, painting and off-screen buffers. Window
// code never calls DeleteObject, ReleaseDC, DeleteDC or EndPaint itself, so no
// path through a handler leaks a GDI object, however long the program rolls.
#pragma once

#include <windows.h>

#include <utility>

namespace tallyra::ui::win32 {

// Owns a pen, brush, font or bitmap.
template <typename Handle> class ScopedGdiObject {
public:
    ScopedGdiObject() = default;
    explicit ScopedGdiObject(Handle handle) : handle_(handle) {}
    ~ScopedGdiObject() { reset(); }
    ScopedGdiObject(ScopedGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPen = ScopedGdiObject<HPEN>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;

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

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;

    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Paints a window's client area off screen and copies it in one go, so units
// rewritten a hundred times a second do not flicker.
class BufferedPaint {
public:
    explicit BufferedPaint(HWND window)
        : paint_(window), size_(clientSize(window)), memory_(paint_.get()),
          bitmap_(CreateCompatibleBitmap(paint_.get(), size_.cx, size_.cy)), select_(memory_.get(), bitmap_.get()) {}
    ~BufferedPaint() {
        if (bitmap_) BitBlt(paint_.get(), 0, 0, size_.cx, size_.cy, memory_.get(), 0, 0, SRCCOPY);
    }
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;

    // Where to draw; the window's own context when no buffer could be made.
    HDC dc() const { return bitmap_ ? memory_.get() : paint_.get(); }
    RECT area() const { return {0, 0, size_.cx, size_.cy}; }

private:
    static SIZE clientSize(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        return {client.right > 0 ? client.right : 1, client.bottom > 0 ? client.bottom : 1};
    }

    ScopedPaint paint_;
    SIZE size_;
    ScopedMemoryDC memory_;
    ScopedBitmap bitmap_;
    ScopedSelectObject select_;
};

} // namespace tallyra::ui::win32
