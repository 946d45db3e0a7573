#include "ui/win32/picture.h"

#include "ui/png_image.h"

#include <span>

namespace tallyra::ui::win32 {
namespace {

std::span<const std::uint8_t> resourceBytes(HINSTANCE instance, int resourceId) {
    // The resource script may file the PNG as raw data or under a type named PNG.
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) found = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), L"PNG");
    if (!found) return {};
    HGLOBAL loaded = LoadResource(instance, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(instance, found)};
}

std::uint8_t blend(std::uint8_t over, std::uint8_t under, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

} // namespace

Picture::Picture(HINSTANCE instance, int resourceId, Color background) {
    if (resourceId == 0) return;
    const PngDecodeResult decoded = decodePng(resourceBytes(instance, resourceId));
    if (!decoded.image) return;
    const RgbaImage& image = *decoded.image;
    // Blended once over the box's colour: GDI then draws plain opaque pixels.
    bgrx_.resize(image.pixels.size());
    for (std::size_t i = 0; i + 3 < image.pixels.size(); i += 4) {
        const std::uint8_t alpha = image.pixels[i + 3];
        bgrx_[i] = blend(image.pixels[i + 2], background.blue, alpha);
        bgrx_[i + 1] = blend(image.pixels[i + 1], background.green, alpha);
        bgrx_[i + 2] = blend(image.pixels[i], background.red, alpha);
        bgrx_[i + 3] = 0;
    }
    width_ = image.width;
    height_ = image.height;
}

void Picture::draw(HDC dc, int boxWidth, int boxHeight, int mode) const {
    if (empty()) return;
    const Rect placed = placePicture(static_cast<PictureMode>(mode), boxWidth, boxHeight, width_, height_);
    if (placed.width <= 0 || placed.height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (!isScaled(placed, width_, height_)) {
        StretchDIBits(dc, placed.left, placed.top, width_, height_, 0, 0, width_, height_, bgrx_.data(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    const ScopedMemoryDC memory(dc);
    if (!scaled_ || scaledWidth_ != placed.width || scaledHeight_ != placed.height) {
        scaled_.reset(CreateCompatibleBitmap(dc, placed.width, placed.height));
        if (!scaled_) return;
        scaledWidth_ = placed.width;
        scaledHeight_ = placed.height;
        const ScopedSelectObject select(memory.get(), scaled_.get());
        const int bitsPerPixel = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
        SetStretchBltMode(memory.get(), bitsPerPixel > 16 ? HALFTONE : COLORONCOLOR);
        SetBrushOrgEx(memory.get(), 0, 0, nullptr); // HALFTONE needs the brush origin reset after it is chosen
        StretchDIBits(memory.get(), 0, 0, placed.width, placed.height, 0, 0, width_, height_, bgrx_.data(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
    }
    const ScopedSelectObject select(memory.get(), scaled_.get());
    BitBlt(dc, placed.left, placed.top, placed.width, placed.height, memory.get(), 0, 0, SRCCOPY);
}

} // namespace tallyra::ui::win32
