// File names as Windows compares them: without regard to letter case, for every
// script, not only ASCII. "A班" and "a班", "Ａ班" and "ａ班", "Σ班" and "σ班" name one
// file on Windows, so they must never be two classes.
#pragma once

#include <string>
#include <string_view>

namespace tallyra {

// True when the two names would name one file on Windows: compared without regard
// to case as the file system compares them (CompareStringOrdinal on Windows, the
// C library's Unicode upper-case table elsewhere).
bool sameFileName(std::string_view a, std::string_view b);

// The name with every letter replaced by its capital, by the same table; bytes
// that form no UTF-8 character stay as they are. Files are looked up by it where
// the file system itself minds case.
std::string upperCaseFileName(std::string_view utf8);

} // namespace tallyra
