#include "platform/win32/buffered_paint.h"

#include <algorithm>

namespace tallyra::win32 {

OffscreenSurface::~OffscreenSurface() {
    if (dc_ && firstBitmap_) SelectObject(dc_.get(), firstBitmap_);
}

HDC OffscreenSurface::acquire(HDC screen, SIZE size) {
    if (saved_ != 0) return nullptr;
    const SIZE wanted{std::max(size_.cx, size.cx), std::max(size_.cy, size.cy)};
    if (wanted.cx != size_.cx || wanted.cy != size_.cy) {
        if (static_cast<long long>(wanted.cx) * wanted.cy > maxPixels_) return nullptr;
        if (!dc_) dc_.reset(CreateCompatibleDC(screen));
        ScopedBitmap grown(CreateCompatibleBitmap(screen, wanted.cx, wanted.cy));
        if (!dc_ || !grown) return nullptr;
        const HGDIOBJ previous = SelectObject(dc_.get(), grown.get());
        if (!previous || previous == HGDI_ERROR) return nullptr;
        if (!firstBitmap_) firstBitmap_ = previous;
        bitmap_ = std::move(grown); // the smaller one, now deselected, is deleted
        size_ = wanted;
    }
    saved_ = SaveDC(dc_.get());
    return saved_ != 0 ? dc_.get() : nullptr;
}

void OffscreenSurface::release() {
    if (saved_ != 0) RestoreDC(dc_.get(), saved_);
    saved_ = 0;
}

namespace {

SIZE clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {std::max(client.right, LONG{1}), std::max(client.bottom, LONG{1})};
}

} // namespace

BufferedPaint::BufferedPaint(HWND window, OffscreenSurface& shared) : paint_(window), size_(clientSize(window)) {
    if (!paint_.get()) return;
    surface_ = &shared;
    dc_ = shared.acquire(paint_.get(), size_);
    if (!dc_) {
        surface_ = &own_.emplace(static_cast<long>(size_.cx) * size_.cy);
        dc_ = own_->acquire(paint_.get(), size_);
    }
    if (!dc_) {
        surface_ = nullptr;
        dc_ = paint_.get();
        return;
    }
    // Only what needs painting is drawn and copied (the surface's saved state drops the
    // clip again): a label whose text changes asks for the columns the texts cover.
    const RECT& dirty = paint_.dirty();
    IntersectClipRect(dc_, dirty.left, dirty.top, dirty.right, dirty.bottom);
}

BufferedPaint::~BufferedPaint() {
    if (!surface_) return;
    const RECT& dirty = paint_.dirty();
    BitBlt(paint_.get(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, dc_, dirty.left,
           dirty.top, SRCCOPY);
    surface_->release();
}

} // namespace tallyra::win32
