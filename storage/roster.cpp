#include "storage/roster.h"

#include "storage/class_list.h"
#include "storage/ini_file.h"
#include "storage/lists.h"
#include "storage/paths.h"
#include "storage/platform/file_system.h"
#include "storage/text_encoding.h"

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

FilePath rosterFilePath(std::string_view className) {
    return dataFolderPath() / storedFileName(std::string(className) + ".conf");
}

ClassRoster readRoster(std::string_view className) {
    const std::vector<std::string> lists =
        readIniItems(rosterFilePath(className), kRosterSection, {kNumberKey, kNameKey});
    return {splitList(lists[0], ","), splitList(lists[1], ",")};
}

bool writeRoster(std::string_view className, const ClassRoster& roster) {
    if (!isOwnRosterFileName(className)) return false;
    // Both lists in one replace: a crash between two writes would pair new numbers with old names.
    return writeIniItems(rosterFilePath(className), kRosterSection,
                         {{kNumberKey, joinList(roster.numbers)}, {kNameKey, joinList(roster.names)}});
}

bool createRosterFile(std::string_view className) {
    if (!isOwnRosterFileName(className)) return false;
    const auto file = rosterFilePath(className);
    // A file left from a lost settings file, a first-run reset or hand editing
    // holds a roster: the class adopts it instead of emptying it.
    if (platform::readFileBytes(file)) return true;
    return writeIniItems(file, kRosterSection, {{kNameKey, ""}, {kNumberKey, ""}});
}

bool deleteRosterFile(std::string_view className) {
    if (!isOwnRosterFileName(className)) return false;
    return platform::deleteFile(rosterFilePath(className));
}

std::string formatRosterText(const ClassRoster& roster) {
    std::string text;
    for (std::size_t i = 1; i <= roster.size(); ++i) {
        text.append(roster.numberAt(i)).append("\t").append(roster.nameAt(i)).append("\r\n");
    }
    return text;
}

Message rosterTextUnstorable(std::string_view character) {
    return {"无法保存",
            keptMessageText("学号姓名数据中的字符“" + std::string(character) + "”（" + characterCode(character) +
                            "）无法保存到数据文件中，请更换后重试！"),
            kErrorOk};
}

std::optional<Message> checkRosterText(std::string_view text) {
    if (text.empty()) return kRosterTextEmpty;
    if (text.find('\t') == std::string_view::npos) return kRosterTextWithoutTab;
    return std::nullopt;
}

RosterParse parseRosterText(std::string_view text) {
    RosterParse result;
    constexpr std::string_view kRowEnd = "\r\n";
    // Rows and fields are views into the text: only the accepted fields are copied.
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(kRowEnd, start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view row = text.substr(start, end - start);
        start = end + kRowEnd.size();
        if (row.empty()) continue;
        // Number TAB name; one TAB ending the row adds no field (as splitList drops an
        // empty last piece). An empty name is refused in every form: "1\t" has one
        // field, and "1\t\t" would be accepted once and then be refused as "1\t" at
        // its next save.
        const std::size_t tab = row.find('\t');
        const std::string_view number = row.substr(0, tab);
        std::string_view name = tab == std::string_view::npos ? std::string_view() : row.substr(tab + 1);
        if (name.ends_with('\t')) name.remove_suffix(1);
        if (tab == std::string_view::npos || name.find('\t') != std::string_view::npos || !isSafeField(number) ||
            !isSafeField(name) || name.empty()) {
            result.refusal = kRosterRowInvalid;
            return result;
        }
        result.roster.numbers.emplace_back(number);
        result.roster.names.emplace_back(name);
    }
    // The count of students comes from the numbers: they must all read back.
    if (!readsBackWhole(result.roster.numbers)) {
        result.refusal = kRosterRowInvalid;
        return result;
    }
    if (const auto character = unstorableCharacter(text)) {
        result.refusal = rosterTextUnstorable(*character);
        return result;
    }
    if (!fitsIniValue(joinList(result.roster.numbers)) || !fitsIniValue(joinList(result.roster.names)))
        result.refusal = kRosterTooLong;
    return result;
}

} // namespace tallyra
