// UTF-8, the encoding of every text the program holds in memory: one decoder that
// every part judges bytes by, and the few helpers built on it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tallyra {

// The character that starts at pos; length 0 when the bytes there form none
// (a stray or cut sequence, an overlong form, a surrogate, a value past U+10FFFF).
struct Utf8Character {
    char32_t codePoint = 0;
    std::size_t length = 0;
};
Utf8Character decodeUtf8At(std::string_view utf8, std::size_t pos);

bool isValidUtf8(std::string_view bytes);

// Appends one character (a Unicode code point) in UTF-8.
void appendUtf8(std::string& utf8, char32_t c);

// "U+" and the hexadecimal code of the character that starts the text ("U+FFFD"
// for bytes that form none): a message names a character by it too, since a rare
// or private-use one may show as an empty box.
std::string characterCode(std::string_view utf8);

// Number of characters in a UTF-8 text; a byte that starts no valid character counts as one.
std::size_t characterCount(std::string_view utf8);

} // namespace tallyra
