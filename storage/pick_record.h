// The record of picks: one line per settled pick (date and time, class, number,
// name) appended to Data/点名记录.csv. Unlike the program's other files it is
// UTF-8 with a byte-order mark, so that a double click opens it correctly in a
// spreadsheet; no older copy of the program reads it. A field a spreadsheet would
// run as a formula is written with a leading apostrophe.
#pragma once

#include "storage/data_folder.h"
#include "storage/file_path.h"

#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

inline constexpr std::string_view kPickRecordFileName = "点名记录.csv";

struct Pick {
    std::string time; // YYYY-MM-DD hh:mm:ss, the PC's local time
    std::string className;
    std::string number;
    std::string name;
    friend bool operator==(const Pick&, const Pick&) = default;
};

FilePath pickRecordPath(const DataFolder& data);

// One CSV field: quoted when it holds a comma, a quote or a line break, and
// guarded with a leading apostrophe when it starts like a formula.
std::string csvField(std::string_view text);
// The line of a pick, ending in CR LF.
std::string pickLine(const Pick& pick);
// The picks of a record's text (with or without its byte-order mark and header),
// every field as it was given to pickLine. A line taken back removes the latest
// pick of that student of that class before it, and is no pick itself.
std::vector<Pick> parsePickRecord(std::string_view text);

// Appends the pick; a new file starts with the byte-order mark and a header line.
// Earlier lines are never rewritten. False when the append failed.
[[nodiscard]] bool appendPick(const DataFolder& data, const Pick& pick);
// Appends the line that takes a pick back (the student turned out to be absent): the
// pick's four fields and a fifth, kTakenBackMark. The pick's own line stays.
inline constexpr std::string_view kTakenBackMark = "缺席";
[[nodiscard]] bool appendTakenBack(const DataFolder& data, const Pick& pick);
// Appends several picks in one write, in order.
[[nodiscard]] bool appendPicks(const DataFolder& data, const std::vector<Pick>& picks);
bool pickRecordExists(const DataFolder& data);
// Every pick recorded so far; empty when there is no record or it cannot be read.
std::vector<Pick> readPickRecord(const DataFolder& data);

// The PC's local date and time as the record stores it.
std::string nowText();

} // namespace tallyra
