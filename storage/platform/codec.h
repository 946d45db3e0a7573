// The platform's character converter between UTF-8 and GB18030: iconv on Linux,
// code page 54936 on Windows. Only text_encoding.cpp calls these.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallyra::platform {

// Both convert what they can; a character the converter has no bytes for becomes
// "?" (encoding) or U+FFFD (decoding) and the conversion goes on after it. Where
// the platform lacks GB18030 (Wine 8 has no code page 54936) they fall back to
// plain GBK (code page 936), the same bytes for every GBK character. Nothing when
// the system has no converter at all.
std::optional<std::string> utf8ToGb18030(std::string_view utf8);
std::optional<std::string> gb18030ToUtf8(std::string_view bytes);

} // namespace tallyra::platform
