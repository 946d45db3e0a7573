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
    if (position == 0 || position > rollCall_.roster().size()) return false;
    lastSettled_ = 0;
    StudentMarks absent = rollCall_.absent();
    absent.resize(rollCall_.roster().size(), false);
    absent[position - 1] = true;
    if (!setAbsent(absent)) tellOnce(kAbsenceSaveFailed);
    rollCall_.giveBack(position);
    if (!keepRound()) tellOnce(kRoundSaveFailed);
    if (className_.empty()) return true;
    Pick pick{nowText(), className_, rollCall_.roster().numberAt(position), rollCall_.roster().nameAt(position)};
    pick.takenBack = true;
    const PickRecorder::Outcome recorded = record_.append(pick);
    if (recorded.firstWait) boxes_.showMessage(record_.waitingMessage(recorded));
    return true;
}

bool ClassSession::takeBackLastPick() {
    return round_.takeBackLastPick();
}

} // namespace tallyra
