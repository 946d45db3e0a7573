// Text encoding at the file boundary.
//
// Every text the program holds in memory is UTF-8. Files are GBK, which old
// Windows tools read; we write GB18030, GBK's strict superset (identical bytes
// for every GBK character), so a student whose name holds a rare character
// outside GBK is stored and read back intact. Lengths that the program measures
// in bytes are counted in the file encoding through fileByteLength.
#pragma once

#include "storage/utf8.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tallyra {

// UTF-8 to GB18030 bytes. Invalid UTF-8 sequences, and characters this system
// cannot store, become "?": a write checks storesAsItself first.
std::string encodeForFile(std::string_view utf8);

// True when every character of the text reads back from the file as itself.
bool storesAsItself(std::string_view utf8);

// The first character (as UTF-8) that this system cannot store in the file
// encoding: one outside GBK where there is no GB18030 converter (Wine), one the
// converter has no bytes for (iconv lacks a few private-use characters), any beyond
// ASCII when there is no converter at all; U+FFFD stands for bytes that are no
// UTF-8. Nothing when the whole text is stored as itself.
std::optional<std::string> unstorableCharacter(std::string_view utf8);

// GB18030 (and so GBK) bytes to UTF-8. Bytes that form no character become a
// replacement character (U+FFFD, or "?" from some converters); none is dropped silently.
std::string decodeFromFile(std::string_view fileBytes);

// Number of bytes a text takes in the file encoding (a Chinese character counts 2).
std::size_t fileByteLength(std::string_view utf8);

// Length in bytes of the GB18030 character that starts at pos (1, 2 or 4), never past the end.
std::size_t fileCharLength(std::string_view fileBytes, std::size_t pos);

// The longest prefix of at most maxBytes bytes that does not end inside a character.
std::string_view cutFileBytes(std::string_view fileBytes, std::size_t maxBytes);

// A file that a teacher re-saved in an editor as UTF-8 (with or without a
// byte-order mark) or as "Unicode" (UTF-16 with a byte-order mark) is turned back
// into file-encoding bytes, so the next write stores GBK again; anything else is
// returned unchanged.
std::string normaliseFileBytes(std::string_view rawBytes);

// True when the file-encoding bytes read back as themselves. GBK bytes of a few
// rare characters can also be valid UTF-8 of more common ones (璺弤 reads as
// 跏~); such a file would come back as other text, so it is never written.
bool readsBackAsWritten(std::string_view fileBytes);

} // namespace tallyra
