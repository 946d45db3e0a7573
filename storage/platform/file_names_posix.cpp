// Case folding of file names with the C library's Unicode tables (C.UTF-8 is
// built into glibc, whatever locales the machine has).
#include "storage/file_names.h"

#include "storage/utf8.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace tallyra {
namespace {

locale_t unicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

} // namespace

std::string upperCaseFileName(std::string_view utf8) {
    std::string upper;
    upper.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Character c = decodeUtf8At(utf8, pos);
        if (c.length == 0) {
            upper += utf8[pos++]; // not UTF-8: kept as it is
            continue;
        }
        if (c.codePoint < 0x80) {
            upper += static_cast<char>(c.codePoint >= 'a' && c.codePoint <= 'z' ? c.codePoint - 'a' + 'A' : c.codePoint);
        } else if (unicodeLocale() != static_cast<locale_t>(nullptr)) {
            appendUtf8(upper, static_cast<char32_t>(towupper_l(static_cast<wint_t>(c.codePoint), unicodeLocale())));
        } else {
            upper.append(utf8.substr(pos, c.length));
        }
        pos += c.length;
    }
    return upper;
}

bool sameFileName(std::string_view a, std::string_view b) {
    return upperCaseFileName(a) == upperCaseFileName(b);
}

} // namespace tallyra
