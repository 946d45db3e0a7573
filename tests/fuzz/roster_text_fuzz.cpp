// The roster text: an accepted text formats and parses back to the same rows,
// and written to its file and read back it is the same roster (less the blanks at
// the two ends of each list, which the INI dialect never keeps). Every row of an
// accepted text is a student: none is dropped.
#include "storage/roster.h"
#include "storage/text_encoding.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstdint>

namespace {

constexpr std::string_view kBlanks = " \t\v\f";

// The roster as its file keeps it: blanks go from the start of each list's first
// item and the end of its last, and a last name that was only blanks goes with them.
tallyra::ClassRoster asStored(tallyra::ClassRoster roster) {
    for (auto* list : {&roster.numbers, &roster.names}) {
        if (list->empty()) continue;
        std::string& first = list->front();
        first.erase(0, std::min(first.size(), first.find_first_not_of(kBlanks)));
        std::string& last = list->back();
        const std::size_t end = last.find_last_not_of(kBlanks);
        last.erase(end == std::string::npos ? 0 : end + 1);
        if (list->back().empty()) list->pop_back();
    }
    return roster;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyra;
    using namespace tallyra::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (checkRosterText(text)) return 0;
    const RosterParse parsed = parseRosterText(text);
    if (parsed.refusal) return 0;
    const ClassRoster& roster = parsed.roster;
    FUZZ_REQUIRE(roster.numbers.size() == roster.names.size());

    // Every row that is not empty became a student.
    std::size_t rows = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) ++rows;
        start = end + 2;
    }
    FUZZ_REQUIRE(roster.size() == rows);

    const RosterParse again = parseRosterText(formatRosterText(roster));
    FUZZ_REQUIRE(!again.refusal && again.roster == roster);

    // The roster box always holds UTF-8; other bytes never reach a save.
    if (!isValidUtf8(text)) return 0;
    scratch().clear();
    FUZZ_REQUIRE(writeRoster(fuzz::scratch().dataFolder(), "一班", roster));
    const ClassRoster read = readRoster(fuzz::scratch().dataFolder(), "一班");
    FUZZ_REQUIRE(read.size() == roster.size() && read.names.size() == roster.names.size()); // no name lost
    FUZZ_REQUIRE(read == asStored(roster));
    return 0;
}
