#include "storage/text_encoding.h"

#include "storage/platform/codec.h"

namespace tallyra {

std::string encodeForFile(std::string_view utf8) {
    bool ascii = true;
    for (unsigned char c : utf8) ascii = ascii && c < 0x80;
    if (ascii) return std::string(utf8);
    return platform::utf8ToGb18030(utf8);
}

std::string decodeFromFile(std::string_view fileBytes) {
    bool ascii = true;
    for (unsigned char c : fileBytes) ascii = ascii && c < 0x80;
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
    for (unsigned char c : utf8) ascii = ascii && c < 0x80;
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

std::string normaliseFileBytes(std::string_view raw) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (raw.substr(0, kUtf8Bom.size()) == kUtf8Bom) return encodeForFile(raw.substr(kUtf8Bom.size()));
    // Every Chinese character takes three or four bytes in UTF-8. GBK text whose
    // characters all happen to form two-byte UTF-8 sequences (一 is D2 BB) is valid
    // UTF-8 too, so without such a sequence the file is taken as GBK.
    bool longSequence = false;
    for (unsigned char c : raw) longSequence = longSequence || c >= 0xE0;
    if (longSequence && isValidUtf8(raw)) return encodeForFile(raw);
    return std::string(raw);
}

} // namespace tallyra
