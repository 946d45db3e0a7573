// Keeps the current class's round fair over the whole term: the students drawn in
// it and those absent today live in Data beside the roster (storage/student_marks)
// and come back at the next start; every settled pick is appended to the record.
// The round file is the round, shared with every other copy of the program on the
// Data folder: it is read again whenever a roll starts, and each pick is added to
// what it holds then. A failure to keep any of it is told once per start and never
// stops a draw; picks that could not be written wait in memory for the next write.
// The class session (draw/class_session) drives it.
#pragma once

#include "base/message_box.h"
#include "draw/roll_call.h"
#include "storage/pick_record.h"
#include "storage/student_marks.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

inline constexpr Message kRoundDamagedNotice{
    "抽取进度有误", "本轮的抽取进度文件已损坏，本轮将重新开始抽取。", kWarningOk};
inline constexpr Message kRoundSaveFailed{
    "保存失败",
    "本轮的抽取进度未能保存：无法写入 Data 文件夹中的文件。抽取照常进行，但关闭程序后本轮的进度不会保留。",
    kWarningOk};
inline constexpr Message kRoundTooLong{
    "保存失败", "本轮的抽取进度超出了文件能够完整保存的长度，未能保存。抽取照常进行，但关闭程序后本轮的进度不会保留。",
    kWarningOk};
inline constexpr Message kAbsenceSaveFailed{
    "保存失败", "缺席名单未能保存：无法写入 Data 文件夹中的文件。今天的缺席标记只在本次运行中有效。", kErrorOk};
inline constexpr Message kAbsenceTooLong{
    "保存失败", "缺席名单超出了文件能够完整保存的长度，未能保存。今天的缺席标记只在本次运行中有效。", kErrorOk};
inline constexpr Message kAbsenceDamagedNotice{
    "缺席名单有误", "缺席名单文件已损坏，今天暂无学生被标记为缺席，可在菜单中重新标记。", kWarningOk};
inline constexpr Message kNewRoundQuestion{"重新开始", "确实要开始新一轮抽取吗？本轮的抽取进度将被清除。",
                                           kQuestionYesNo | kSecondButtonDefault};

// "无法读取…": the round or absence file exists but could not be read; it is left alone.
std::string roundUnreadableText(std::string_view fileName);
std::string absenceUnreadableText(std::string_view fileName);
inline constexpr std::string_view kRoundUnreadableTitle = "无法读取";

// "剩余 12 / 45", with " · 缺席 2" when students are absent and " · 3 条记录待写入"
// while picks wait for the record; empty without students.
std::string roundCountText(const RollCall& rollCall, std::size_t waitingPicks = 0);

class RoundKeeper {
public:
    enum class Reason {
        StartUp, // the class current at start
        Chosen,  // the teacher chose the class
        Changed, // its roster was saved, or another class was added or deleted
    };

    // Appends the picks a former start left waiting for the record; the destructor
    // appends those of this one.
    RoundKeeper(RollCall& rollCall, MessageBoxes& boxes, DataFolder data);
    ~RoundKeeper();
    RoundKeeper(const RoundKeeper&) = delete;
    RoundKeeper& operator=(const RoundKeeper&) = delete;

    // Hands the class's roster to the roll call with its round and today's absences.
    // The same class again keeps its round in memory, following the new roster.
    void loadClass(std::string_view className, ClassRoster roster, Reason reason);
    // A class renamed keeps its picks not yet written; a class deleted loses them.
    // (The class operations themselves move and drop the files.)
    void classRenamed(std::string_view oldName, std::string_view newName);
    void classDeleted(std::string_view className);

    // Today's absent students of the current class; what to tell when they could not be kept.
    std::optional<Message> setAbsent(const StudentMarks& absent);

    // A pick settled: it is added to the round file, then appended to the record.
    // Returns what failed and has not been told yet, for the caller to tell after
    // both writes.
    std::vector<Message> keepPick(const SettledPick& pick);
    // A new round began: it replaces the round file's (a failure is told at once).
    void roundReset();
    // Reads the round file and hands its round to the roll call; with unsaved picks,
    // adds them to it first, under the folder's lock. Run when a roll starts.
    void syncRound();
    // Several students settled at once (positions; with newRound, those of oldRound
    // closed the round before it): one round write and one append of all their
    // picks; what failed and has not been told yet, as keepPick.
    std::vector<Message> keepSeveral(const std::vector<std::size_t>& positions, const std::vector<std::size_t>& oldRound,
                                     bool newRound, const std::vector<Pick>& picks);

    const std::string& className() const { return className_; }
    const PickRecorder& record() const { return record_; }

    // The roster position of the student the last single pick settled on; 0 when
    // there is none to take back (another draw, a new round, another class since).
    std::size_t lastSettled() const { return lastSettled_; }
    // The student of the last pick turned out to be absent: marked absent today,
    // not counted as drawn in the round, and the record notes the pick was taken
    // back. False when there was no pick to take back.
    bool takeBackLastPick();

private:
    // Picks and a new round this copy made that its class's round file does not hold yet.
    struct Unsaved {
        MarkedStudents picks;
        bool newRound = false; // the round file's round is over: the picks replace it
    };

    void roundChanged(std::size_t position, const std::string& time);
    // The student at a roster position, as the marks files name one.
    MarkedStudents studentAt(std::size_t position) const;
    void addUnsaved(Unsaved& unsaved, std::size_t position) const;
    StudentMarks readAbsences(const ClassRoster& roster);
    void tellOnce(const Message& message);
    // Shows the message, or holds it while a pick is kept.
    void tell(const Message& message);

    RollCall& rollCall_;
    MessageBoxes& boxes_;
    DataFolder data_;
    PickRecorder record_;
    std::string className_;
    std::map<std::string, Unsaved, std::less<>> unsaved_; // by class
    std::size_t lastSettled_ = 0;
    std::set<std::string, std::less<>> told_;
    std::vector<Message>* held_ = nullptr; // while a pick is kept: failures wait here
    std::set<std::string, std::less<>> cutTold_; // classes whose cut roster was told this start
};

} // namespace tallyra
