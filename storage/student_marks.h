// Marks on a class's students kept beside its roster: the students drawn in the
// current round (<class>.round) and those absent today (<class>.absent). Both are
// INI files in the file encoding, one per class, so a class name never has to be
// an INI key; older copies of the program never open them, and roster files are
// never touched.
//
// A student is stored as (number, name, place), place counting the students with
// that same number and name in the roster from 1, so that the marks follow a
// roster that changed in between: a student removed is gone, one added is unmarked.
#pragma once

#include "storage/file_path.h"
#include "storage/roster.h"

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
};

// The marked students of a roster, by number, name and place among equal pairs.
MarkedStudents markedStudents(const ClassRoster& roster, const StudentMarks& marks);
// The marks those students set on a roster; a student the roster no longer holds is dropped.
StudentMarks marksOnRoster(const ClassRoster& roster, const MarkedStudents& students);

enum class MarksFileState {
    Missing, // no file: nobody is marked
    Read,
    Damaged, // readable, but not a set of marks this program wrote
    Failed,  // there, but could not be read: never to be written over
};

struct MarksFile {
    MarksFileState state = MarksFileState::Missing;
    MarkedStudents students;
    std::string date; // absences only: the day they were marked, YYYY-MM-DD
};

FilePath roundFilePath(std::string_view className);
FilePath absenceFilePath(std::string_view className);

MarksFile readRoundFile(std::string_view className);
MarksFile readAbsenceFile(std::string_view className);
// Each replaces its file atomically under the Data folder's lock. False when
// nothing was written (a class name that is no file of its own, a list that would
// not read back whole, a failed write).
[[nodiscard]] bool writeRoundFile(std::string_view className, const MarkedStudents& drawn);
[[nodiscard]] bool writeAbsenceFile(std::string_view className, const MarkedStudents& absent, std::string_view date);

// A class renamed takes its marks along; a class deleted loses them. Neither
// touches the roster file. False when a file could not be moved or deleted.
[[nodiscard]] bool moveStudentMarks(std::string_view oldName, std::string_view newName);
[[nodiscard]] bool deleteStudentMarks(std::string_view className);

// Today's date as the marks store it, YYYY-MM-DD.
std::string todayText();

} // namespace tallyra
