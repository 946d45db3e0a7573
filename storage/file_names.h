// File names as Windows compares them: without regard to letter case, for every
// script, not only ASCII. "A班" and "a班", "Ａ班" and "ａ班", "Σ班" and "σ班" name one
// file on Windows, so they must never be two classes.
#pragma once

#include <string>
#include <string_view>

namespace tallyra {

// The name with every letter that has a capital replaced by that capital, as
// Windows' file systems fold case. Bytes that form no UTF-8 character stay as they are.
std::string upperCaseFileName(std::string_view utf8);

// True when the two names would name one file on Windows.
bool sameFileName(std::string_view a, std::string_view b);

// Number of characters in a UTF-8 text; a byte that starts no valid character counts as one.
std::size_t characterCount(std::string_view utf8);

} // namespace tallyra
