#include "storage/roster.h"

#include "storage/class_list.h"
#include "storage/ini_dialect.h"
#include "storage/ini_file.h"
#include "storage/lists.h"
#include "storage/platform/file_system.h"
#include "storage/text_encoding.h"

#include <algorithm>

namespace tallyra {
namespace {

const std::string& itemAt(const std::vector<std::string>& list, std::size_t position) {
    static const std::string empty;
    return position >= 1 && position <= list.size() ? list[position - 1] : empty;
}

bool isSafeField(std::string_view field) {
    return field.find_first_of(",\r\n") == std::string_view::npos;
}

// The INI dialect drops blanks around a value, and splitList drops an empty piece
// after the last ",": a list whose last item is empty or only blanks would read
// back with one item fewer.
bool readsBackWhole(const std::vector<std::string>& list) {
    return list.empty() || list.back().find_first_not_of(" \t\v\f") != std::string::npos;
}

} // namespace

const std::string& ClassRoster::numberAt(std::size_t position) const {
    return itemAt(numbers, position);
}
const std::string& ClassRoster::nameAt(std::size_t position) const {
    return itemAt(names, position);
}

namespace {

// The items of a list read whole: a value cut at the limit may end in a shortened item.
std::size_t wholeItems(const IniDocument::Value& value, std::size_t items) {
    return !value.cut || value.text.ends_with(',') || items == 0 ? items : items - 1;
}

} // namespace

StoredRoster loadRoster(const DataFolder& data, std::string_view className) {
    if (hasControlCharacter(className)) return {}; // never a path: a NUL would name another file
    const IniDocument file = IniDocument::read(data.rosterFile(className));
    const IniDocument::Value numbers = file.value(kRosterSection, kNumberKey);
    const IniDocument::Value names = file.value(kRosterSection, kNameKey);
    StoredRoster stored{
        {splitList(numbers.text, ","), splitList(names.text, ",")}, file.state(), numbers.cut || names.cut};
    if (stored.cut) {
        ClassRoster& roster = stored.roster;
        const std::size_t whole =
            std::min(wholeItems(numbers, roster.numbers.size()), wholeItems(names, roster.names.size()));
        roster.numbers.resize(whole);
        roster.names.resize(whole);
    }
    return stored;
}

Message rosterCutMessage(std::string_view className, std::size_t studentsRead) {
    const std::string count = std::to_string(studentsRead);
    return Message::owning("数据过多", "班级“" + std::string(className) + "”的学号姓名数据超出了可以读取的长度，只读取了前 " +
                            count + " 名学生，本次只在这 " + count + " 名学生中抽取。请将这个班级分成几个班级保存！", kWarningOk);
}

ClassRoster readRoster(const DataFolder& data, std::string_view className) {
    return loadRoster(data, className).roster;
}

bool writeRoster(const DataFolder& data, std::string_view className, const ClassRoster& roster) {
    if (!isOwnRosterFileName(className)) return false;
    IniDocument file = IniDocument::read(data.rosterFile(className));
    // Both lists in one replace: a crash between two writes would pair new numbers with old names.
    return file.set(kRosterSection, kNumberKey, joinList(roster.numbers)) &&
           file.set(kRosterSection, kNameKey, joinList(roster.names)) && file.save();
}

bool createRosterFile(const DataFolder& data, std::string_view className) {
    if (!isOwnRosterFileName(className)) return false;
    IniDocument file = IniDocument::read(data.rosterFile(className));
    // A file left from a lost settings file, a first-run reset or hand editing
    // holds a roster: the class adopts it instead of emptying it.
    if (file.state() == IniDocument::State::Read) return true;
    return file.set(kRosterSection, kNameKey, "") && file.set(kRosterSection, kNumberKey, "") && file.save();
}

bool deleteRosterFile(const DataFolder& data, std::string_view className) {
    if (!isOwnRosterFileName(className)) return false;
    return platform::deleteFile(data.rosterFile(className));
}

std::string formatRosterText(const ClassRoster& roster) {
    std::string text;
    for (std::size_t i = 1; i <= roster.size(); ++i) {
        text.append(roster.numberAt(i)).append("\t").append(roster.nameAt(i)).append("\r\n");
    }
    return text;
}

Message rosterTextUnstorable(std::string_view character) {
    return Message::owning("无法保存",
                           "学号姓名数据中的字符“" + std::string(character) + "”（" + characterCode(character) +
                               "）无法保存到数据文件中，请更换后重试！",
                           kErrorOk);
}

std::optional<Message> checkRosterText(std::string_view text) {
    if (text.empty()) return kRosterTextEmpty;
    if (text.find('\t') == std::string_view::npos) return kRosterTextWithoutTab;
    return std::nullopt;
}

namespace {

std::size_t lineAt(std::string_view text, std::size_t offset) {
    std::size_t line = 0;
    for (std::size_t at = text.find("\r\n"); at < offset; at = text.find("\r\n", at + 2))
        ++line;
    return line;
}

} // namespace

RosterParse parseRosterText(std::string_view text) {
    RosterParse result;
    std::size_t lastRow = 0;
    // Rows are looked at in place: a pasted text of millions of empty rows costs no copy per row.
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view row = text.substr(start, end - start);
        start = end + 2;
        if (row.empty()) continue;
        lastRow = static_cast<std::size_t>(row.data() - text.data());
        const std::size_t tab = row.find('\t');
        const std::string_view number = row.substr(0, tab);
        std::string_view name = tab == std::string_view::npos ? std::string_view() : row.substr(tab + 1);
        // A TAB that ends the row is an empty last column (a spreadsheet's): it is dropped.
        if (name.ends_with('\t')) name.remove_suffix(1);
        // An empty name is refused in every form: "1\t" has one field, and "1\t\t"
        // would be accepted once and then be refused as "1\t" at its next save.
        if (tab == std::string_view::npos || name.find('\t') != std::string_view::npos || name.empty() ||
            !isSafeField(number) || !isSafeField(name)) {
            result.refusal = kRosterRowInvalid;
            result.refusedLine = lineAt(text, lastRow);
            return result;
        }
        result.roster.numbers.emplace_back(number);
        result.roster.names.emplace_back(name);
    }
    // The count of students comes from the numbers: they must all read back; and
    // a last name of blanks would read back as no name.
    if (!readsBackWhole(result.roster.numbers) || !readsBackWhole(result.roster.names)) {
        result.refusal = kRosterRowInvalid;
        result.refusedLine = lineAt(text, lastRow);
        return result;
    }
    if (const auto character = unstorableCharacter(text)) {
        result.refusal = rosterTextUnstorable(*character);
        result.refusedLine = lineAt(text, text.find(*character));
        return result;
    }
    const std::string numbers = joinList(result.roster.numbers);
    const std::string names = joinList(result.roster.names);
    if (!fitsIniValue(numbers) || !fitsIniValue(names)) {
        result.refusal = kRosterTooLong;
        return result;
    }
    // The roster's own file as a save writes it, judged as the next read will judge it.
    const std::string section = encodeForFile(kRosterSection);
    const std::string file = ini::withValue(ini::withValue({}, section, encodeForFile(kNumberKey), encodeForFile(numbers)),
                                            section, encodeForFile(kNameKey), encodeForFile(names));
    if (!readsBackAsWritten(file)) result.refusal = kRosterWouldBeMisread;
    return result;
}

} // namespace tallyra
