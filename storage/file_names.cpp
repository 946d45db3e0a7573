#include "storage/file_names.h"

namespace tallyra {
namespace {

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

} // namespace

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++count) {
        const std::size_t length = decodeAt(utf8, pos).length;
        pos += length == 0 ? 1 : length;
    }
    return count;
}

} // namespace tallyra
