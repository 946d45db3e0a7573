// The picture of a picture box: an image resource of the executable (the support
// card, a PNG), decoded once by the Windows Imaging Component when its window
// opens, blended over the box's background and drawn in the box's display mode.
#pragma once

#include "platform/win32/scoped.h"
#include "ui/kit/layout.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace tallyra::ui::win32 {

using tallyra::win32::ScopedBitmap;
using tallyra::win32::ScopedMemoryDC;
using tallyra::win32::ScopedSelectObject;

struct BgraImage {
    int width = 0;
    int height = 0;
    // Rows from top to bottom, 4 bytes per pixel: blue, green, red, alpha (not premultiplied).
    std::unique_ptr<std::uint8_t[]> pixels;
    std::size_t byteCount() const { return std::size_t(width) * std::size_t(height) * 4; }
};

// Largest picture we agree to decode; a larger one is refused before any memory is
// taken for its pixels.
inline constexpr std::int64_t kMaxPicturePixels = 64LL * 1024 * 1024;

// Decodes any image format WIC reads (PNG, BMP, JPEG, GIF...) to 8-bit BGRA.
// Nothing for bytes that are no readable picture.
std::optional<BgraImage> decodePicture(std::span<const std::uint8_t> bytes);

class Picture {
public:
    // Loads the image resource with this id; an empty picture when it is missing or unreadable.
    Picture(HINSTANCE instance, int resourceId, Color background);

    bool empty() const { return width_ == 0; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Draws in display mode 0 (natural size, top-left), 1 (stretched) or 2 (fitted, centred).
    void draw(HDC dc, int boxWidth, int boxHeight, int mode) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<std::uint8_t[]> bgrx_; // top-down rows, blue-green-red-unused, as a 32-bit DIB wants
    // The picture scaled to the size it was last drawn at: halftone scaling of a large
    // picture is slow, and a window repaints often.
    mutable ScopedBitmap scaled_;
    mutable int scaledWidth_ = 0;
    mutable int scaledHeight_ = 0;
};

} // namespace tallyra::ui::win32
