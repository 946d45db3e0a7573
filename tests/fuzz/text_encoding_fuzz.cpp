// The file encoding: any bytes decode to UTF-8 that encodes and decodes again to
// the same text; a file already in the file encoding is left alone; GBK text made
// of common-set (GB 2312) characters is never taken for UTF-8; a UTF-8 file with a
// byte-order mark turns into the file encoding of the same text; a text that would
// not read back from its file bytes has its first such character named.
#include "storage/text_encoding.h"
#include "tests/fuzz/fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyra;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string text = decodeFromFile(bytes);
    FUZZ_REQUIRE(isValidUtf8(text));
    FUZZ_REQUIRE(decodeFromFile(encodeForFile(text)) == text);
    FUZZ_REQUIRE(fileByteLength(text) == encodeForFile(text).size());
    const std::string_view cut = cutFileBytes(bytes, size / 2);
    FUZZ_REQUIRE(cut.size() <= size / 2 && bytes.starts_with(cut));
    const std::optional<std::string> unstorable = unstorableCharacter(bytes);
    FUZZ_REQUIRE(unstorable.has_value() == (decodeFromFile(encodeForFile(bytes)) != bytes));
    FUZZ_REQUIRE(!unstorable || *unstorable == "\uFFFD" || bytes.find(*unstorable) != std::string_view::npos);

    // A file that is no UTF-8 and has no byte-order mark is in the file encoding
    // already: normalising leaves it as it is. (Normalising twice need not be stable:
    // GBK bytes that read as UTF-8 with more common characters are taken for UTF-8.)
    if (!isValidUtf8(bytes) && !bytes.starts_with("\xEF\xBB\xBF") && !bytes.starts_with("\xFF\xFE") &&
        !bytes.starts_with("\xFE\xFF"))
        FUZZ_REQUIRE(normaliseFileBytes(bytes) == bytes);

    // Names of GB 2312 Chinese characters (rows 0xB0-0xF7), stored as GBK in a roster file.
    FuzzedDataProvider provider(data, size);
    std::string gbk = "[ClassData]\r\nName=";
    while (provider.remaining_bytes() >= 2) {
        if (provider.ConsumeIntegralInRange<int>(0, 5) == 0) gbk += ',';
        const auto lead = static_cast<char>(provider.ConsumeIntegralInRange<int>(0xB0, 0xF7));
        const int lastTrail = lead == static_cast<char>(0xD7) ? 0xF9 : 0xFE; // D7FA-D7FE are unassigned
        gbk += lead;
        gbk += static_cast<char>(provider.ConsumeIntegralInRange<int>(0xA1, lastTrail));
    }
    gbk += "\r\n";
    FUZZ_REQUIRE(normaliseFileBytes(gbk) == gbk);
    // The same names saved by an editor as UTF-8 with a byte-order mark read as the same names.
    FUZZ_REQUIRE(normaliseFileBytes("\xEF\xBB\xBF" + decodeFromFile(gbk)) == gbk);
    return 0;
}
