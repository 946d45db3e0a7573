#include "storage/roster_import.h"

#include "storage/platform/file_system.h"
#include "storage/text_encoding.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <span>

namespace tallyra {
namespace {

constexpr std::array<std::string_view, 4> kSeparators{"\t", ",", "\xEF\xBC\x8C" /* ， */, ";"};
constexpr std::array<std::string_view, 3> kNumberHeaders{"学号", "编号", "序号"};
constexpr std::array<std::string_view, 2> kNameHeaders{"姓名", "名字"};

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b); });
}

// A spreadsheet's own format: by its name, or by its first bytes (a zip archive, a
// compound document) when a teacher renamed it.
bool isSpreadsheetFile(std::string_view fileName, std::string_view bytes) {
    return endsWithNoCase(fileName, ".xlsx") || endsWithNoCase(fileName, ".xls") || bytes.starts_with("PK\x03\x04") ||
           bytes.starts_with("\xD0\xCF\x11\xE0");
}

// Blanks a spreadsheet or a hand leaves around a cell: spaces, the full-width
// space, the no-break space.
std::string_view trimmed(std::string_view text) {
    const auto blankAt = [&](std::size_t pos) -> std::size_t {
        if (text.substr(pos).starts_with(" ")) return 1;
        if (text.substr(pos).starts_with("\xE3\x80\x80") || text.substr(pos).starts_with("\xC2\xA0"))
            return text[pos] == '\xE3' ? 3 : 2;
        return 0;
    };
    for (std::size_t n; !text.empty() && (n = blankAt(0)) > 0;)
        text.remove_prefix(n);
    while (!text.empty()) {
        if (text.ends_with(" "))
            text.remove_suffix(1);
        else if (text.ends_with("\xE3\x80\x80"))
            text.remove_suffix(3);
        else if (text.ends_with("\xC2\xA0"))
            text.remove_suffix(2);
        else
            break;
    }
    return text;
}

struct Cells {
    std::vector<std::string> cells;
    bool unclosedQuote = false;
};

// One line's cells as a spreadsheet writes them: a cell in double quotes may hold
// the separator, and "" stands for one quote inside it.
Cells splitCells(std::string_view line, std::string_view separator) {
    Cells result;
    std::size_t pos = 0;
    while (true) {
        std::string cell;
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        if (pos < line.size() && line[pos] == '"') {
            ++pos;
            bool closed = false;
            while (pos < line.size()) {
                if (line[pos] == '"' && pos + 1 < line.size() && line[pos + 1] == '"') {
                    cell += '"';
                    pos += 2;
                } else if (line[pos] == '"') {
                    ++pos;
                    closed = true;
                    break;
                } else {
                    cell += line[pos++];
                }
            }
            result.unclosedQuote = result.unclosedQuote || !closed;
        }
        const std::size_t end = separator.empty() ? std::string_view::npos : line.find(separator, pos);
        cell += line.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        result.cells.emplace_back(trimmed(cell));
        if (end == std::string_view::npos) break;
        pos = end + separator.size();
    }
    return result;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The separator most lines hold (the first of the list on a tie); none for one column.
std::string_view chooseSeparator(const std::vector<std::string_view>& lines) {
    std::string_view best;
    std::size_t bestCount = 0;
    for (std::string_view separator : kSeparators) {
        const auto count = static_cast<std::size_t>(std::count_if(
            lines.begin(), lines.end(), [&](std::string_view line) { return line.find(separator) != line.npos; }));
        if (count > bestCount) best = separator, bestCount = count;
    }
    return best;
}

std::optional<std::size_t> columnOf(const std::vector<std::string>& cells, std::span<const std::string_view> titles) {
    // The first title of the list wins: 学号 over a running 序号.
    for (std::string_view title : titles)
        if (const auto found = std::find(cells.begin(), cells.end(), title); found != cells.end())
            return static_cast<std::size_t>(found - cells.begin());
    return std::nullopt;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// 2.02301E+11: what a spreadsheet shows for a long number, and writes so to CSV.
bool isScientific(std::string_view text) {
    const std::size_t e = text.find_first_of("Ee");
    if (e == text.npos || e == 0) return false;
    std::string_view mantissa = text.substr(0, e), exponent = text.substr(e + 1);
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.remove_prefix(1);
    const std::size_t dot = mantissa.find('.');
    return allDigits(mantissa.substr(0, dot)) && (dot == mantissa.npos || allDigits(mantissa.substr(dot + 1))) &&
           allDigits(exponent);
}

struct Row {
    std::size_t line;
    std::string number, name;
};

// A column whose numbers keep their leading zeros ("007") shows that a shorter
// number of digits alone ("7") lost its zeros in a spreadsheet.
void listLostZeros(const std::vector<Row>& rows, std::vector<ImportProblem>& problems) {
    std::size_t padded = 0;
    for (const Row& row : rows)
        if (allDigits(row.number) && row.number.size() > 1 && row.number[0] == '0')
            padded = std::max(padded, row.number.size());
    for (const Row& row : rows)
        if (padded > 0 && allDigits(row.number) && row.number.size() < padded)
            problems.push_back({row.line, "学号“" + row.number + "”缺少开头的 0（表格把它当成了数字）"});
}

// The checks the roster itself makes on a row, said for the file's line.
std::optional<std::string> rowProblem(const Row& row, bool numbered) {
    // Blanks alone (a vertical tab or form feed left in a cell too) read back as nothing.
    const auto blank = [](const std::string& text) { return text.find_first_not_of(" \t\v\f") == text.npos; };
    if (numbered && blank(row.number)) return "学号为空";
    if (blank(row.name)) return "姓名为空";
    if (isScientific(row.number)) return "学号“" + row.number + "”被表格改成了科学计数法，请把学号列设为文本后重新保存";
    const auto holds = [&](std::string_view what) {
        return row.number.find(what) != row.number.npos || row.name.find(what) != row.name.npos;
    };
    if (holds(",")) return std::string("含有半角逗号");
    if (holds("\t")) return std::string("含有制表符");
    if (holds("\r")) return std::string("含有换行符");
    return std::nullopt;
}

RosterImport refused(const Message& refusal) {
    RosterImport result;
    result.refusal = refusal;
    return result;
}

} // namespace

RosterImport importRoster(std::string_view fileName, std::string_view bytes) {
    if (isSpreadsheetFile(fileName, bytes)) return refused(kImportSpreadsheetRefused);
    RosterImport result;
    const std::string text = decodeFromFile(normaliseFileBytes(bytes));
    const std::vector<std::string_view> lines = splitLines(text);
    const std::string_view separator = chooseSeparator(lines);

    std::optional<std::size_t> numberColumn = separator.empty() ? std::nullopt : std::optional<std::size_t>(0);
    std::size_t nameColumn = separator.empty() ? 0 : 1;
    bool headerSeen = false;
    std::vector<Row> rows;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Cells cells = splitCells(lines[i], separator);
        if (std::all_of(cells.cells.begin(), cells.cells.end(), [](const std::string& c) { return c.empty(); }))
            continue;
        if (!headerSeen) {
            headerSeen = true;
            const std::optional<std::size_t> names = columnOf(cells.cells, kNameHeaders);
            if (names) {
                nameColumn = *names;
                numberColumn = columnOf(cells.cells, kNumberHeaders);
                continue;
            }
        }
        if (cells.unclosedQuote) {
            result.problems.push_back({i + 1, "引号不成对"});
            continue;
        }
        const auto cell = [&](std::size_t column) {
            return column < cells.cells.size() ? cells.cells[column] : std::string();
        };
        Row row{i + 1, numberColumn ? cell(*numberColumn) : std::string(), cell(nameColumn)};
        if (const std::optional<std::string> problem = rowProblem(row, numberColumn.has_value()))
            result.problems.push_back({row.line, *problem});
        else
            rows.push_back(std::move(row));
    }
    if (numberColumn) {
        // Both lists are in line order, and a line is in one of them at most.
        std::vector<ImportProblem> lostZeros, problems;
        listLostZeros(rows, lostZeros);
        std::merge(std::make_move_iterator(result.problems.begin()), std::make_move_iterator(result.problems.end()),
                   std::make_move_iterator(lostZeros.begin()), std::make_move_iterator(lostZeros.end()),
                   std::back_inserter(problems),
                   [](const ImportProblem& a, const ImportProblem& b) { return a.line < b.line; });
        result.problems = std::move(problems);
    } else {
        // Names alone are numbered in order, as wide as the count needs (001 for 100 or more).
        const std::size_t width = std::max<std::size_t>(2, std::to_string(rows.size()).size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::string number = std::to_string(i + 1);
            rows[i].number = std::string(width - number.size(), '0') + number;
        }
    }
    for (Row& row : rows) {
        result.roster.numbers.push_back(std::move(row.number));
        result.roster.names.push_back(std::move(row.name));
    }
    if (result.roster.size() == 0 && result.problems.empty()) result.refusal = kImportNoStudents;
    return result;
}

RosterImport importRosterFile(const FilePath& file) {
    if (isSpreadsheetFile(file.utf8(), {})) return refused(kImportSpreadsheetRefused);
    const platform::FileRead read = platform::readFile(file);
    if (read.outcome != platform::ReadOutcome::Read) return refused(kImportFileUnreadable);
    return importRoster(file.utf8(), read.bytes);
}

Message importProblemsMessage(const std::vector<ImportProblem>& problems) {
    constexpr std::size_t kShown = 12;
    std::string text = "文件中以下几行无法读取，没有导入任何学生。请在文件中改正后重新导入：\r\n";
    for (std::size_t i = 0; i < problems.size() && i < kShown; ++i)
        text += "第 " + std::to_string(problems[i].line) + " 行：" + problems[i].reason + "\r\n";
    if (problems.size() > kShown) text += "……共 " + std::to_string(problems.size()) + " 行";
    return Message::owning(kImportProblemsTitle, text, kErrorOk);
}

std::string classNameFromFile(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash != path.npos) path.remove_prefix(slash + 1);
    const std::size_t dot = path.rfind('.');
    if (dot != path.npos && dot > 0) path = path.substr(0, dot);
    return std::string(path);
}

} // namespace tallyra
