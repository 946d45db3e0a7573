// PNG pictures: decoding a PNG held in memory to 8-bit RGBA with libpng, and
// where a picture lands inside a picture box for each display mode. Portable;
// every window backend draws the decoded pixels its own way.
#pragma once

#include "ui/layout.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tallyra::ui {

struct RgbaImage {
    int width = 0;
    int height = 0;
    // Rows from top to bottom, 4 bytes per pixel: red, green, blue, alpha (not premultiplied).
    std::vector<std::uint8_t> pixels;
};

struct PngDecodeResult {
    std::optional<RgbaImage> image;
    std::string error; // set when there is no image
};

// Largest picture we agree to decode; a header claiming more is refused before any
// memory is taken for the pixels.
inline constexpr std::int64_t kMaxPngPixels = 64LL * 1024 * 1024;

// Any colour type and bit depth libpng reads becomes 8-bit RGBA. Bytes that are no
// readable PNG (empty, truncated, corrupted, absurd dimensions) give an error text.
PngDecodeResult decodePng(std::span<const std::uint8_t> bytes);

// Picture display modes of picture boxes.
enum class PictureMode { Natural = 0, Stretch = 1, Fit = 2 };

// Where the picture goes inside a box of the given size, relative to the box:
// natural size at the top-left corner; stretched over the whole box; or fitted,
// centred at natural size when it fits, otherwise scaled down by the smaller of the
// two ratios (cut to whole pixels) and centred.
Rect placePicture(PictureMode mode, int boxWidth, int boxHeight, int pictureWidth, int pictureHeight);

// Whether the picture is drawn at another size than its own, which needs a stretch mode.
inline bool isScaled(Rect placed, int pictureWidth, int pictureHeight) {
    return placed.width != pictureWidth || placed.height != pictureHeight;
}

} // namespace tallyra::ui
