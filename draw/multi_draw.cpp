#include "draw/multi_draw.h"

#include "draw/class_session.h"
#include "draw/round_keeper.h"
#include "storage/pick_record.h"

#include <algorithm>

namespace tallyra {

bool MultiDraw::needsNewRoundQuestion(const RollCall& rollCall, std::size_t wanted) {
    return rollCall.drawPool().size() < wanted;
}

std::size_t MultiDraw::start(const RollCall& rollCall, std::size_t wanted, bool newRound) {
    const std::vector<std::int32_t>& pool = rollCall.drawPool();
    certain_.clear();
    candidates_.assign(pool.begin(), pool.end());
    newRound_ = false;
    slots_ = wanted;
    if (pool.size() < wanted) {
        certain_ = std::move(candidates_);
        candidates_.clear();
        newRound_ = newRound;
        if (newRound) {
            // The new round, less the students who close the old one.
            for (std::size_t position = 1; position <= rollCall.roster().size(); ++position)
                if (!rollCall.absent()[position - 1] &&
                    std::find(certain_.begin(), certain_.end(), position) == certain_.end())
                    candidates_.push_back(position);
        }
        slots_ = std::min(wanted, certain_.size() + candidates_.size());
    }
    return slots_;
}

std::vector<std::size_t> MultiDraw::sample(std::vector<std::size_t> from, std::size_t count) {
    count = std::min(count, from.size());
    for (std::size_t i = 0; i < count; ++i)
        std::swap(from[i], from[i + std::uniform_int_distribution<std::size_t>(0, from.size() - 1 - i)(engine_)]);
    from.resize(count);
    return from;
}

std::vector<std::size_t> MultiDraw::pool() const {
    std::vector<std::size_t> all = certain_;
    all.insert(all.end(), candidates_.begin(), candidates_.end());
    return all;
}

std::vector<std::size_t> MultiDraw::roll() {
    return sample(pool(), slots_);
}

std::vector<std::size_t> MultiDraw::settle() {
    std::vector<std::size_t> settled = certain_;
    const std::vector<std::size_t> others = sample(candidates_, slots_ - std::min(slots_, certain_.size()));
    settled.insert(settled.end(), others.begin(), others.end());
    settled.resize(std::min(settled.size(), slots_));
    std::shuffle(settled.begin(), settled.end(), engine_);
    return settled;
}

void RollCall::settleSeveral(const std::vector<std::size_t>& positions, const std::vector<std::size_t>& oldRound,
                             bool newRound) {
    if (newRound) drawn_.assign(roster_.size(), false);
    for (const std::size_t position : positions) {
        const bool closedOldRound = std::find(oldRound.begin(), oldRound.end(), position) != oldRound.end();
        if (position >= 1 && position <= roster_.size() && !(newRound && closedOldRound)) drawn_[position - 1] = true;
    }
    fillPool();
}

std::vector<Message> RoundKeeper::keepSeveral(const std::vector<std::size_t>& positions,
                                              const std::vector<std::size_t>& oldRound, bool newRound,
                                              const std::vector<Pick>& picks) {
    std::vector<Message> failed;
    lastSettled_ = 0; // a draw of several is not taken back
    if (className_.empty() || picks.empty()) return failed;
    // The students who closed the old round count in it; a new round then holds only the others.
    Unsaved& unsaved = unsaved_[className_];
    if (newRound) unsaved = {{}, true};
    for (const std::size_t position : positions)
        if (!(newRound && std::find(oldRound.begin(), oldRound.end(), position) != oldRound.end()))
            addUnsaved(unsaved, position);
    held_ = &failed;
    syncRound();
    held_ = nullptr;
    const PickRecorder::Outcome recorded = record_.append(picks);
    if (recorded.firstWait) failed.push_back(record_.waitingMessage(recorded));
    return failed;
}

void ClassSession::settleSeveral(const std::vector<std::size_t>& positions, const std::vector<std::size_t>& oldRound,
                                 bool newRound) {
    rollCall_.settleSeveral(positions, oldRound, newRound);
    // As a single pick: the voice first, then the writes, then what failed.
    const std::string now = nowText();
    std::vector<Pick> picks;
    std::optional<Message> notSpoken;
    for (const std::size_t position : positions) {
        const SettledPick pick{rollCall_.roster().numberAt(position), rollCall_.roster().nameAt(position), position,
                               now};
        if (announcer_ && !notSpoken)
            notSpoken = announcer_(pick);
        else if (announcer_)
            announcer_(pick);
        picks.push_back({now, className(), pick.number, pick.name});
    }
    for (const Message& failure : round_.keepSeveral(positions, oldRound, newRound, picks))
        boxes_.showMessage(failure);
    if (notSpoken) boxes_.showMessage(*notSpoken);
}

} // namespace tallyra
