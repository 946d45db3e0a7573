// splitList and joinList: the pieces joined with the delimiter give the text back
// (less one delimiter at the end), no piece holds the delimiter, and a list of
// items without "," joins and splits back to itself.
#include "storage/lists.h"
#include "tests/fuzz/fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyra;
    FuzzedDataProvider provider(data, size);
    const std::string delimiter = provider.ConsumeRandomLengthString(4);
    const std::string text = provider.ConsumeRandomLengthString(1024);

    const std::vector<std::string> pieces = splitList(text, delimiter);
    if (!delimiter.empty()) {
        std::string joined;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i > 0) joined += delimiter;
            joined += pieces[i];
            FUZZ_REQUIRE(pieces[i].find(delimiter) == std::string::npos);
        }
        FUZZ_REQUIRE(joined == text || joined + delimiter == text);
    }

    std::vector<std::string> items;
    while (provider.remaining_bytes() > 0) {
        std::string item = provider.ConsumeRandomLengthString(16);
        std::erase(item, ',');
        items.push_back(std::move(item));
    }
    const std::vector<std::string> back = splitList(joinList(items), ",");
    // An empty last item leaves no trace in the text: it is the only one lost.
    std::vector<std::string> expected = items;
    if (!expected.empty() && expected.back().empty()) expected.pop_back();
    FUZZ_REQUIRE(back == expected);
    return 0;
}
