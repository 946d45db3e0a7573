// The platform's character converter between UTF-8 and GB18030: iconv on Linux,
// code page 54936 on Windows. Only text_encoding.cpp calls these.
#pragma once

#include <string>
#include <string_view>

namespace tallyra::platform {

// Both convert what they can; a byte sequence the converter refuses is replaced
// by "?" (encoding) or U+FFFD (decoding) and the conversion goes on after it.
std::string utf8ToGb18030(std::string_view utf8);
std::string gb18030ToUtf8(std::string_view bytes);

// False where the platform lacks GB18030 and falls back to plain GBK (code page
// 936): characters outside GBK then cannot be stored. Windows has GB18030; Wine 8 does not.
bool encodesEveryCharacter();

} // namespace tallyra::platform
