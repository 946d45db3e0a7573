// A pick taken back: the student called turned out to be absent after all.
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
    drawn_ = markedStudents(rollCall_.roster(), rollCall_.drawn());
    if (className_.empty()) return true;
    if (inMemory_.count(className_))
        inMemory_[className_] = drawn_;
    else if (!writeRoundFile(data_, className_, drawn_))
        tellOnce(kRoundSaveFailed);
    const Pick pick{nowText(), className_, rollCall_.roster().numberAt(position), rollCall_.roster().nameAt(position)};
    if (!appendTakenBack(data_, pick)) tellOnce(kRecordAppendFailed);
    return true;
}

} // namespace tallyra
