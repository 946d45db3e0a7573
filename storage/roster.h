// Class rosters: one INI file per class in the Data folder, named after the class,
// and the two-column roster text (number, TAB, name, CR LF) that the class
// management window shows and takes back.
#pragma once

#include "base/message_box.h"
#include "storage/data_folder.h"
#include "storage/ini_file.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

inline constexpr std::string_view kRosterSection = "ClassData";
inline constexpr std::string_view kNumberKey = "Number";
inline constexpr std::string_view kNameKey = "Name";

// Two parallel lists paired by position. A number is text ("007" stays "007").
// Wherever the program walks a roster it takes the count from the numbers; a
// hand-edited file may hold fewer names, and such positions show an empty name.
struct ClassRoster {
    std::vector<std::string> numbers;
    std::vector<std::string> names;

    std::size_t size() const { return numbers.size(); }
    // position is 1-based; a position past either list gives empty text.
    const std::string& numberAt(std::size_t position) const;
    const std::string& nameAt(std::size_t position) const;

    friend bool operator==(const ClassRoster&, const ClassRoster&) = default;
};

// A roster file as read: its students, whether it could be read at all, and
// whether a list was longer than a read returns (then the roster is cut and must
// never be written back). A cut roster holds only the positions whose number and
// name were both read whole: the last item of a cut list may be shortened.
struct StoredRoster {
    ClassRoster roster;
    IniDocument::State state = IniDocument::State::Missing;
    bool cut = false;
};
StoredRoster loadRoster(const DataFolder& data, std::string_view className);
// "只读取了前 N 名学生": a cut roster is told once per class per start.
Message rosterCutMessage(std::string_view className, std::size_t studentsRead);
// The students only: a file that is missing or cannot be read gives an empty roster.
ClassRoster readRoster(const DataFolder& data, std::string_view className);

// The writes below take no lock: a caller that may meet another running copy
// holds the folder's lock around its whole operation (storage/classes does).

// Writes Number and Name in one replace of the file. False when nothing was
// written: a list that would not read back whole, a name that is no roster file
// of its own (isOwnRosterFileName), a file that could not be read, or a failed write.
[[nodiscard]] bool writeRoster(const DataFolder& data, std::string_view className, const ClassRoster& roster);

// Gives a new class its roster file, with Name and Number both empty. A file that
// already exists is adopted as it is, with the students it holds; one that cannot
// be read is left alone and gives false.
[[nodiscard]] bool createRosterFile(const DataFolder& data, std::string_view className);

// True when the file is gone afterwards (also when it was gone before). A name
// that is no roster file of its own deletes nothing and gives false.
[[nodiscard]] bool deleteRosterFile(const DataFolder& data, std::string_view className);

std::string formatRosterText(const ClassRoster& roster);

inline constexpr Message kRosterTextEmpty{"学号姓名数据为空", "学号姓名数据不能为空！", kErrorOk};
inline constexpr Message kRosterTextWithoutTab{"发现错误", "数据输入有误，请重试！", kErrorOk};
inline constexpr Message kRosterRowInvalid{"数据出错", "学号姓名数据有误！", kErrorOk};
// A short roster of rare characters whose GBK bytes also read as UTF-8 text would
// come back from its file as other characters.
inline constexpr Message kRosterWouldBeMisread{
    "无法保存", "这些学号姓名保存后会被误读成其他文字，无法按原样保存。请在同一班级中再加入几名学生后重试！", kErrorOk};
inline constexpr Message kRosterTooLong{
    "数据过多", "学号姓名数据过多，超出了一个班级可以保存的长度，请分成几个班级保存！", kErrorOk};

// A roster holding a character that the roster file cannot store: the refusal names it.
Message rosterTextUnstorable(std::string_view character);

// The first two checks of a roster text, run before a save touches anything:
// empty text, then text without any TAB.
std::optional<Message> checkRosterText(std::string_view text);

struct RosterParse {
    ClassRoster roster;
    std::optional<Message> refusal; // set when a row (or the whole roster) is refused
    // The text's line (0-based, CR LF ending a line) of the first row refused, so that
    // the teacher finds it among many; nothing when the roster as a whole is refused.
    std::optional<std::size_t> refusedLine;
};

// Rows end at CR LF; empty rows are skipped; every other row must be exactly
// number TAB name. A field holding "," (the list separator) or a lone CR or LF
// (which would break the file's line), a row whose name is empty, and a roster
// whose numbers would not read back whole (an empty or blank last number, a blank
// first one) are refused like a malformed row. A character the file encoding
// cannot store is refused by name.
RosterParse parseRosterText(std::string_view text);

} // namespace tallyra
