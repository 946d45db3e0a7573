#include "draw/round_keeper.h"

#include "storage/pick_record.h"
#include "storage/settings.h"

namespace tallyra {

std::string roundUnreadableText(std::string_view fileName) {
    return "无法读取抽取进度文件“" + std::string(fileName) +
           "”，该文件保持原样。本次运行中本轮的进度只保存在内存中，关闭程序后不会保留。";
}

std::string roundCountText(const RollCall& rollCall) {
    const std::size_t total = rollCall.roster().size();
    if (total == 0) return {};
    std::string text =
        "剩余 " + std::to_string(rollCall.drawPool().size()) + " / " + std::to_string(total);
    if (const std::size_t absent = rollCall.absentCount()) text += " · 缺席 " + std::to_string(absent);
    return text;
}

RoundKeeper::RoundKeeper(RollCall& rollCall, MessageBoxes& boxes, DataFolder data)
    : rollCall_(rollCall), boxes_(boxes), data_(std::move(data)) {
    rollCall_.setRoundListener([this](std::size_t position) { roundChanged(position); });
}

void RoundKeeper::tellOnce(const Message& message) {
    if (told_.insert(std::string(message.title).append(message.text)).second) boxes_.showMessage(message);
}

void RoundKeeper::loadClass(std::string_view className, ClassRoster roster, Reason reason) {
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
    if (freshRound && hadDrawn) roundChanged(0);
}

void RoundKeeper::classRenamed(std::string_view oldName, std::string_view newName) {
    if (const auto kept = inMemory_.find(oldName); kept != inMemory_.end()) {
        MarkedStudents round = std::move(kept->second);
        inMemory_.erase(kept);
        inMemory_[std::string(newName)] = std::move(round);
    } else if (!moveStudentMarks(data_, oldName, newName)) {
        tellOnce(kRoundSaveFailed);
    }
    if (loaded_ && className_ == oldName) className_ = std::string(newName);
}

void RoundKeeper::classDeleted(std::string_view className) {
    if (const auto kept = inMemory_.find(className); kept != inMemory_.end()) inMemory_.erase(kept);
    else if (!deleteStudentMarks(data_, className)) tellOnce(kRoundSaveFailed);
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

void RoundKeeper::startNewRound() {
    rollCall_.startNewRound();
}

void RoundKeeper::roundChanged(std::size_t position) {
    lastSettled_ = position;
    drawn_ = markedStudents(rollCall_.roster(), rollCall_.drawn());
    if (className_.empty()) return;
    if (inMemory_.count(className_)) {
        inMemory_[className_] = drawn_;
    } else if (!writeRoundFile(data_, className_, drawn_)) {
        tellOnce(kRoundSaveFailed);
    }
    if (position == 0) return;
    const Pick pick{nowText(), className_, rollCall_.roster().numberAt(position), rollCall_.roster().nameAt(position)};
    if (!appendPick(data_, pick)) tellOnce(kRecordAppendFailed);
}

} // namespace tallyra
