#include "storage/student_marks.h"

#include "base/digits.h"
#include "storage/class_list.h"
#include "storage/ini_dialect.h"
#include "storage/ini_file.h"
#include "storage/lists.h"
#include "storage/platform/calendar.h"
#include "storage/platform/file_system.h"
#include "storage/text_encoding.h"

#include <charconv>
#include <map>
#include <optional>
#include <utility>

namespace tallyra {
namespace {

constexpr std::string_view kRoundSection = "Round";
constexpr std::string_view kAbsentSection = "Absent";
constexpr std::string_view kPlaceKey = "Place";
constexpr std::string_view kDateKey = "Date";
constexpr std::string_view kRoundExtension = ".round";
constexpr std::string_view kAbsentExtension = ".absent";

using Pair = std::pair<std::string, std::string>;

// The INI dialect drops blanks around a value and splitList an empty last piece:
// brackets and a closing "," keep an empty or blank first or last number whole.
std::string bracketList(const std::vector<std::string>& items) {
    return items.empty() ? "[]" : "[" + joinList(items) + ",]";
}

std::optional<std::vector<std::string>> unbracketList(std::string_view value) {
    if (value.size() < 2 || value.front() != '[' || value.back() != ']') return std::nullopt;
    value = value.substr(1, value.size() - 2);
    if (value.empty()) return std::vector<std::string>{};
    if (value.back() != ',') return std::nullopt;
    return splitList(value, ",");
}

std::optional<std::string> itemOf(std::string_view bytes, std::string_view section, std::string_view key) {
    const auto value = ini::findValue(bytes, encodeForFile(section), encodeForFile(key));
    if (!value) return std::nullopt;
    return decodeFromFile(*value);
}

// Beside the roster file and spelt as it is: a Data folder copied from Windows with
// "A班.conf" for the class a班 keeps "A班.round", and a missing marks file never
// costs a search of the folder.
FilePath marksFilePath(const DataFolder& data, std::string_view className, std::string_view extension) {
    std::string path = data.rosterFile(className).utf8();
    path.resize(path.size() - std::string_view(".conf").size());
    return FilePath(path.append(extension));
}

MarksFile parseMarksFile(std::string_view fileBytes, std::string_view section) {
    MarksFile result;
    const std::string bytes = normaliseFileBytes(fileBytes);
    result.state = MarksFileState::Damaged;
    const auto numbers = unbracketList(itemOf(bytes, section, kNumberKey).value_or(""));
    const auto names = unbracketList(itemOf(bytes, section, kNameKey).value_or(""));
    const auto places = unbracketList(itemOf(bytes, section, kPlaceKey).value_or(""));
    if (!numbers || !names || !places || numbers->size() != names->size() || names->size() != places->size())
        return result;
    for (const std::string& place : *places) {
        int value = 0;
        const auto [end, error] = std::from_chars(place.data(), place.data() + place.size(), value);
        if (error != std::errc() || end != place.data() + place.size() || value < 1) return result;
    }
    result.students = {std::move(*numbers), std::move(*names), std::move(*places)};
    result.date = itemOf(bytes, section, kDateKey).value_or("");
    result.state = MarksFileState::Read;
    return result;
}

// Through a symbolic link only a target that reads as a marks file counts: any
// other file is left alone, as an unreadable one is.
bool readsAsMarksFile(std::string_view fileBytes, std::string_view section) {
    return parseMarksFile(fileBytes, section).state == MarksFileState::Read;
}

MarksFile readMarksFile(const FilePath& file, std::string_view section) {
    MarksFile result;
    const platform::FileRead read = platform::readFile(file);
    if (read.outcome != platform::ReadOutcome::Read) {
        result.state = read.outcome == platform::ReadOutcome::Failed ? MarksFileState::Failed : MarksFileState::Missing;
        return result;
    }
    result = parseMarksFile(read.bytes, section);
    if (result.state == MarksFileState::Damaged && platform::linkStateOf(file) != platform::LinkState::NotALink)
        result.state = MarksFileState::Failed;
    return result;
}

bool writeMarksFile(const DataFolder& data, std::string_view className, std::string_view extension,
                    std::string_view section, const MarkedStudents& students, std::string_view date) {
    if (!isOwnRosterFileName(className)) return false;
    std::string bytes;
    const std::string fileSection = encodeForFile(section);
    const auto set = [&](std::string_view key, std::string_view value) {
        bytes = ini::withValue(bytes, fileSection, encodeForFile(key), encodeForFile(value));
        return fitsIniValue(value);
    };
    if (!date.empty() && !set(kDateKey, date)) return false;
    if (!set(kNumberKey, bracketList(students.numbers)) || !set(kNameKey, bracketList(students.names)) ||
        !set(kPlaceKey, bracketList(students.places)))
        return false;
    const FilePath& folder = data.path();
    if (!readsBackAsWritten(bytes) || !platform::isFolder(folder)) return false;
    platform::FolderLock lock(folder);
    if (!lock.held()) return false;
    return platform::replaceFileAtomically(marksFilePath(data, className, extension), bytes,
                                           [&](std::string_view old) { return readsAsMarksFile(old, section); });
}

bool moveMarksFile(const DataFolder& data, std::string_view oldName, std::string_view newName,
                   std::string_view extension) {
    const FilePath from = marksFilePath(data, oldName, extension);
    const FilePath to = marksFilePath(data, newName, extension);
    if (from == to) return true;
    const platform::FileRead read = platform::readFile(from);
    if (read.outcome == platform::ReadOutcome::Missing) return platform::deleteFile(to);
    return read.outcome == platform::ReadOutcome::Read && platform::replaceFileAtomically(to, read.bytes) &&
           platform::deleteFile(from);
}

} // namespace

MarkedStudents markedStudents(const ClassRoster& roster, const StudentMarks& marks) {
    MarkedStudents students;
    std::map<Pair, int> seen;
    for (std::size_t position = 1; position <= roster.size(); ++position) {
        const int place = ++seen[{roster.numberAt(position), roster.nameAt(position)}];
        if (position > marks.size() || !marks[position - 1]) continue;
        students.numbers.push_back(roster.numberAt(position));
        students.names.push_back(roster.nameAt(position));
        students.places.push_back(std::to_string(place));
    }
    return students;
}

StudentMarks marksOnRoster(const ClassRoster& roster, const MarkedStudents& students) {
    std::map<std::pair<Pair, std::string>, bool> wanted;
    for (std::size_t i = 0; i < students.numbers.size() && i < students.names.size() && i < students.places.size(); ++i)
        wanted[{{students.numbers[i], students.names[i]}, students.places[i]}] = true;
    StudentMarks marks(roster.size(), false);
    std::map<Pair, int> seen;
    for (std::size_t position = 1; position <= roster.size(); ++position) {
        Pair pair{roster.numberAt(position), roster.nameAt(position)};
        const int place = ++seen[pair];
        marks[position - 1] = wanted.count({std::move(pair), std::to_string(place)}) > 0;
    }
    return marks;
}

FilePath roundFilePath(const DataFolder& data, std::string_view className) {
    return marksFilePath(data, className, kRoundExtension);
}
FilePath absenceFilePath(const DataFolder& data, std::string_view className) {
    return marksFilePath(data, className, kAbsentExtension);
}

MarksFile readRoundFile(const DataFolder& data, std::string_view className) {
    return readMarksFile(roundFilePath(data, className), kRoundSection);
}
MarksFile readAbsenceFile(const DataFolder& data, std::string_view className) {
    return readMarksFile(absenceFilePath(data, className), kAbsentSection);
}

bool writeRoundFile(const DataFolder& data, std::string_view className, const MarkedStudents& drawn) {
    return writeMarksFile(data, className, kRoundExtension, kRoundSection, drawn, "");
}
bool writeAbsenceFile(const DataFolder& data, std::string_view className, const MarkedStudents& absent,
                      std::string_view date) {
    return writeMarksFile(data, className, kAbsentExtension, kAbsentSection, absent, date);
}

bool moveStudentMarks(const DataFolder& data, std::string_view oldName, std::string_view newName) {
    const bool round = moveMarksFile(data, oldName, newName, kRoundExtension);
    return moveMarksFile(data, oldName, newName, kAbsentExtension) && round;
}

bool deleteStudentMarks(const DataFolder& data, std::string_view className) {
    const bool round = platform::deleteFile(roundFilePath(data, className));
    return platform::deleteFile(absenceFilePath(data, className)) && round;
}

std::string todayText() {
    const platform::LocalTime now = platform::localTimeNow();
    return digits(now.year % 10000, 4) + "-" + digits(now.month % 100, 2) + "-" + digits(now.day % 100, 2);
}

} // namespace tallyra
