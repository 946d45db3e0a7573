#include "storage/text_encoding.h"

#include "storage/platform/codec.h"

namespace tallyra {

std::string encodeForFile(std::string_view utf8) {
    bool ascii = true;
    for (unsigned char c : utf8)
        ascii = ascii && c < 0x80;
    if (ascii) return std::string(utf8);
    return platform::utf8ToGb18030(utf8);
}

std::string decodeFromFile(std::string_view fileBytes) {
    bool ascii = true;
    for (unsigned char c : fileBytes)
        ascii = ascii && c < 0x80;
    if (ascii) return std::string(fileBytes);
    return platform::gb18030ToUtf8(fileBytes);
}

std::size_t fileCharLength(std::string_view bytes, std::size_t pos) {
    const std::size_t left = bytes.size() - pos;
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x81 || lead == 0xFF || left < 2) return 1;
    const auto second = static_cast<unsigned char>(bytes[pos + 1]);
    if (second >= 0x30 && second <= 0x39) return left >= 4 ? 4 : left; // four-byte GB18030 character
    return 2;
}

std::size_t fileByteLength(std::string_view utf8) {
    bool ascii = true;
    for (unsigned char c : utf8)
        ascii = ascii && c < 0x80;
    return ascii ? utf8.size() : encodeForFile(utf8).size();
}

std::string_view cutFileBytes(std::string_view bytes, std::size_t maxBytes) {
    if (bytes.size() <= maxBytes) return bytes;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t next = pos + fileCharLength(bytes, pos);
        if (next > maxBytes) break;
        pos = next;
    }
    return bytes.substr(0, pos);
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        unsigned codePoint = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1, codePoint = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2, codePoint = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3, codePoint = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(bytes[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((extra == 2 && codePoint < 0x800) || (extra == 3 && codePoint < 0x10000) || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

void appendUtf8(std::string& utf8, char32_t c) {
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        utf8 += static_cast<char>(0xF0 | (c >> 18));
        utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

// How common the text's characters beyond ASCII are, per character: a Chinese
// character of the common set's first level (GB 2312 rows 0xB0-0xD7, the 3,755
// most used) weighs 2, one of its second level (rows 0xD8-0xF7) 1, anything else
// 0. The first level carries almost every name; weighing it higher keeps the two
// readings of a short name from tying.
struct CommonShare {
    std::size_t weight = 0, all = 0;
    bool operator>(const CommonShare& other) const { return weight * other.all > other.weight * all; }
};

CommonShare commonShare(std::string_view fileBytes) {
    CommonShare share;
    for (std::size_t pos = 0; pos < fileBytes.size();) {
        const std::size_t length = fileCharLength(fileBytes, pos);
        const auto lead = static_cast<unsigned char>(fileBytes[pos]);
        if (lead >= 0x80) {
            ++share.all;
            const auto trail = length == 2 ? static_cast<unsigned char>(fileBytes[pos + 1]) : 0;
            if (trail >= 0xA1 && trail <= 0xFE)
                share.weight += lead >= 0xB0 && lead <= 0xD7 ? 2 : lead >= 0xD8 && lead <= 0xF7 ? 1 : 0;
        }
        pos += length;
    }
    return share;
}

// UTF-16 (as Notepad saves "Unicode") to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string utf8;
    const auto unitAt = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unitAt(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 && unitAt(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(utf8, c);
    }
    return utf8;
}

} // namespace

std::string normaliseFileBytes(std::string_view raw) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
    constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
    if (raw.starts_with(kUtf8Bom)) return encodeForFile(raw.substr(kUtf8Bom.size()));
    // Neither pair can start a GBK file: 0xFF is no GBK byte at all.
    if (raw.starts_with(kUtf16LeBom)) return encodeForFile(utf16ToUtf8(raw.substr(2), false));
    if (raw.starts_with(kUtf16BeBom)) return encodeForFile(utf16ToUtf8(raw.substr(2), true));

    // GBK text can be valid UTF-8 by chance ("郑皓博", "瑜班长"), so validity alone
    // decides nothing. The file counts as UTF-8 only when its UTF-8 reading is made
    // of more common Chinese characters, share for share, than its GBK reading: real names
    // are made of common characters, and the wrong reading of either encoding
    // scatters into rare characters and symbols. (Counting characters instead of
    // their share would misread short UTF-8 names such as 严军.) A file made only
    // of rare characters can go either way; ties stay GBK, the program's own encoding.
    bool ascii = true;
    for (unsigned char c : raw)
        ascii = ascii && c < 0x80;
    if (ascii || !isValidUtf8(raw)) return std::string(raw);
    std::string asUtf8 = encodeForFile(raw);
    if (commonShare(asUtf8) > commonShare(raw)) return asUtf8;
    return std::string(raw);
}

} // namespace tallyra
