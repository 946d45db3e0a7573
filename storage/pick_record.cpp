#include "storage/pick_record.h"

#include "base/digits.h"
#include "storage/platform/append.h"
#include "storage/platform/calendar.h"
#include "storage/platform/file_system.h"

#include <algorithm>

namespace tallyra {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kHeaderLine = "时间,班级,学号,姓名\r\n";

// Spreadsheets run a cell that starts with one of these as a formula; a text that
// starts with apostrophes before one of them gets one more, so that taking one
// away on reading gives it back whole.
bool startsLikeFormula(std::string_view text) {
    while (!text.empty() && text.front() == '\'')
        text.remove_prefix(1);
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

std::vector<std::vector<std::string>> parseCsv(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, fieldStarted = false;
    const auto endField = [&] {
        row.push_back(std::move(field));
        field.clear();
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else
                quoted = false;
        } else if (c == '"' && !fieldStarted) {
            quoted = fieldStarted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (fieldStarted || !row.empty()) endField(), rows.push_back(std::move(row));
            row.clear();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !row.empty()) endField(), rows.push_back(std::move(row));
    return rows;
}

std::string unguarded(std::string field) {
    if (!field.empty() && field.front() == '\'' && startsLikeFormula(std::string_view(field).substr(1)))
        field.erase(0, 1);
    return field;
}

} // namespace

FilePath pickRecordPath(const DataFolder& data) {
    return data.path() / kPickRecordFileName;
}

std::string csvField(std::string_view text) {
    std::string field = startsLikeFormula(text) ? "'" : "";
    field.append(text);
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (const char c : field)
        quoted.append(c == '"' ? 2 : 1, c);
    return quoted + "\"";
}

std::string pickLine(const Pick& pick) {
    return csvField(pick.time) + "," + csvField(pick.className) + "," + csvField(pick.number) + "," +
           csvField(pick.name) + "\r\n";
}

namespace {

void takeBack(std::vector<Pick>& picks, const std::vector<std::string>& row) {
    const auto same = [&](const Pick& pick) {
        return pick.className == unguarded(row[1]) && pick.number == unguarded(row[2]) && pick.name == unguarded(row[3]);
    };
    if (const auto found = std::find_if(picks.rbegin(), picks.rend(), same); found != picks.rend())
        picks.erase(std::next(found).base());
}

} // namespace

std::vector<Pick> parsePickRecord(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    if (text.starts_with(kHeaderLine)) text.remove_prefix(kHeaderLine.size());
    std::vector<Pick> picks;
    for (std::vector<std::string>& row : parseCsv(text)) {
        if (row.size() >= 5 && row[4] == kTakenBackMark) {
            takeBack(picks, row);
            continue;
        }
        row.resize(4);
        picks.push_back({unguarded(std::move(row[0])), unguarded(std::move(row[1])), unguarded(std::move(row[2])),
                         unguarded(std::move(row[3]))});
    }
    return picks;
}

bool appendPick(const DataFolder& data, const Pick& pick) {
    if (!platform::isFolder(data.path())) return false;
    return platform::appendToFile(pickRecordPath(data), pickLine(pick),
                                  std::string(kByteOrderMark).append(kHeaderLine));
}

bool appendTakenBack(const DataFolder& data, const Pick& pick) {
    std::string line = pickLine(pick);
    line.insert(line.size() - 2, "," + std::string(kTakenBackMark));
    if (!platform::isFolder(data.path())) return false;
    return platform::appendToFile(pickRecordPath(data), line, std::string(kByteOrderMark).append(kHeaderLine));
}

bool appendPicks(const DataFolder& data, const std::vector<Pick>& picks) {
    std::string lines;
    for (const Pick& pick : picks)
        lines += pickLine(pick);
    if (lines.empty()) return true;
    if (!platform::isFolder(data.path())) return false;
    return platform::appendToFile(pickRecordPath(data), lines, std::string(kByteOrderMark).append(kHeaderLine));
}

bool pickRecordExists(const DataFolder& data) {
    return platform::isFile(pickRecordPath(data));
}

std::vector<Pick> readPickRecord(const DataFolder& data) {
    return parsePickRecord(platform::readFile(pickRecordPath(data)).bytes);
}

std::string nowText() {
    const platform::LocalTime now = platform::localTimeNow();
    return digits(now.year % 10000, 4) + "-" + digits(now.month % 100, 2) + "-" + digits(now.day % 100, 2) + " " +
           digits(now.hour % 100, 2) + ":" + digits(now.minute % 100, 2) + ":" + digits(now.second % 100, 2);
}

} // namespace tallyra
