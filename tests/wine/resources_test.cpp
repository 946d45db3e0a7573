// The resources linked into Tallyra.exe, read back through the platform the way
// the shell and the program read them: the icon group and each of its images, the
// manifest, the version record, and the support card decoded by the program's own
// picture decoder (WIC).
#include "resources/resource_ids.h"
#include "ui/win32/picture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <span>
#include <cwctype>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {
namespace {

std::string_view resourceBytes(LPCWSTR type, LPCWSTR name) {
    HRSRC found = FindResourceW(nullptr, name, type);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    return {static_cast<const char*>(LockResource(loaded)), SizeofResource(nullptr, found)};
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

TEST(Resources, IconHoldsFifteenImagesFrom16To512AndEachLoads) {
    const std::string_view group = resourceBytes(RT_GROUP_ICON, MAKEINTRESOURCEW(TALLYRA_IDI_APP));
    ASSERT_GE(group.size(), 6u);
    WORD count = 0;
    std::memcpy(&count, group.data() + 4, sizeof count);
    ASSERT_EQ(count, 15);
    ASSERT_EQ(group.size(), 6 + count * sizeof(GroupIconEntry));

    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        const std::string_view image = resourceBytes(RT_ICON, MAKEINTRESOURCEW(entry.id));
        ASSERT_EQ(image.size(), entry.bytes);
        EXPECT_EQ(entry.bitCount, 32);
        int size = entry.width == 0 ? 256 : entry.width;
        const auto* bytes = reinterpret_cast<const unsigned char*>(image.data());
        if (image.substr(0, 8) == "\x89PNG\r\n\x1a\n") {
            size = static_cast<int>(bigEndian32(bytes + 16)); // IHDR width; the entry says 0 from 256 on
            EXPECT_EQ(bigEndian32(bytes + 20), static_cast<std::uint32_t>(size));
        } else {
            EXPECT_TRUE(size == 16 || size == 32) << "only the shell's small and large icons are bitmaps";
        }
        sizes.push_back(size);

        // What the shell does with each image: make an icon of it.
        HICON icon =
            CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(image.data())),
                                     static_cast<DWORD>(image.size()), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr) << size << " x " << size;
        if (icon != nullptr) DestroyIcon(icon);
    }
    EXPECT_EQ(sizes.front(), 16);
    EXPECT_EQ(sizes.back(), 512);
    for (std::size_t i = 1; i < sizes.size(); ++i)
        EXPECT_LT(sizes[i - 1], sizes[i]);

    // As the taskbar, Alt+Tab and Explorer ask for it: bitmap and PNG sizes alike.
    for (int side : {16, 20, 24, 32, 48, 256}) {
        const auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TALLYRA_IDI_APP),
                                                        IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
        EXPECT_NE(icon, nullptr) << side << " x " << side;
        ICONINFO info{};
        BITMAP color{};
        if (icon != nullptr && GetIconInfo(icon, &info)) {
            if (info.hbmColor) GetObjectW(info.hbmColor, sizeof color, &color);
            EXPECT_EQ(color.bmWidth, side);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
        if (icon != nullptr) DestroyIcon(icon);
    }
}

TEST(Resources, ManifestAsksForCommonControls6AndLeavesDpiToTheProgram) {
    const std::string manifest(resourceBytes(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    // No file virtualization: writes under Program Files fail visibly instead of vanishing.
    EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"), std::string::npos);
    EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos);

    // The loader took it: the process's activation context leads to the side-by-side version 6
    // controls (their DllGetVersion cannot tell: Wine's says 5.81 for both).
    HMODULE controls = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(controls, nullptr);
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(controls, path, MAX_PATH), 0u);
    std::wstring loaded(path);
    for (wchar_t& c : loaded)
        c = static_cast<wchar_t>(towlower(c));
    EXPECT_NE(loaded.find(L"\\winsxs\\x86_microsoft.windows.common-controls_6595b64144ccf1df_6."), std::wstring::npos)
        << "comctl32 loaded from " << std::string(loaded.begin(), loaded.end());
}

std::wstring versionString(const std::vector<char>& record, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    if (!VerQueryValueW(record.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return L"(missing)";
    return std::wstring(value, length > 0 ? length - 1 : 0);
}

TEST(Resources, VersionRecordSays1031AndTallyra) {
    wchar_t exe[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> record(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe, 0, size, record.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00030001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00030001u);

    EXPECT_EQ(versionString(record, L"FileVersion"), L"1.0.3.1");
    EXPECT_EQ(versionString(record, L"ProductVersion"), L"1.0.3.1");
    EXPECT_EQ(versionString(record, L"ProductName"), L"Tallyra");
    EXPECT_EQ(versionString(record, L"FileDescription"), L"Tallyra");
}

TEST(Resources, SupportCardIs1080By1503At300DpiWithXmp) {
    const std::string_view png = resourceBytes(RT_RCDATA, MAKEINTRESOURCEW(TALLYRA_IDR_SUPPORT_PICTURE));
    ASSERT_GT(png.size(), 8u);
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(png.data()), png.size());

    const auto image = ui::win32::decodePicture(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 1080);
    EXPECT_EQ(image->height, 1503);
    ASSERT_EQ(image->byteCount(), 1080u * 1503u * 4u);
    const auto alphaAt = [&](std::size_t x, std::size_t y) { return image->pixels[(y * 1080 + x) * 4 + 3]; };
    EXPECT_EQ(alphaAt(0, 0), 0) << "rounded corners are transparent";
    EXPECT_EQ(alphaAt(540, 750), 255);

    // Bytes that are no picture give none; a damaged one gives none or a whole picture.
    const std::vector<std::uint8_t> whole(bytes.begin(), bytes.end());
    const std::vector<std::uint8_t> noPicture[] = {
        {},
        std::vector<std::uint8_t>(64, 0x41),
        std::vector<std::uint8_t>(whole.begin(), whole.begin() + 8),
        std::vector<std::uint8_t>(whole.begin(), whole.begin() + 40),
    };
    for (const auto& b : noPicture)
        EXPECT_FALSE(ui::win32::decodePicture(b)) << b.size() << " bytes";
    std::vector<std::uint8_t> corrupt = whole;
    for (std::size_t i = 100; i < corrupt.size(); i += 97)
        corrupt[i] ^= 0x5A;
    const std::vector<std::uint8_t> damaged[] = {
        std::vector<std::uint8_t>(whole.begin(), whole.begin() + whole.size() / 2),
        corrupt,
    };
    for (const auto& b : damaged) {
        if (const auto picture = ui::win32::decodePicture(b)) {
            EXPECT_TRUE(picture->pixels && picture->width > 0 && picture->height > 0);
        }
    }

    // The chunks a decoder does not report.
    bool physical300Dpi = false;
    bool xmp = false;
    const auto* raw = reinterpret_cast<const unsigned char*>(png.data());
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = bigEndian32(raw + at);
        const std::string_view kind = png.substr(at + 4, 4);
        if (at + 12 + length > png.size()) break;
        if (kind == "pHYs" && length == 9) {
            physical300Dpi =
                bigEndian32(raw + at + 8) == 11811 && bigEndian32(raw + at + 12) == 11811 && raw[at + 16] == 1;
        }
        if (kind == "iTXt") xmp = png.substr(at + 8, 18) == std::string_view("XML:com.adobe.xmp\0", 18);
        at += 12 + length;
    }
    EXPECT_TRUE(physical300Dpi);
    EXPECT_TRUE(xmp);
}

} // namespace
} // namespace tallyra
