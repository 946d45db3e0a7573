// Keeps the current class's round fair over the whole term: the students drawn in
// it and those absent today live in Data beside the roster (storage/student_marks)
// and come back at the next start; every settled pick is appended to the record.
// A failure to keep any of it is told once per start and never stops a draw.
// The class session (draw/class_session) drives it; nothing else does.
#pragma once

#include "base/message_box.h"
#include "draw/roll_call.h"
#include "storage/pick_record.h"
#include "storage/student_marks.h"

#include <map>
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
inline constexpr Message kAbsenceSaveFailed{
    "保存失败", "缺席名单未能保存：无法写入 Data 文件夹中的文件。今天的缺席标记只在本次运行中有效。", kErrorOk};
inline constexpr Message kNewRoundQuestion{"重新开始", "确实要开始新一轮抽取吗？本轮的抽取进度将被清除。",
                                           kQuestionYesNo | kSecondButtonDefault};

// "无法读取…": the round file exists but could not be read; it is left alone.
std::string roundUnreadableText(std::string_view fileName);
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
    // A class renamed takes its round and absences with it; a class deleted loses
    // them. The files were moved or dropped by the class operation itself (filesKept:
    // it worked); a round that lives in memory follows here.
    void classRenamed(std::string_view oldName, std::string_view newName, bool filesKept);
    void classDeleted(std::string_view className, bool filesKept);

    // Today's absent students of the current class; false when they could not be kept.
    bool setAbsent(const StudentMarks& absent);

    // A pick settled: the round file is written, then the record appended. Returns
    // what failed and has not been told yet, for the caller to tell after both writes.
    std::vector<Message> keepPick(const SettledPick& pick);
    // A new round began: the round file is written (a failure is told at once).
    void roundReset();
    // Several students settled at once (RollCall::settleSeveral): one round write and
    // one append of all their picks; what failed and has not been told yet, as keepPick.
    std::vector<Message> keepSeveral(const std::vector<Pick>& picks);

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
    // False when the round could not be kept.
    bool keepRound();
    bool firstTime(const Message& message);
    void tellOnce(const Message& message);

    RollCall& rollCall_;
    MessageBoxes& boxes_;
    DataFolder data_;
    PickRecorder record_;
    std::string className_;
    bool loaded_ = false;
    std::size_t lastSettled_ = 0;
    MarkedStudents drawn_; // the current class's round, as stored
    // Classes whose round file could not be read: their rounds live here for this start.
    std::map<std::string, MarkedStudents, std::less<>> inMemory_;
    std::set<std::string, std::less<>> told_;
    std::set<std::string, std::less<>> cutTold_; // classes whose cut roster was told this start
};

} // namespace tallyra
