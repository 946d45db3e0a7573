// A roster from any file: never a crash, and whatever is brought in without a
// listed row is a roster text the class management window takes as it is, row for row.
#include "storage/roster_import.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyra;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RosterImport imported = importRoster("名单.csv", bytes);
    if (imported.refusal || !imported.problems.empty()) return 0;
    FUZZ_REQUIRE(imported.roster.numbers.size() == imported.roster.names.size());
    const RosterParse parsed = parseRosterText(formatRosterText(imported.roster));
    // Left to 保存: a character the file encoding cannot store, and refusals of the
    // roster as a whole (too long, or rare characters it would be misread as).
    if (parsed.refusal && (!parsed.refusedLine || parsed.refusal->title == rosterTextUnstorable("?").title)) return 0;
    FUZZ_REQUIRE(!parsed.refusal);
    FUZZ_REQUIRE(parsed.roster == imported.roster);
    return 0;
}
