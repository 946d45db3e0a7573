// The record of picks: one line per settled pick (date and time, class, number,
// name) appended to Data/点名记录.csv. Unlike the program's other files it is
// UTF-8 with a byte-order mark, so that a double click opens it correctly in a
// spreadsheet; no older copy of the program reads it. A field a spreadsheet would
// run as a formula is written with a leading apostrophe.
//
// A pick never drops out of the record: a line that cannot be appended (the file
// open in a spreadsheet that shares nothing, a dangling link) waits, in memory and
// in Data/点名记录.csv.waiting, and is appended in order before the next line.
#pragma once

#include "base/message_box.h"
#include "storage/data_folder.h"
#include "storage/file_path.h"
#include "storage/platform/file_system.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

inline constexpr std::string_view kPickRecordFileName = "点名记录.csv";
// Lines waiting for the record, in the record's own form (no byte-order mark, no
// header). No class's file: those end in .conf, .round or .absent.
inline constexpr std::string_view kWaitingPicksFileName = "点名记录.csv.waiting";

inline constexpr std::string_view kTakenBackMark = "缺席";

struct Pick {
    std::string time; // YYYY-MM-DD hh:mm:ss, the PC's local time
    std::string className;
    std::string number;
    std::string name;
    // A line of its own that takes the pick back (the student turned out to be absent):
    // the pick's fields and a fifth, kTakenBackMark. The pick's own line stays.
    bool takenBack = false;
    friend bool operator==(const Pick&, const Pick&) = default;
};

FilePath pickRecordPath(const DataFolder& data);
FilePath waitingPicksPath(const DataFolder& data);

// One CSV field: quoted when it holds a comma, a quote or a line break, and
// guarded with a leading apostrophe when it starts like a formula.
std::string csvField(std::string_view text);
// The line of a pick, ending in CR LF.
std::string pickLine(const Pick& pick);
// The picks of a record's text (with or without its byte-order mark and header),
// every field as it was given to pickLine. A line taken back removes the latest
// pick of that student of that class before it, and is no pick itself.
std::vector<Pick> parsePickRecord(std::string_view text);

// Reads the record as a stream, handing each pick to `take` in order: memory stays
// flat however large the record has grown. Failed (with the reason) also when the
// read stopped part-way; the caller then drops what it took.
platform::StreamRead readPickRecord(const DataFolder& data, const std::function<void(const Pick&)>& take);
bool pickRecordExists(const DataFolder& data);

// Why the record could not be read or written, for the teacher ("它正被其他程序占用…").
std::string fileProblemText(platform::FileProblem problem);

// Appends picks to the record, keeping every line that cannot be appended yet.
// Waiting lines are appended first, in order, under the folder lock, and only then
// removed from the waiting file: a crash in between may write a line twice, never
// lose one. A second copy of the program finding the waiting file appends its
// lines the same way.
class PickRecorder {
public:
    explicit PickRecorder(DataFolder data) : data_(std::move(data)) {}

    struct Outcome {
        bool written = true; // the line (and every line waiting before it) is in the record
        platform::FileProblem problem = platform::FileProblem::None;
        bool onDisk = true;     // when not written: the line waits in the waiting file, not only in memory
        bool firstWait = false; // the first line of this start that had to wait: tell the teacher once
    };
    Outcome append(const Pick& pick);
    // Several lines in one append, in order.
    Outcome append(const std::vector<Pick>& picks);
    // Appends the lines still waiting (at start and when the program closes).
    Outcome writeWaiting();

    // How many picks wait for the record, as far as this copy knows.
    std::size_t waitingCount() const { return waitingCount_; }
    // The waiting picks, from the waiting file and memory, in order.
    std::vector<Pick> waitingPicks() const;

    // "点名记录未能写入…", naming the record and why.
    Message waitingMessage(const Outcome& outcome) const;

private:
    Outcome settle(std::string line, platform::FileProblem problem);

    DataFolder data_;
    std::string inMemory_; // lines the waiting file could not take, after its own
    std::size_t inMemoryCount_ = 0;
    std::size_t waitingCount_ = 0;
    bool told_ = false;
};

// The PC's local date and time as the record stores it.
std::string nowText();

} // namespace tallyra
