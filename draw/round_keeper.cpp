#include "draw/round_keeper.h"

#include "storage/pick_record.h"
#include "storage/settings.h"

namespace tallyra {

std::string roundUnreadableText(std::string_view fileName) {
    return "无法读取抽取进度文件“" + std::string(fileName) +
           "”，该文件保持原样。本次运行中本轮的进度只保存在内存中，关闭程序后不会保留。";
}

std::string roundCountText(const RollCall& rollCall, std::size_t waitingPicks) {
    const std::size_t total = rollCall.roster().size();
    if (total == 0) return {};
    std::string text =
        "剩余 " + std::to_string(rollCall.drawPool().size()) + " / " + std::to_string(total);
    if (const std::size_t absent = rollCall.absentCount()) text += " · 缺席 " + std::to_string(absent);
    if (waitingPicks != 0) text += " · " + std::to_string(waitingPicks) + " 条记录待写入";
    return text;
}

RoundKeeper::RoundKeeper(RollCall& rollCall, MessageBoxes& boxes, DataFolder data)
    : rollCall_(rollCall), boxes_(boxes), data_(std::move(data)), record_(data_) {
    (void)record_.writeWaiting(); // still waiting: the count line says so
}

RoundKeeper::~RoundKeeper() {
    (void)record_.writeWaiting();
}

bool RoundKeeper::firstTime(const Message& message) {
    return told_.insert(std::string(message.title).append(message.text)).second;
}

void RoundKeeper::tellOnce(const Message& message) {
    if (firstTime(message)) boxes_.showMessage(message);
}

void RoundKeeper::loadClass(std::string_view className, ClassRoster roster, Reason reason) {
    if (!className.empty() && !cutTold_.count(className)) {
        const StoredRoster stored = loadRoster(data_, className);
        if (stored.cut) {
            cutTold_.emplace(className);
            boxes_.showMessage(rosterCutMessage(className, stored.roster.size()));
        }
    }
    if (!loaded_ || className != className_) {
        if (loaded_ && inMemory_.count(className_)) inMemory_[className_] = drawn_;
        className_ = std::string(className);
        loaded_ = true;
        drawn_ = {};
        if (const auto kept = inMemory_.find(className_); kept != inMemory_.end()) {
            drawn_ = kept->second;
        } else if (!className_.empty()) {
            MarksFile round = readRoundFile(data_, className_);
            switch (round.state) {
            case MarksFileState::Missing:
                break;
            case MarksFileState::Read:
                drawn_ = std::move(round.students);
                break;
            case MarksFileState::Damaged:
                tellOnce(kRoundDamagedNotice);
                break;
            case MarksFileState::Failed: {
                inMemory_[className_] = {};
                const std::string text = roundUnreadableText(roundFilePath(data_, className_).utf8());
                tellOnce({kRoundUnreadableTitle, text, kWarningOk});
                break;
            }
            }
        }
    }
    const bool freshRound = reason != Reason::Changed && settings::newRoundEachStart(data_);
    StudentMarks absent;
    if (!className_.empty()) {
        const MarksFile absences = readAbsenceFile(data_, className_);
        if (absences.state == MarksFileState::Read && absences.date == todayText())
            absent = marksOnRoster(roster, absences.students);
    }
    StudentMarks drawn = freshRound ? StudentMarks() : marksOnRoster(roster, drawn_);
    rollCall_.loadRoster(std::move(roster), std::move(drawn), std::move(absent));
    lastSettled_ = 0;
    const bool hadDrawn = !drawn_.numbers.empty();
    drawn_ = markedStudents(rollCall_.roster(), rollCall_.drawn());
    if (freshRound && hadDrawn) roundReset();
}

void RoundKeeper::classRenamed(std::string_view oldName, std::string_view newName, bool filesKept) {
    if (const auto kept = inMemory_.find(oldName); kept != inMemory_.end()) {
        MarkedStudents round = std::move(kept->second);
        inMemory_.erase(kept);
        inMemory_[std::string(newName)] = std::move(round);
    } else if (!filesKept) {
        tellOnce(kRoundSaveFailed);
    }
    if (loaded_ && className_ == oldName) className_ = std::string(newName);
}

void RoundKeeper::classDeleted(std::string_view className, bool filesKept) {
    if (const auto kept = inMemory_.find(className); kept != inMemory_.end()) inMemory_.erase(kept);
    else if (!filesKept)
        tellOnce(kRoundSaveFailed);
    if (loaded_ && className_ == className) {
        loaded_ = false;
        className_.clear();
        drawn_ = {};
    }
}

bool RoundKeeper::setAbsent(const StudentMarks& absent) {
    rollCall_.setAbsent(absent);
    if (className_.empty()) return false;
    return writeAbsenceFile(data_, className_, markedStudents(rollCall_.roster(), rollCall_.absent()), todayText());
}

bool RoundKeeper::keepRound() {
    drawn_ = markedStudents(rollCall_.roster(), rollCall_.drawn());
    if (className_.empty()) return true;
    if (inMemory_.count(className_)) {
        inMemory_[className_] = drawn_;
        return true;
    }
    return writeRoundFile(data_, className_, drawn_);
}

void RoundKeeper::roundReset() {
    lastSettled_ = 0;
    if (!keepRound()) tellOnce(kRoundSaveFailed);
}

std::vector<Message> RoundKeeper::keepPick(const SettledPick& settled) {
    std::vector<Message> failed;
    if (settled.position == 0) return failed;
    lastSettled_ = settled.position;
    if (!keepRound() && firstTime(kRoundSaveFailed)) failed.push_back(kRoundSaveFailed);
    if (className_.empty()) return failed;
    const std::size_t position = settled.position;
    const Pick pick{settled.time, className_, rollCall_.roster().numberAt(position),
                    rollCall_.roster().nameAt(position)};
    const PickRecorder::Outcome recorded = record_.append(pick);
    if (recorded.firstWait) failed.push_back(record_.waitingMessage(recorded));
    return failed;
}

} // namespace tallyra
