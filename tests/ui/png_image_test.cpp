// The PNG decoder and the placement of pictures in picture boxes.
#include "ui/png_image.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tallyra::ui {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Encodes pixels of the given libpng format with libpng's own writer.
Bytes encodePng(int width, int height, png_uint_32 format, const Bytes& pixels) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(width);
    png.height = static_cast<png_uint_32>(height);
    png.format = format;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_get_memory_size(png, size, 0, pixels.data(), 0, nullptr)) << png.message;
    Bytes out(size);
    EXPECT_TRUE(png_image_write_to_memory(&png, out.data(), &size, 0, pixels.data(), 0, nullptr)) << png.message;
    out.resize(size);
    return out;
}

Bytes sampleRgba() {
    // 3 × 2: red, green, blue / half-transparent white, transparent black, opaque grey.
    return {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128, 0, 0, 0, 0, 90, 90, 90, 255};
}

TEST(DecodePng, RgbaRoundTripKeepsEveryPixelAndRowOrder) {
    const Bytes pixels = sampleRgba();
    const PngDecodeResult result = decodePng(encodePng(3, 2, PNG_FORMAT_RGBA, pixels));
    ASSERT_TRUE(result.image) << result.error;
    EXPECT_EQ(result.image->width, 3);
    EXPECT_EQ(result.image->height, 2);
    EXPECT_EQ(result.image->pixels, pixels);
}

TEST(DecodePng, OtherColourTypesBecomeOpaqueRgba) {
    struct Case {
        const char* name;
        png_uint_32 format;
        Bytes pixels; // 2 × 1
        Bytes rgba;
    };
    const Case cases[] = {
        {"grey", PNG_FORMAT_GRAY, {0, 200}, {0, 0, 0, 255, 200, 200, 200, 255}},
        {"rgb", PNG_FORMAT_RGB, {1, 2, 3, 250, 251, 252}, {1, 2, 3, 255, 250, 251, 252, 255}},
        {"grey with alpha", PNG_FORMAT_GA, {255, 255, 255, 0}, {255, 255, 255, 255, 255, 255, 255, 0}},
    };
    for (const Case& c : cases) {
        const PngDecodeResult result = decodePng(encodePng(2, 1, c.format, c.pixels));
        ASSERT_TRUE(result.image) << c.name << ": " << result.error;
        EXPECT_EQ(result.image->pixels, c.rgba) << c.name;
    }
}

// A PNG whose header claims the given size, with a correct CRC and no image data.
Bytes headerOnlyPng(std::uint32_t width, std::uint32_t height) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    auto put32 = [&png](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            png.push_back(static_cast<std::uint8_t>(v >> shift));
    };
    put32(width);
    put32(height);
    png.insert(png.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA
    put32(static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17)));
    return png;
}

TEST(DecodePng, BadBytesGiveAnErrorNotACrash) {
    const Bytes good = encodePng(3, 2, PNG_FORMAT_RGBA, sampleRgba());
    Bytes corruptData = good;
    corruptData[corruptData.size() - 20] ^= 0xFF; // inside the compressed data or its CRC
    Bytes badSignature = good;
    badSignature[1] = 'J';

    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"one byte", {0x89}},
        {"not a png", Bytes(64, 0x41)},
        {"bad signature", badSignature},
        {"only the signature", Bytes(good.begin(), good.begin() + 8)},
        {"cut in the header", Bytes(good.begin(), good.begin() + 20)},
        {"cut in the data", Bytes(good.begin(), good.end() - 20)},
        {"corrupt data", corruptData},
        {"header claims a huge picture", headerOnlyPng(100000, 100000)},
        {"header claims a zero width", headerOnlyPng(0, 10)},
        {"header only", headerOnlyPng(4, 4)},
    };
    for (const Case& c : cases) {
        const PngDecodeResult result = decodePng(c.bytes);
        EXPECT_FALSE(result.image) << c.name;
        EXPECT_FALSE(result.error.empty()) << c.name;
    }
}

TEST(DecodePng, FlippingAnyByteNeverCrashes) {
    const Bytes good = encodePng(3, 2, PNG_FORMAT_RGBA, sampleRgba());
    for (std::size_t i = 0; i < good.size(); ++i) {
        Bytes bytes = good;
        bytes[i] ^= 0x5A;
        const PngDecodeResult result = decodePng(bytes);
        if (result.image) {
            EXPECT_EQ(result.image->pixels.size(), static_cast<std::size_t>(result.image->width) *
                                                       static_cast<std::size_t>(result.image->height) * 4);
        } else {
            EXPECT_FALSE(result.error.empty()) << "byte " << i;
        }
    }
}

TEST(PlacePicture, DisplayModes) {
    struct Case {
        PictureMode mode;
        int boxWidth, boxHeight, pictureWidth, pictureHeight;
        Rect expected;
    };
    const Case cases[] = {
        {PictureMode::Natural, 100, 50, 300, 20, {0, 0, 300, 20}},
        {PictureMode::Stretch, 100, 50, 300, 20, {0, 0, 100, 50}},
        // Fits: natural size, centred (odd remainders cut).
        {PictureMode::Fit, 100, 50, 40, 21, {30, 14, 40, 21}},
        {PictureMode::Fit, 40, 21, 40, 21, {0, 0, 40, 21}},
        // Too wide: the width limits.
        {PictureMode::Fit, 100, 50, 300, 20, {0, 22, 100, 6}},
        // Too tall: the height limits.
        {PictureMode::Fit, 100, 50, 20, 300, {48, 0, 3, 50}},
        // The support picture in a box of the support window's content size.
        {PictureMode::Fit, 287, 392, 1080, 1503, {3, 0, 281, 392}},
        {PictureMode::Fit, 287, 400, 1080, 1503, {0, 0, 287, 399}},
        // No picture.
        {PictureMode::Fit, 100, 50, 0, 0, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placePicture(c.mode, c.boxWidth, c.boxHeight, c.pictureWidth, c.pictureHeight), c.expected)
            << "mode " << static_cast<int>(c.mode) << " box " << c.boxWidth << "x" << c.boxHeight << " picture "
            << c.pictureWidth << "x" << c.pictureHeight;
    }
}

} // namespace
} // namespace tallyra::ui
