#include "ui/png_image.h"

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace tallyra::ui {

PngDecodeResult decodePng(std::span<const std::uint8_t> bytes) {
    PngDecodeResult result;
    if (bytes.empty()) {
        result.error = "empty picture";
        return result;
    }

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    // libpng's simplified reader catches its own errors (setjmp inside) and reports them in png.message.
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        result.error = png.message;
        return result;
    }
    const std::int64_t pixels = static_cast<std::int64_t>(png.width) * static_cast<std::int64_t>(png.height);
    if (png.width == 0 || png.height == 0 || pixels > kMaxPngPixels) {
        png_image_free(&png);
        result.error = "picture too large";
        return result;
    }

    png.format = PNG_FORMAT_RGBA;
    RgbaImage image;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    try {
        image.pixels.resize(PNG_IMAGE_SIZE(png));
    } catch (const std::bad_alloc&) {
        png_image_free(&png);
        result.error = "not enough memory for the picture";
        return result;
    }
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        result.error = png.message;
        png_image_free(&png);
        return result;
    }
    result.image = std::move(image);
    return result;
}

Rect placePicture(PictureMode mode, int boxWidth, int boxHeight, int pictureWidth, int pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return {};
    switch (mode) {
    case PictureMode::Stretch:
        return {0, 0, boxWidth, boxHeight};
    case PictureMode::Fit: {
        if (pictureWidth <= boxWidth && pictureHeight <= boxHeight)
            return {(boxWidth - pictureWidth) / 2, (boxHeight - pictureHeight) / 2, pictureWidth, pictureHeight};
        // Integer arithmetic: the limiting side gets exactly the box's length, the other is cut.
        const std::int64_t bw = std::max(boxWidth, 0), bh = std::max(boxHeight, 0);
        int width = 0, height = 0;
        if (bw * pictureHeight <= bh * pictureWidth) {
            width = static_cast<int>(bw);
            height = static_cast<int>(bw * pictureHeight / pictureWidth);
        } else {
            height = static_cast<int>(bh);
            width = static_cast<int>(bh * pictureWidth / pictureHeight);
        }
        return {(boxWidth - width) / 2, (boxHeight - height) / 2, width, height};
    }
    case PictureMode::Natural:
    default:
        return {0, 0, pictureWidth, pictureHeight};
    }
}

} // namespace tallyra::ui
