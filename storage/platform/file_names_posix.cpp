// Case folding of file names with the C library's Unicode tables (C.UTF-8 is
// built into glibc, whatever locales the machine has).
#include "storage/file_names.h"

#include "storage/text_encoding.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace tallyra {
namespace {

locale_t unicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

char32_t decodeAt(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (lead >= 0x80 && (extra == 0 || pos + extra >= text.size())) return 0xFFFFFFFF;
    char32_t value = extra == 0 ? lead : lead & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[pos + k]);
        if ((next & 0xC0) != 0x80) return 0xFFFFFFFF;
        value = (value << 6) | (next & 0x3F);
    }
    pos += extra;
    return value;
}

} // namespace

std::string upperCaseFileName(std::string_view utf8) {
    std::string upper;
    upper.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size(); ++pos) {
        const std::size_t start = pos;
        const char32_t c = decodeAt(utf8, pos);
        if (c == 0xFFFFFFFF) {
            upper += utf8[start]; // not UTF-8: kept as it is
        } else if (c < 0x80) {
            upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        } else if (unicodeLocale() != static_cast<locale_t>(nullptr)) {
            appendUtf8(upper, static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), unicodeLocale())));
        } else {
            upper.append(utf8.substr(start, pos - start + 1));
        }
    }
    return upper;
}

bool sameFileName(std::string_view a, std::string_view b) {
    return upperCaseFileName(a) == upperCaseFileName(b);
}

} // namespace tallyra
