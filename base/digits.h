// Numbers as text without the printf family: on Windows it links about 30 KB of
// floating-point formatting into a program that only ever prints whole numbers.
#pragma once

#include <charconv>
#include <string>

namespace tallyra {

// value in the base (upper-case letters past 9), left-padded with zeros to width.
inline std::string digits(unsigned long value, std::size_t width = 0, int base = 10) {
    char buffer[40];
    std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, base).ptr);
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return text;
}

} // namespace tallyra
