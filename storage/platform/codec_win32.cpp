// Windows converter: code page 54936 (GB18030) through UTF-16, or 936 (GBK) where
// the system has no GB18030 tables, as under Wine: the same bytes for every GBK
// character, only rare characters outside GBK are lost there.
#include "storage/platform/codec.h"

#include <windows.h>

namespace tallyra::platform {
namespace {

constexpr UINT kGb18030 = 54936;
constexpr UINT kGbk = 936;

UINT fileCodePage() {
    static const UINT codePage = IsValidCodePage(kGb18030) ? kGb18030 : kGbk;
    return codePage;
}

std::wstring toWide(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

std::string fromWide(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

} // namespace

std::string utf8ToGb18030(std::string_view utf8) { return fromWide(fileCodePage(), toWide(CP_UTF8, utf8)); }

std::string gb18030ToUtf8(std::string_view bytes) { return fromWide(CP_UTF8, toWide(fileCodePage(), bytes)); }

bool encodesEveryCharacter() { return fileCodePage() == kGb18030; }

} // namespace tallyra::platform
