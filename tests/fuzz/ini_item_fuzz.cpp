// Writing one INI item into any file, then reading: an accepted value reads back
// as written (less the blanks around it, which the dialect never keeps), every
// other item of the file reads as before, and a refused write leaves the file's
// bytes as they were.
#include "storage/ini_dialect.h"
#include "storage/ini_file.h"
#include "storage/text_encoding.h"
#include "tests/fuzz/fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace tallyra::fuzz {
namespace {

// Sections and keys as the program names them, in other capitals, and one that is not ASCII.
constexpr const char* kSections[] = {"Class", "class", "CLASS", "Settings", "ClassData", "classDATA", "班级"};
constexpr const char* kKeys[] = {"ClassName", "classname", "Default", "Number", "NAME", "Name", "Voice", "学号"};

std::string_view trimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\v\f";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Every (section, key) pair the file's item lines name, as the dialect reads lines.
std::vector<std::pair<std::string, std::string>> itemNames(std::string_view bytes) {
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = trimBlanks(bytes.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            section =
                trimBlanks(close == std::string_view::npos || close == 0 ? line.substr(1) : line.substr(1, close - 1));
        } else {
            names.emplace_back(section, trimBlanks(line.substr(0, line.find('='))));
        }
    }
    return names;
}

} // namespace
} // namespace tallyra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyra;
    using namespace tallyra::fuzz;
    FuzzedDataProvider provider(data, size);
    const std::string section = kSections[provider.ConsumeIntegralInRange<std::size_t>(0, std::size(kSections) - 1)];
    const std::string key = kKeys[provider.ConsumeIntegralInRange<std::size_t>(0, std::size(kKeys) - 1)];
    const std::string original = provider.ConsumeRandomLengthString(4096);
    const std::string value = provider.ConsumeRemainingBytesAsString();

    const std::filesystem::path file = scratch().data() / "item.conf";
    const FilePath itemFile = toFilePath(file);
    writeBytes(file, original);
    const bool accepted = writeIniItem(itemFile, section, key, value);
    const std::string written = fileBytes(file);

    // A write is refused when the value cannot be stored, or when the whole file would
    // read back as other text (GBK bytes that are also valid UTF-8 and read better so).
    const std::string wouldWrite =
        ini::withValue(normaliseFileBytes(original), encodeForFile(section), encodeForFile(key), encodeForFile(value));
    FUZZ_REQUIRE(accepted == (fitsIniValue(value) && readsBackAsWritten(wouldWrite)));
    if (!accepted) {
        FUZZ_REQUIRE(written == original);
        return 0;
    }
    FUZZ_REQUIRE(readsBackAsWritten(written));
    if (isValidUtf8(value)) FUZZ_REQUIRE(readIniItem(itemFile, section, key) == trimBlanks(value));

    // The write keeps the file as it read it (before) and stores it in the file encoding;
    // the written bytes are compared as they are. Guessing their encoding afresh could
    // differ: a write that replaces the one byte that kept a GBK file from being valid
    // UTF-8 leaves bytes that may read better as UTF-8 (the encoding's own fuzz target
    // covers that guess).
    const std::string before = normaliseFileBytes(original);
    const std::string& after = written;
    const std::string fileSection = encodeForFile(section), fileKey = encodeForFile(key);
    for (const auto& [otherSection, otherKey] : itemNames(before)) {
        if (ini::namesMatch(otherSection, fileSection) && ini::namesMatch(otherKey, fileKey)) continue;
        FUZZ_REQUIRE(ini::findValue(before, otherSection, otherKey) == ini::findValue(after, otherSection, otherKey));
    }
    return 0;
}
