#include "storage/roster.h"

#include "storage/class_list.h"
#include "storage/ini_file.h"
#include "storage/lists.h"
#include "storage/paths.h"
#include "storage/platform/file_system.h"

namespace tallyra {
namespace {

const std::string& itemAt(const std::vector<std::string>& list, std::size_t position) {
    static const std::string empty;
    return position >= 1 && position <= list.size() ? list[position - 1] : empty;
}

bool isSafeField(std::string_view field) { return field.find_first_of(",\r\n") == std::string_view::npos; }

// A class list edited by hand may name "../x" or "Config": such a name is never
// written or deleted, so no file outside the Data folder, nor the settings file, is touched.
bool isOwnRosterFile(std::string_view className) { return !checkClassName(className).has_value(); }

} // namespace

const std::string& ClassRoster::numberAt(std::size_t position) const { return itemAt(numbers, position); }
const std::string& ClassRoster::nameAt(std::size_t position) const { return itemAt(names, position); }

FilePath rosterFilePath(std::string_view className) {
    return dataFolderPath() / storedFileName(std::string(className) + ".conf");
}

ClassRoster readRoster(std::string_view className) {
    const auto file = rosterFilePath(className);
    return {splitList(readIniItem(file, kRosterSection, kNumberKey), ","),
            splitList(readIniItem(file, kRosterSection, kNameKey), ",")};
}

bool writeRoster(std::string_view className, const ClassRoster& roster) {
    const std::string numbers = joinList(roster.numbers);
    const std::string names = joinList(roster.names);
    if (!fitsIniValue(numbers) || !fitsIniValue(names) || !isOwnRosterFile(className)) return false;
    const auto file = rosterFilePath(className);
    const bool numbersWritten = writeIniItem(file, kRosterSection, kNumberKey, numbers);
    const bool namesWritten = writeIniItem(file, kRosterSection, kNameKey, names);
    return numbersWritten && namesWritten;
}

void createRosterFile(std::string_view className) {
    if (!isOwnRosterFile(className)) return;
    const auto file = rosterFilePath(className);
    writeIniItem(file, kRosterSection, kNameKey, "");
    writeIniItem(file, kRosterSection, kNumberKey, "");
}

void deleteRosterFile(std::string_view className) {
    if (isOwnRosterFile(className)) platform::deleteFile(rosterFilePath(className));
}

std::string formatRosterText(const ClassRoster& roster) {
    std::string text;
    for (std::size_t i = 1; i <= roster.size(); ++i) {
        text.append(roster.numberAt(i)).append("\t").append(roster.nameAt(i)).append("\r\n");
    }
    return text;
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
        if (fields.size() != 2 || !isSafeField(fields[0]) || !isSafeField(fields[1])) {
            result.refusal = kRosterRowInvalid;
            return result;
        }
        result.roster.numbers.push_back(fields[0]);
        result.roster.names.push_back(fields[1]);
    }
    if (!fitsIniValue(joinList(result.roster.numbers)) || !fitsIniValue(joinList(result.roster.names)))
        result.refusal = kRosterTooLong;
    return result;
}

} // namespace tallyra
