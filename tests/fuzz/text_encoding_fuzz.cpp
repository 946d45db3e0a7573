// The file encoding: any bytes decode to UTF-8 that encodes and decodes again to
// the same text; GBK text made of common-set (GB 2312) characters is never taken
// for UTF-8; a UTF-8 or UTF-16 file turns into the file encoding of the same text.
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

    // Normalising is stable: what it gives is read the same way the next time.
    const std::string normalised = normaliseFileBytes(bytes);
    FUZZ_REQUIRE(normaliseFileBytes(normalised) == normalised);

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
