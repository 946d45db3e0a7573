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

std::string absenceUnreadableText(std::string_view fileName) {
    return "无法读取缺席名单文件“" + std::string(fileName) + "”，该文件保持原样。今天的缺席标记暂不生效。";
}

RoundKeeper::RoundKeeper(RollCall& rollCall, MessageBoxes& boxes, DataFolder data)
    : rollCall_(rollCall), boxes_(boxes), data_(std::move(data)), record_(data_) {
    (void)record_.writeWaiting(); // still waiting: the count line says so
}

RoundKeeper::~RoundKeeper() {
    (void)record_.writeWaiting();
}

void RoundKeeper::tellOnce(const Message& message) {
    if (told_.insert(std::string(message.title).append(message.text)).second) tell(message);
}

void RoundKeeper::tell(const Message& message) {
    if (held_) held_->push_back(message);
    else boxes_.showMessage(message);
}

StudentMarks RoundKeeper::readAbsences(const ClassRoster& roster) {
    if (className_.empty()) return {};
    const MarksFile absences = readAbsenceFile(data_, className_);
    if (absences.state == ReadState::Damaged) tellOnce(kAbsenceDamagedNotice);
    if (absences.state == ReadState::Failed) {
        const std::string text = absenceUnreadableText(absenceFilePath(data_, className_).utf8());
        tellOnce({kRoundUnreadableTitle, text, kWarningOk});
    }
    if (absences.state != ReadState::Read || absences.date != todayText()) return {};
    return marksOnRoster(roster, absences.students);
}

void RoundKeeper::loadClass(std::string_view className, ClassRoster roster, Reason reason) {
    if (!className.empty() && !cutTold_.count(className)) {
        const StoredRoster stored = loadRoster(data_, className);
        if (stored.cut) {
            cutTold_.emplace(className);
            boxes_.showMessage(rosterCutMessage(className, stored.roster.size()));
        }
    }
    className_ = std::string(className);
    StudentMarks absent = readAbsences(roster);
    // Until the round file reads, the round is what this copy drew since it last could.
    const auto unsaved = unsaved_.find(className_);
    StudentMarks drawn = unsaved == unsaved_.end() ? StudentMarks() : marksOnRoster(roster, unsaved->second.picks);
    rollCall_.loadRoster(std::move(roster), std::move(drawn), std::move(absent));
    lastSettled_ = 0;
    if (className_.empty()) return;
    if (reason != Reason::Changed && settings::newRoundEachStart(data_) &&
        !readRoundFile(data_, className_).students.empty())
        unsaved_[className_] = {{}, true};
    syncRound();
}

void RoundKeeper::syncRound() {
    if (className_.empty()) return;
    const ClassRoster& roster = rollCall_.roster();
    const auto unsaved = unsaved_.find(className_);
    RoundUpdate update;
    if (unsaved == unsaved_.end()) {
        update.stored = readRoundFile(data_, className_);
        update.round = update.stored.students;
        update.write = MarksWrite::Written; // nothing to add
    } else {
        update = updateRoundFile(data_, className_, [&](const MarksFile& file) {
            StudentMarks marks = unsaved->second.newRound || file.state != ReadState::Read
                                     ? StudentMarks(roster.size(), false)
                                     : marksOnRoster(roster, file.students);
            const StudentMarks picks = marksOnRoster(roster, unsaved->second.picks);
            for (std::size_t i = 0; i < marks.size(); ++i)
                marks[i] = marks[i] || picks[i];
            return markedStudents(roster, marks);
        });
    }
    if (update.stored.state == ReadState::Damaged) tellOnce(kRoundDamagedNotice); // the round begins afresh
    if (update.write == MarksWrite::NotRead || update.stored.state == ReadState::Failed) {
        tellOnce({kRoundUnreadableTitle, roundUnreadableText(roundFilePath(data_, className_).utf8()), kWarningOk});
        return; // the round in memory goes on
    }
    if (update.write != MarksWrite::Written) {
        tellOnce(update.write == MarksWrite::TooLong ? kRoundTooLong : kRoundSaveFailed);
        return;
    }
    if (unsaved != unsaved_.end()) unsaved_.erase(unsaved);
    rollCall_.setDrawn(marksOnRoster(roster, update.round));
}

void RoundKeeper::classRenamed(std::string_view oldName, std::string_view newName) {
    if (const auto unsaved = unsaved_.find(oldName); unsaved != unsaved_.end()) {
        Unsaved kept = std::move(unsaved->second);
        unsaved_.erase(unsaved);
        unsaved_[std::string(newName)] = std::move(kept);
    }
    if (className_ == oldName) className_ = std::string(newName);
}

void RoundKeeper::classDeleted(std::string_view className) {
    if (const auto unsaved = unsaved_.find(className); unsaved != unsaved_.end()) unsaved_.erase(unsaved);
    if (className_ == className) className_.clear();
}

std::optional<Message> RoundKeeper::setAbsent(const StudentMarks& absent) {
    rollCall_.setAbsent(absent);
    if (className_.empty()) return kAbsenceSaveFailed;
    switch (writeAbsenceFile(data_, className_, markedStudents(rollCall_.roster(), rollCall_.absent()), todayText())) {
    case MarksWrite::Written:
        return std::nullopt;
    case MarksWrite::TooLong:
        return kAbsenceTooLong;
    default:
        return kAbsenceSaveFailed;
    }
}

std::vector<Message> RoundKeeper::keepPick(const SettledPick& pick) {
    std::vector<Message> failed;
    if (pick.position == 0) return failed; // nobody left the pool: nothing to keep
    lastSettled_ = pick.position;
    held_ = &failed;
    roundChanged(pick.position, pick.time);
    held_ = nullptr;
    return failed;
}

void RoundKeeper::roundReset() {
    lastSettled_ = 0;
    roundChanged(0, {});
}

MarkedStudents RoundKeeper::studentAt(std::size_t position) const {
    StudentMarks pick(rollCall_.roster().size(), false);
    pick[position - 1] = true;
    return markedStudents(rollCall_.roster(), pick);
}

void RoundKeeper::addUnsaved(Unsaved& unsaved, std::size_t position) const {
    const MarkedStudents student = studentAt(position);
    unsaved.picks.numbers.push_back(student.numbers.front());
    unsaved.picks.names.push_back(student.names.front());
    unsaved.picks.places.push_back(student.places.front());
}

void RoundKeeper::roundChanged(std::size_t position, const std::string& time) {
    if (className_.empty()) return;
    Unsaved& unsaved = unsaved_[className_];
    if (position == 0)
        unsaved = {{}, true};
    else
        addUnsaved(unsaved, position);
    syncRound();
    if (position == 0) return;
    const Pick pick{time, className_, rollCall_.roster().numberAt(position), rollCall_.roster().nameAt(position)};
    const PickRecorder::Outcome recorded = record_.append(pick);
    if (recorded.firstWait) tell(record_.waitingMessage(recorded));
}

} // namespace tallyra
