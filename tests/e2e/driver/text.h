// Texts and files as the driver sees them: UTF-16 for the Win32 calls, UTF-8 for
// its own output, GBK (code page 936) for the program's data files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

inline constexpr unsigned kGbkCodePage = 936;

std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);
// Empty when a character has no GBK form.
std::optional<std::string> toGbk(std::wstring_view text);
std::wstring fromGbk(std::string_view bytes);

// The text with CR, LF and TAB made visible and other control bytes escaped, for messages.
std::string visible(std::wstring_view text);
// GBK bytes decoded for messages, plus their length.
std::string visibleGbk(std::string_view bytes);

std::optional<std::string> readFileBytes(const std::filesystem::path& path);
bool writeFileBytes(const std::filesystem::path& path, std::string_view bytes);

// Non-empty lines of an INI file, without their line ends.
std::vector<std::string> iniLines(std::string_view bytes);

} // namespace e2e
