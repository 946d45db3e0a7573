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
    const std::vector<std::string> lists = readIniItems(rosterFilePath(className), kRosterSection, {kNumberKey, kNameKey});
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
    for (const std::string& row : splitList(text, "\r\n")) {
        if (row.empty()) continue;
        const std::vector<std::string> fields = splitList(row, "\t");
        // An empty name is refused in every form: "1\t" has one field, and "1\t\t"
        // would be accepted once and then be refused as "1\t" at its next save.
        if (fields.size() != 2 || !isSafeField(fields[0]) || !isSafeField(fields[1]) || fields[1].empty()) {
            result.refusal = kRosterRowInvalid;
            return result;
        }
        result.roster.numbers.push_back(fields[0]);
        result.roster.names.push_back(fields[1]);
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
