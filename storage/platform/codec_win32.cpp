// Windows converter: code page 54936 (GB18030) through UTF-16, or 936 (GBK) where
// the system has no GB18030 tables, as under Wine: the same bytes for every GBK
// character, only rare characters outside GBK are lost there.
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

std::string utf8ToGb18030(std::string_view utf8) {
    return win32::toNarrow(win32::toWide(utf8), fileCodePage());
}

std::string gb18030ToUtf8(std::string_view bytes) {
    return win32::toUtf8(win32::toWide(bytes, fileCodePage()));
}

bool encodesEveryCharacter() {
    return fileCodePage() == kGb18030;
}

} // namespace tallyra::platform
