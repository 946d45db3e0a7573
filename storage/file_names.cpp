#include "storage/file_names.h"

#include <cstdint>

namespace tallyra {
namespace {

// Small letters and their capitals, as ranges of code points. Pairs of the form
// "capital, small, capital, small…" have a step of 2; the rest map by a fixed offset.
// This covers the case pairs of the Basic Multilingual Plane that Windows' upcase
// table holds for the scripts a name is written in (Latin, Greek, Cyrillic,
// Armenian, Georgian, Roman numerals, circled and full-width letters).
struct CaseRange {
    char32_t first, last;
    int offset;      // capital = small + offset
    bool alternate;  // only every second code point, starting at first, is a small letter
};

constexpr CaseRange kSmallLetters[] = {
    {U'a', U'z', -32, false},
    {0x00E0, 0x00F6, -32, false},
    {0x00F8, 0x00FE, -32, false},
    {0x00FF, 0x00FF, 0x0178 - 0x00FF, false},
    {0x0101, 0x012F, -1, true},
    {0x0133, 0x0137, -1, true},
    {0x013A, 0x0148, -1, true},
    {0x014B, 0x0177, -1, true},
    {0x017A, 0x017E, -1, true},
    {0x0180, 0x0180, 0x0243 - 0x0180, false},
    {0x0183, 0x0185, -1, true},
    {0x0188, 0x0188, -1, false},
    {0x018C, 0x018C, -1, false},
    {0x0192, 0x0192, -1, false},
    {0x0199, 0x0199, -1, false},
    {0x01A1, 0x01A5, -1, true},
    {0x01A8, 0x01A8, -1, false},
    {0x01AD, 0x01AD, -1, false},
    {0x01B0, 0x01B0, -1, false},
    {0x01B4, 0x01B6, -1, true},
    {0x01B9, 0x01B9, -1, false},
    {0x01BD, 0x01BD, -1, false},
    {0x01C6, 0x01C6, -2, false},
    {0x01C9, 0x01C9, -2, false},
    {0x01CC, 0x01CC, -2, false},
    {0x01CE, 0x01DC, -1, true},
    {0x01DF, 0x01EF, -1, true},
    {0x01F3, 0x01F3, -2, false},
    {0x01F5, 0x01F5, -1, false},
    {0x01F9, 0x021F, -1, true},
    {0x0223, 0x0233, -1, true},
    {0x0247, 0x024F, -1, true},
    {0x03AC, 0x03AC, -38, false},
    {0x03AD, 0x03AF, -37, false},
    {0x03B1, 0x03C1, -32, false},
    {0x03C2, 0x03C2, -31, false}, // final sigma
    {0x03C3, 0x03CB, -32, false},
    {0x03CC, 0x03CC, -64, false},
    {0x03CD, 0x03CE, -63, false},
    {0x03D9, 0x03EF, -1, true},
    {0x0430, 0x044F, -32, false},
    {0x0450, 0x045F, -80, false},
    {0x0461, 0x0481, -1, true},
    {0x048B, 0x04BF, -1, true},
    {0x04C2, 0x04CE, -1, true},
    {0x04CF, 0x04CF, -15, false},
    {0x04D1, 0x052F, -1, true},
    {0x0561, 0x0586, -48, false},
    {0x1E01, 0x1E95, -1, true},
    {0x1EA1, 0x1EFF, -1, true},
    {0x2170, 0x217F, -16, false},
    {0x24D0, 0x24E9, -26, false},
    {0x2C30, 0x2C5F, -48, false},
    {0xFF41, 0xFF5A, -32, false},
};

char32_t toCapital(char32_t c) {
    for (const CaseRange& range : kSmallLetters) {
        if (c < range.first || c > range.last) continue;
        if (range.alternate && (c - range.first) % 2 != 0) return c;
        return static_cast<char32_t>(static_cast<std::int32_t>(c) + range.offset);
    }
    return c;
}

// Decodes the character at pos; length 0 when the bytes there form none.
struct Decoded {
    char32_t codePoint = 0;
    std::size_t length = 0;
};

Decoded decodeAt(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) return {lead, 1};
    std::size_t extra = 0;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, value = lead & 0x07;
    } else {
        return {};
    }
    if (pos + extra >= text.size()) return {};
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[pos + k]);
        if ((next & 0xC0) != 0x80) return {};
        value = (value << 6) | (next & 0x3F);
    }
    if ((extra == 2 && value < 0x800) || (extra == 3 && value < 0x10000) || value > 0x10FFFF ||
        (value >= 0xD800 && value <= 0xDFFF))
        return {};
    return {value, extra + 1};
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string upperCaseFileName(std::string_view utf8) {
    std::string upper;
    upper.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Decoded decoded = decodeAt(utf8, pos);
        if (decoded.length == 0) {
            upper += utf8[pos++];
            continue;
        }
        appendUtf8(upper, toCapital(decoded.codePoint));
        pos += decoded.length;
    }
    return upper;
}

bool sameFileName(std::string_view a, std::string_view b) { return upperCaseFileName(a) == upperCaseFileName(b); }

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++count) {
        const std::size_t length = decodeAt(utf8, pos).length;
        pos += length == 0 ? 1 : length;
    }
    return count;
}

} // namespace tallyra
