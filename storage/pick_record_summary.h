// What the record window shows for a class: its picks of the day in order, then
// every student of the roster with how often they have been called, fewest first.
// The record is counted while it is read, so only today's lines and one count per
// student are kept, however many years of picks it holds.
#pragma once

#include "storage/pick_record.h"
#include "storage/roster.h"

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace tallyra {

// The picks of one class, counted as they come.
class ClassTally {
public:
    ClassTally(std::string_view className, std::string_view date) : className_(className), date_(date) {}
    void add(const Pick& pick);
    // The summary text for the class's roster.
    std::string summary(const ClassRoster& roster) const;

private:
    std::string className_, date_;
    std::string today_;
    std::map<std::pair<std::string, std::string>, int> counts_;
};

// The summary of these picks for a class on a day (date YYYY-MM-DD).
std::string recordSummary(std::span<const Pick> picks, std::string_view className, const ClassRoster& roster,
                          std::string_view date);

// The record window's text: the summary of the record and the picks still waiting
// for it, or, when the record cannot be read whole, that it could not and why.
std::string recordWindowText(const DataFolder& data, std::span<const Pick> waiting, std::string_view className,
                             const ClassRoster& roster, std::string_view date);

} // namespace tallyra
