// Painting a window off screen and copying it in one go, so that a unit drawn in
// several steps (a button's face, frame and caption) never shows half drawn.
#pragma once

#include "platform/win32/scoped.h"

#include <windows.h>

#include <optional>

namespace tallyra::win32 {

// The off-screen bitmap that windows paint into, one after another. The GUI thread
// keeps one (Win32Toolkit) and grows it to the largest window painted, so that a
// paint neither creates nor destroys a device context and a bitmap: under Wine each
// creation costs about half a millisecond. Windows larger than the limit get a
// surface of their own for that paint, so that a large picture is not kept. Labels,
// the display among them, draw in one call straight to the window.
class OffscreenSurface {
public:
    // Enough for the main window's units at twice the design size.
    static constexpr long kKeptPixels = 256 * 1024;

    explicit OffscreenSurface(long maxPixels = kKeptPixels) : maxPixels_(maxPixels) {}
    ~OffscreenSurface();
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    // A memory DC compatible with `screen` holding a bitmap of at least `size`, with
    // the DC's state saved; null when that is over the limit, the surface is in use
    // (a paint inside a paint) or it cannot be made.
    HDC acquire(HDC screen, SIZE size);
    // Puts back the state saved by acquire: every paint starts from a fresh DC's state.
    void release();

private:
    long maxPixels_;
    ScopedMemoryDC dc_;
    ScopedBitmap bitmap_;
    HGDIOBJ firstBitmap_ = nullptr; // the DC's own, selected again before the DC goes
    SIZE size_{};
    int saved_ = 0;
};

// BeginPaint and EndPaint around drawing off screen, then one copy to the window.
// The shared surface serves when it can, else a surface of the paint's own; the
// window's own DC when neither can be made.
class BufferedPaint {
public:
    BufferedPaint(HWND window, OffscreenSurface& shared);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;

    // Where to draw.
    HDC dc() const { return dc_; }
    RECT area() const { return {0, 0, size_.cx, size_.cy}; }

private:
    ScopedPaint paint_; // first: EndPaint comes last
    SIZE size_;
    std::optional<OffscreenSurface> own_;
    OffscreenSurface* surface_ = nullptr;
    HDC dc_ = nullptr;
};

} // namespace tallyra::win32
