#include "storage/text_encoding.h"

#include "storage/platform/codec.h"

#include <algorithm>

namespace tallyra {
namespace {

bool isAscii(std::string_view bytes) {
    bool ascii = true;
    for (unsigned char c : bytes)
        ascii = ascii && c < 0x80;
    return ascii;
}

// Where the first character of utf8 lies that the bytes do not read back as; nothing
// when every one does.
std::optional<std::size_t> firstChangedCharacter(std::string_view utf8, const std::optional<std::string>& bytes) {
    const std::optional<std::string> readBack = bytes ? platform::gb18030ToUtf8(*bytes) : std::nullopt;
    if (readBack && *readBack == utf8) return std::nullopt;
    std::size_t pos = 0;
    if (!readBack) {
        // Without a converter only ASCII reaches the file as itself.
        while (static_cast<unsigned char>(utf8[pos]) < 0x80)
            ++pos;
        return pos;
    }
    while (pos < utf8.size() && pos < readBack->size() && utf8[pos] == (*readBack)[pos])
        ++pos;
    pos = std::min(pos, utf8.size() - 1);
    // The bytes before pos read back; the character holding pos does not.
    for (int step = 0; step < 3 && pos > 0 && (static_cast<unsigned char>(utf8[pos]) & 0xC0) == 0x80; ++step)
        --pos;
    return pos;
}

} // namespace

std::string encodeForFile(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    return platform::utf8ToGb18030(utf8).value_or(std::string(utf8));
}

bool storesAsItself(std::string_view utf8) {
    return isAscii(utf8) || !firstChangedCharacter(utf8, platform::utf8ToGb18030(utf8));
}

std::optional<std::string> unstorableCharacter(std::string_view utf8) {
    if (isAscii(utf8)) return std::nullopt;
    const std::optional<std::size_t> pos = firstChangedCharacter(utf8, platform::utf8ToGb18030(utf8));
    if (!pos) return std::nullopt;
    const std::size_t length = decodeUtf8At(utf8, *pos).length;
    return length == 0 ? std::string("\xEF\xBF\xBD") : std::string(utf8.substr(*pos, length));
}

std::string decodeFromFile(std::string_view fileBytes) {
    if (isAscii(fileBytes)) return std::string(fileBytes);
    return platform::gb18030ToUtf8(fileBytes).value_or(std::string(fileBytes));
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
    return isAscii(utf8) ? utf8.size() : encodeForFile(utf8).size();
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
    if (isAscii(raw) || !isValidUtf8(raw)) return std::string(raw);
    std::string asUtf8 = encodeForFile(raw);
    if (commonShare(asUtf8) > commonShare(raw)) return asUtf8;
    return std::string(raw);
}

bool readsBackAsWritten(std::string_view fileBytes) {
    return isAscii(fileBytes) || normaliseFileBytes(fileBytes) == fileBytes;
}

} // namespace tallyra
