// A pick taken back: the student called turned out to be absent after all.
#include "draw/class_session.h"
#include "draw/round_keeper.h"
#include "storage/pick_record.h"

namespace tallyra {

void RollCall::giveBack(std::size_t position) {
    if (position < 1 || position > drawn_.size()) return;
    drawn_[position - 1] = false;
    fillPool();
}

bool RoundKeeper::takeBackLastPick() {
    const std::size_t position = lastSettled_;
    const ClassRoster& roster = rollCall_.roster();
    if (position == 0 || position > roster.size()) return false;
    lastSettled_ = 0;
    StudentMarks absent = rollCall_.absent();
    absent.resize(roster.size(), false);
    absent[position - 1] = true;
    if (const std::optional<Message> failed = setAbsent(absent)) tellOnce(*failed);
    rollCall_.giveBack(position);
    if (className_.empty()) return true;
    // The pick leaves the round file too (another copy then draws the student again),
    // and the picks this copy could not write yet.
    const MarkedStudents student = studentAt(position);
    if (const auto unsaved = unsaved_.find(className_); unsaved != unsaved_.end()) {
        MarkedStudents& picks = unsaved->second.picks;
        for (std::size_t i = picks.numbers.size(); i-- > 0;)
            if (picks.numbers[i] == student.numbers.front() && picks.names[i] == student.names.front() &&
                picks.places[i] == student.places.front()) {
                picks.numbers.erase(picks.numbers.begin() + static_cast<std::ptrdiff_t>(i));
                picks.names.erase(picks.names.begin() + static_cast<std::ptrdiff_t>(i));
                picks.places.erase(picks.places.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
    } else {
        const RoundUpdate update = updateRoundFile(data_, className_, [&](const MarksFile& file) {
            StudentMarks marks = file.state == ReadState::Read ? marksOnRoster(roster, file.students)
                                                               : StudentMarks(roster.size(), false);
            marks.resize(roster.size(), false);
            marks[position - 1] = false;
            return markedStudents(roster, marks);
        });
        if (update.write == MarksWrite::Written)
            rollCall_.setDrawn(marksOnRoster(roster, update.round));
        else
            tellOnce(update.write == MarksWrite::TooLong ? kRoundTooLong : kRoundSaveFailed);
    }
    Pick pick{nowText(), className_, roster.numberAt(position), roster.nameAt(position)};
    pick.takenBack = true;
    const PickRecorder::Outcome recorded = record_.append(pick);
    if (recorded.firstWait) boxes_.showMessage(record_.waitingMessage(recorded));
    return true;
}

bool ClassSession::takeBackLastPick() {
    return round_.takeBackLastPick();
}

} // namespace tallyra
