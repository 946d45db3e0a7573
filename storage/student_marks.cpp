#include "storage/student_marks.h"

#include "storage/class_list.h"
#include "storage/file_names.h"
#include "storage/ini_file.h"
#include "storage/lists.h"
#include "storage/pick_record.h"
#include "storage/platform/calendar.h"
#include "storage/platform/file_system.h"
#include "storage/text_encoding.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <tuple>
#include <utility>

namespace tallyra {
namespace {

constexpr std::string_view kRoundSection = "Round";
constexpr std::string_view kAbsentSection = "Absent";
constexpr std::string_view kPlaceKey = "Place";
constexpr std::string_view kDateKey = "Date";
constexpr std::string_view kRoundExtension = ".round";
constexpr std::string_view kAbsentExtension = ".absent";
// A roster within the value limit never needs more parts than this.
constexpr int kMostParts = 16;

// One student as the marks name it, viewing the texts of a roster or of a marks list.
struct Student {
    std::string_view number, name;
    std::uint32_t place = 0;
    friend bool operator<(const Student& a, const Student& b) {
        return std::tie(a.number, a.name, a.place) < std::tie(b.number, b.name, b.place);
    }
};

std::optional<std::uint32_t> placeNumber(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
    return value;
}

// Each roster position as a student: its place counts the positions before it with
// the same number and name, from 1.
std::vector<Student> rosterStudents(const ClassRoster& roster) {
    std::vector<Student> students(roster.size());
    for (std::uint32_t i = 0; i < students.size(); ++i)
        students[i] = {roster.numberAt(i + 1), roster.nameAt(i + 1), i}; // place: the position, for now
    // Equal pairs side by side, each run in roster order.
    std::vector<Student> sorted = students;
    std::sort(sorted.begin(), sorted.end());
    std::uint32_t place = 0;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const bool samePair = i > 0 && sorted[i].number == sorted[i - 1].number && sorted[i].name == sorted[i - 1].name;
        place = samePair ? place + 1 : 1;
        students[sorted[i].place].place = place;
    }
    return students;
}

// The INI dialect drops blanks around a value and splitList an empty last piece:
// brackets and a closing "," keep an empty or blank first or last number whole.
std::string bracketList(const std::vector<std::string>& items, std::size_t first, std::size_t end) {
    if (first == end) return "[]";
    std::string text = "[";
    for (std::size_t i = first; i < end; ++i)
        text.append(items[i]).append(",");
    return text.append("]");
}

std::optional<std::vector<std::string>> unbracketList(std::string_view value) {
    if (value.size() < 2 || value.front() != '[' || value.back() != ']') return std::nullopt;
    value = value.substr(1, value.size() - 2);
    if (value.empty()) return std::vector<std::string>{};
    if (value.back() != ',') return std::nullopt;
    return splitList(value, ",");
}

// Beside the roster file and spelt as it is: a Data folder copied from Windows with
// "A班.conf" for the class a班 keeps "A班.round", and a missing marks file never
// costs a search of the folder.
std::string marksFileBase(const DataFolder& data, std::string_view className) {
    std::string path = data.rosterFile(className).utf8();
    path.resize(path.size() - std::string_view(".conf").size());
    return path;
}

FilePath marksFilePath(const DataFolder& data, std::string_view className, std::string_view extension) {
    return FilePath(marksFileBase(data, className).append(extension));
}

constexpr std::string_view kListKeys[] = {kNumberKey, kNameKey, kPlaceKey};

std::string partKey(std::string_view key, int part) {
    return std::string(key).append(std::to_string(part));
}

// The three lists of one item each, or of one part. A list may hold a single
// student bare (without brackets) where the brackets would not fit.
bool appendLists(const IniDocument& file, std::string_view section, int part, MarkedStudents& students) {
    std::vector<std::string>* lists[] = {&students.numbers, &students.names, &students.places};
    std::size_t count = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const IniDocument::Value value = file.value(section, part == 0 ? kListKeys[i] : partKey(kListKeys[i], part));
        if (value.cut) return false;
        std::optional<std::vector<std::string>> items = unbracketList(value.text);
        if (!items && !value.text.empty() && value.text.find(',') == std::string::npos)
            items = std::vector<std::string>{value.text}; // no roster item holds a ","
        if (!items || (i > 0 && items->size() != count)) return false;
        count = items->size();
        lists[i]->insert(lists[i]->end(), items->begin(), items->end());
    }
    return true;
}

// The students of a file's content, or nothing when it is not a set of marks this program wrote.
std::optional<MarkedStudents> studentsOf(const IniDocument& file, std::string_view section) {
    MarkedStudents students;
    if (!file.value(section, kNumberKey).text.empty()) {
        if (!appendLists(file, section, 0, students)) return std::nullopt;
    } else {
        int part = 1;
        for (; part <= kMostParts && !file.value(section, partKey(kNumberKey, part)).text.empty(); ++part)
            if (!appendLists(file, section, part, students)) return std::nullopt;
        if (part == 1 || part > kMostParts) return std::nullopt;
    }
    for (const std::string& place : students.places)
        if (!placeNumber(place)) return std::nullopt;
    return students;
}

MarksFile marksOf(const IniDocument& file, std::string_view section) {
    MarksFile result;
    result.state = file.state();
    if (result.state != ReadState::Read) return result;
    std::optional<MarkedStudents> students = studentsOf(file, section);
    if (!students) {
        // Through a symbolic link only a target that reads as a marks file counts: any
        // other file is left alone, as an unreadable one is.
        const bool linked = platform::linkStateOf(file.file()) != platform::LinkState::NotALink;
        result.state = linked ? ReadState::Failed : ReadState::Damaged;
        return result;
    }
    result.students = std::move(*students);
    result.date = file.value(section, kDateKey).text;
    return result;
}

MarksFile readMarksFile(const FilePath& file, std::string_view section) {
    return marksOf(IniDocument::read(file), section);
}

bool fitsLimit(std::string_view value) {
    return fileByteLength(value) <= kIniValueLimit;
}

// Rebuilds the file from the marks. Each list is one item when all three fit, the
// form every copy of the program reads; otherwise the students are cut into parts
// whose lists each fit, a student whose brackets alone would not fit standing bare.
MarksWrite setMarks(IniDocument& file, std::string_view section, const MarkedStudents& students,
                    std::string_view date) {
    file.clear();
    if (!date.empty() && !file.set(section, kDateKey, date)) return MarksWrite::Failed;
    const std::vector<std::string>* lists[] = {&students.numbers, &students.names, &students.places};
    const std::size_t count = students.numbers.size();
    if (students.names.size() != count || students.places.size() != count) return MarksWrite::Failed;
    std::vector<std::size_t> ends;              // one past each part's last student
    std::size_t start = 0, used[3] = {2, 2, 2}; // the brackets
    for (std::size_t next = 0; next < count; ++next) {
        std::size_t bytes[3];
        bool fits = true;
        for (std::size_t i = 0; i < 3; ++i) {
            bytes[i] = fileByteLength((*lists[i])[next]) + 1; // with its ","
            fits = fits && used[i] + bytes[i] <= kIniValueLimit;
        }
        if (!fits && next > start) {
            ends.push_back(start = next);
            used[0] = used[1] = used[2] = 2;
        }
        for (std::size_t i = 0; i < 3; ++i)
            used[i] += bytes[i];
    }
    ends.push_back(count);
    if (ends.size() > kMostParts) return MarksWrite::TooLong;
    start = 0;
    for (std::size_t part = 0; part < ends.size(); start = ends[part++]) {
        for (std::size_t i = 0; i < 3; ++i) {
            std::string value = bracketList(*lists[i], start, ends[part]);
            if (!fitsLimit(value) && ends[part] == start + 1) value = (*lists[i])[start];
            const std::string key =
                ends.size() == 1 ? std::string(kListKeys[i]) : partKey(kListKeys[i], static_cast<int>(part) + 1);
            if (!fitsLimit(value) || !file.set(section, key, value)) return MarksWrite::TooLong;
        }
    }
    // A bare student with blanks at its ends would read back as another.
    return studentsOf(file, section) == students ? MarksWrite::Written : MarksWrite::TooLong;
}

MarksWrite saveMarks(IniDocument& file, std::string_view section, const MarkedStudents& students,
                     std::string_view date) {
    const MarksWrite set = setMarks(file, section, students, date);
    if (set != MarksWrite::Written) return set;
    return file.save() ? MarksWrite::Written : MarksWrite::Failed;
}

std::string fileNameOf(const FilePath& file) {
    return file.utf8().substr(std::min(file.utf8().size(), file.parent().utf8().size() + 1));
}

bool moveMarksFile(const DataFolder& data, const std::string& fromBase, const std::string& toBase,
                   std::string_view extension) {
    const FilePath from(fromBase + std::string(extension));
    const FilePath to(toBase + std::string(extension));
    if (from == to) return true;
    const platform::FileRead read = platform::readFile(from);
    if (read.outcome == ReadState::Missing) return platform::deleteFile(to);
    if (read.outcome != ReadState::Read || !platform::replaceFileAtomically(to, read.bytes)) return false;
    // Where the file system ignores case (Windows, a share), "A班.round" and
    // "a班.round" are one file: the old spelling goes only when both are listed.
    if (sameFileName(fileNameOf(from), fileNameOf(to))) {
        const std::vector<std::string> names = platform::filesInFolder(data.path());
        const auto listed = [&](const FilePath& file) {
            return std::find(names.begin(), names.end(), fileNameOf(file)) != names.end();
        };
        if (!listed(from) || !listed(to)) return true;
    }
    return platform::deleteFile(from);
}

} // namespace

MarkedStudents markedStudents(const ClassRoster& roster, const StudentMarks& marks) {
    MarkedStudents marked;
    const std::vector<Student> students = rosterStudents(roster);
    for (std::size_t i = 0; i < students.size() && i < marks.size(); ++i) {
        if (!marks[i]) continue;
        marked.numbers.emplace_back(students[i].number);
        marked.names.emplace_back(students[i].name);
        marked.places.push_back(std::to_string(students[i].place));
    }
    return marked;
}

StudentMarks marksOnRoster(const ClassRoster& roster, const MarkedStudents& students) {
    std::vector<Student> wanted;
    for (std::size_t i = 0; i < students.numbers.size() && i < students.names.size() && i < students.places.size(); ++i)
        if (const auto place = placeNumber(students.places[i]))
            wanted.push_back({students.numbers[i], students.names[i], *place});
    std::sort(wanted.begin(), wanted.end());
    const std::vector<Student> onRoster = rosterStudents(roster);
    StudentMarks marks(onRoster.size(), false);
    for (std::size_t i = 0; i < onRoster.size(); ++i)
        marks[i] = std::binary_search(wanted.begin(), wanted.end(), onRoster[i]);
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

RoundUpdate updateRoundFile(const DataFolder& data, std::string_view className, const RoundChange& change) {
    RoundUpdate update;
    if (!isOwnRosterFileName(className) || !platform::isFolder(data.path())) return update;
    const platform::FolderLock lock(data.path());
    if (!lock.held()) return update;
    IniDocument file = IniDocument::read(roundFilePath(data, className));
    update.stored = marksOf(file, kRoundSection);
    if (update.stored.state == ReadState::Failed) {
        update.write = MarksWrite::NotRead;
        return update;
    }
    update.round = change(update.stored);
    update.write = saveMarks(file, kRoundSection, update.round, "");
    return update;
}

MarksWrite writeAbsenceFile(const DataFolder& data, std::string_view className, const MarkedStudents& absent,
                            std::string_view date) {
    if (!isOwnRosterFileName(className) || !platform::isFolder(data.path())) return MarksWrite::Failed;
    const platform::FolderLock lock(data.path());
    if (!lock.held()) return MarksWrite::Failed;
    IniDocument file = IniDocument::read(absenceFilePath(data, className));
    if (file.failed()) return MarksWrite::NotRead;
    return saveMarks(file, kAbsentSection, absent, date);
}

bool moveStudentMarks(const DataFolder& data, std::string_view oldName, std::string_view newName) {
    const std::string from = marksFileBase(data, oldName);
    const std::string to = marksFileBase(data, newName);
    const bool round = moveMarksFile(data, from, to, kRoundExtension);
    return moveMarksFile(data, from, to, kAbsentExtension) && round;
}

bool deleteStudentMarks(const DataFolder& data, std::string_view className) {
    const std::string base = marksFileBase(data, className);
    const bool round = platform::deleteFile(FilePath(base + std::string(kRoundExtension)));
    return platform::deleteFile(FilePath(base + std::string(kAbsentExtension))) && round;
}

std::string todayText() {
    return nowText().substr(0, std::string_view("YYYY-MM-DD").size());
}

} // namespace tallyra
