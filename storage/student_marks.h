// Marks on a class's students kept beside its roster: the students drawn in the
// current round (<class>.round) and those absent today (<class>.absent). Both are
// INI files in the file encoding, one per class, so a class name never has to be
// an INI key; older copies of the program never open them, and roster files are
// never touched.
//
// A student is stored as (number, name, place), place counting the students with
// that same number and name in the roster from 1, so that the marks follow a
// roster that changed in between: a student removed is gone, one added is unmarked.
//
// Each list is one item ("Number=[1,2,]": the brackets and the closing "," keep
// an empty or blank first or last number whole). A list too long for one item is
// stored in parts instead (Number1, Name1, Place1, Number2, ...), each part
// holding the same students, so the marks always fit when the roster does.
#pragma once

#include "storage/data_folder.h"
#include "storage/file_path.h"
#include "storage/read_state.h"
#include "storage/roster.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

// One flag per roster position (index 0 is position 1).
using StudentMarks = std::vector<bool>;

struct MarkedStudents {
    std::vector<std::string> numbers;
    std::vector<std::string> names;
    std::vector<std::string> places;

    bool empty() const { return numbers.empty(); }
    friend bool operator==(const MarkedStudents&, const MarkedStudents&) = default;
};

// The marked students of a roster, in roster order, by number, name and place among equal pairs.
MarkedStudents markedStudents(const ClassRoster& roster, const StudentMarks& marks);
// The marks those students set on a roster; a student the roster no longer holds is dropped.
StudentMarks marksOnRoster(const ClassRoster& roster, const MarkedStudents& students);

struct MarksFile {
    ReadState state = ReadState::Missing; // Damaged: readable, but not a set of marks this program wrote
    MarkedStudents students;
    std::string date; // absences only: the day they were marked, YYYY-MM-DD
};

enum class MarksWrite {
    Written,
    TooLong, // would not read back whole within the value limit: nothing written
    NotRead, // the file is there but could not be read: never written over
    Failed,  // no file of its own for the class name, the lock, or the write failed
};

FilePath roundFilePath(const DataFolder& data, std::string_view className);
FilePath absenceFilePath(const DataFolder& data, std::string_view className);

// Plain reads: they take no lock (every write replaces the file atomically).
MarksFile readRoundFile(const DataFolder& data, std::string_view className);
MarksFile readAbsenceFile(const DataFolder& data, std::string_view className);

// The round file is the round, shared by every copy of the program on the Data
// folder. Under the folder's lock, taken once: reads the round file, gives change
// what it read, and replaces the file with the round change returns. A second copy
// can then never write its round between this read and this write. Nothing is
// written (and change is not called) when the file could not be read.
struct RoundUpdate {
    MarksWrite write = MarksWrite::Failed;
    MarksFile stored;     // the file as read under the lock
    MarkedStudents round; // what change returned
};
using RoundChange = std::function<MarkedStudents(const MarksFile& stored)>;
[[nodiscard]] RoundUpdate updateRoundFile(const DataFolder& data, std::string_view className,
                                          const RoundChange& change);

// Replaces the absence file under the folder's lock.
[[nodiscard]] MarksWrite writeAbsenceFile(const DataFolder& data, std::string_view className,
                                          const MarkedStudents& absent, std::string_view date);

// A class renamed takes its marks along; a class deleted or added loses them.
// Neither touches the roster file nor takes the lock: the class operation that
// calls them holds it. False when a file could not be moved or deleted.
[[nodiscard]] bool moveStudentMarks(const DataFolder& data, std::string_view oldName, std::string_view newName);
[[nodiscard]] bool deleteStudentMarks(const DataFolder& data, std::string_view className);

// Today's date as the marks store it, YYYY-MM-DD.
std::string todayText();

} // namespace tallyra
