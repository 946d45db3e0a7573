#include "ui/win32/picture.h"

#include "platform/win32/com.h"
#include "ui/kit/picture_fit.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <new>

namespace tallyra::ui::win32 {
namespace {

using Microsoft::WRL::ComPtr;

std::span<const std::uint8_t> resourceBytes(HINSTANCE instance, int resourceId) {
    // The resource script may file the picture as raw data or under a type named PNG.
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

std::optional<BgraImage> decodePicture(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > MAXDWORD) return std::nullopt;
    const tallyra::win32::ScopedComInit com; // the GUI thread's COM, for as long as the decoder needs it
    // Factory1: WIC as Windows 7 has it (Factory2 needs Windows 8).
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(tallyra::win32::createComObject(CLSID_WICImagingFactory1, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.GetAddressOf()))))
        return std::nullopt;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    // WIC reads the bytes in place; it never writes through the pointer.
    if (FAILED(factory->CreateStream(stream.GetAddressOf())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.GetAddressOf())) ||
        FAILED(decoder->GetFrame(0, frame.GetAddressOf())) ||
        FAILED(factory->CreateFormatConverter(converter.GetAddressOf())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        std::int64_t{width} * height > kMaxPicturePixels)
        return std::nullopt;
    BgraImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    // The program is built without exceptions: a picture too large for the memory left is
    // refused here rather than ending the program.
    image.pixels.reset(new (std::nothrow) std::uint8_t[image.byteCount()]);
    if (!image.pixels) return std::nullopt;
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(image.byteCount()), image.pixels.get())))
        return std::nullopt;
    return image;
}

Picture::Picture(HINSTANCE instance, int resourceId, Color background) {
    if (resourceId == 0) return;
    std::optional<BgraImage> image = decodePicture(resourceBytes(instance, resourceId));
    if (!image) return;
    // Blended once over the box's colour: GDI then draws plain opaque pixels.
    bgrx_ = std::move(image->pixels);
    for (std::size_t i = 0; i + 3 < image->byteCount(); i += 4) {
        const std::uint8_t alpha = bgrx_[i + 3];
        bgrx_[i] = blend(bgrx_[i], background.blue, alpha);
        bgrx_[i + 1] = blend(bgrx_[i + 1], background.green, alpha);
        bgrx_[i + 2] = blend(bgrx_[i + 2], background.red, alpha);
        bgrx_[i + 3] = 0;
    }
    width_ = image->width;
    height_ = image->height;
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
        StretchDIBits(dc, placed.left, placed.top, width_, height_, 0, 0, width_, height_, bgrx_.get(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    const ScopedMemoryDC memory(CreateCompatibleDC(dc));
    if (!scaled_ || scaledWidth_ != placed.width || scaledHeight_ != placed.height) {
        scaled_.reset(CreateCompatibleBitmap(dc, placed.width, placed.height));
        if (!scaled_) return;
        scaledWidth_ = placed.width;
        scaledHeight_ = placed.height;
        const ScopedSelectObject select(memory.get(), scaled_.get());
        const int bitsPerPixel = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
        SetStretchBltMode(memory.get(), bitsPerPixel > 16 ? HALFTONE : COLORONCOLOR);
        SetBrushOrgEx(memory.get(), 0, 0, nullptr); // HALFTONE needs the brush origin reset after it is chosen
        StretchDIBits(memory.get(), 0, 0, placed.width, placed.height, 0, 0, width_, height_, bgrx_.get(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
    }
    const ScopedSelectObject select(memory.get(), scaled_.get());
    BitBlt(dc, placed.left, placed.top, placed.width, placed.height, memory.get(), 0, 0, SRCCOPY);
}

} // namespace tallyra::ui::win32
