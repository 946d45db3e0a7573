// The INI dialect of the Windows private-profile functions, on file bytes.
//
// Section and key names match without regard to (ASCII) case, stepping over
// double-byte characters as a whole; blanks around names and values are not part
// of them; one pair of the same quotes (" or ') around a value is not part of it
// either; only the first section of a name counts; a missing section or key reads
// as nothing. Writing replaces an existing key's value in place, puts a new key
// after the last item of its section and a new section at the end of the file, and
// leaves every other byte as it was. A value that would lose its quotes on reading
// is written inside one more pair, so that it reads back as given.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallyra::ini {

// Value of section/key (both in file encoding), or nothing when either is missing.
std::optional<std::string_view> findValue(std::string_view fileBytes, std::string_view section, std::string_view key);

// The file's bytes with section/key set to value.
std::string withValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                      std::string_view value);

// True when every line of the bytes is blank, a comment, a [section] or holds a
// "=": text a program of ours could have written. A link's target that fails it
// (a document, a picture) is never written through.
bool readsAsIniText(std::string_view fileBytes);

// Names equal without regard to ASCII case; trail bytes of double-byte characters are never folded.
bool namesMatch(std::string_view a, std::string_view b);

} // namespace tallyra::ini
