// Windows converter: code page 54936 (GB18030) through UTF-16, or 936 (GBK) where
// the system has no GB18030 tables, as under Wine: the same bytes for every GBK
// character; characters outside GBK then have no bytes.
#include "storage/platform/codec.h"

#include "platform/win32/text.h"

namespace tallyra::platform {
namespace {

constexpr UINT kGb18030 = 54936;
constexpr UINT kGbk = 936;

UINT fileCodePage() {
    static const UINT codePage = IsValidCodePage(kGb18030) ? kGb18030 : kGbk;
    return codePage;
}

} // namespace

// The converters answer nothing only for an input they cannot take at all.
std::optional<std::string> utf8ToGb18030(std::string_view utf8) {
    std::string bytes = win32::toNarrow(win32::toWide(utf8), fileCodePage());
    if (bytes.empty() && !utf8.empty()) return std::nullopt;
    return bytes;
}

std::optional<std::string> gb18030ToUtf8(std::string_view bytes) {
    std::string utf8 = win32::toUtf8(win32::toWide(bytes, fileCodePage()));
    if (utf8.empty() && !bytes.empty()) return std::nullopt;
    return utf8;
}

} // namespace tallyra::platform
