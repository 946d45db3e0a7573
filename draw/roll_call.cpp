#include "draw/roll_call.h"

#include "storage/pick_record.h"
#include "storage/text_encoding.h"

#include <array>

namespace tallyra {

std::optional<int> numberFontSize(std::size_t byteLength) {
    static constexpr std::array<int, 21> kSizes = {90, 90, 90, 90, 90, 90, 90, 80, 70, 60, 55,
                                                   50, 45, 42, 40, 37, 35, 33, 32, 30, 28};
    if (byteLength < kSizes.size()) return kSizes[byteLength];
    return std::nullopt;
}

RollCall::RollCall(RandomSource random) : random_(std::move(random)) {}

void RollCall::loadRoster(ClassRoster roster) {
    loadRoster(std::move(roster), {}, {});
}

void RollCall::loadRoster(ClassRoster roster, StudentMarks drawn, StudentMarks absent) {
    roster_ = std::move(roster);
    drawn_ = std::move(drawn);
    drawn_.resize(roster_.size(), false);
    absent_ = std::move(absent);
    absent_.resize(roster_.size(), false);
    numberBytes_.clear();
    numberBytes_.reserve(roster_.size());
    for (const std::string& number : roster_.numbers)
        numberBytes_.push_back(fileByteLength(number));
    fillPool();
}

void RollCall::setDrawn(StudentMarks drawn) {
    drawn_ = std::move(drawn);
    drawn_.resize(roster_.size(), false);
    fillPool();
}

void RollCall::setAbsent(StudentMarks absent) {
    absent_ = std::move(absent);
    absent_.resize(roster_.size(), false);
    fillPool();
}

void RollCall::startNewRound() {
    drawn_.assign(roster_.size(), false);
    fillPool();
    if (listener_) listener_->onRoundReset();
}

std::size_t RollCall::absentCount() const {
    std::size_t count = 0;
    for (const bool mark : absent_)
        count += mark ? 1 : 0;
    return count;
}

void RollCall::fillPool() {
    pool_.clear();
    pool_.reserve(roster_.size());
    for (std::size_t i = 1; i <= roster_.size(); ++i)
        if (!drawn_[i - 1] && !absent_[i - 1]) pool_.push_back(static_cast<std::int32_t>(i));
}

void RollCall::pressStartStop(RollCallView& view) {
    random_.seedRandom();
    if (roster_.numbers.empty()) {
        view.showMessage(kNoStudentsMessage);
        return;
    }
    if (!rolling_) {
        if (listener_) listener_->onRollStarting();
        if (pool_.empty()) {
            // Absent students are neither drawn nor waited for: when only they are
            // left, the round ends as if it were over.
            bool restAbsent = false;
            for (std::size_t i = 0; i < roster_.size(); ++i)
                restAbsent = restAbsent || (!drawn_[i] && absent_[i]);
            if (absentCount() == roster_.size()) {
                view.showMessage(kAllAbsentMessage);
                return;
            }
            if (view.showMessage(restAbsent ? kRestAbsentQuestion : kRoundOverQuestion) != MessageAnswer::Yes)
                return;
            startNewRound();
        }
        rolling_ = true;
        ticked_ = false;
        view.setTimerInterval(kRollIntervalMs);
        view.setCaption(kStopCaption);
        return;
    }
    // A Stop right after Start (two quick presses of the hot key) would otherwise settle on
    // the previous roll's place in the pool while the labels still show the previous pick.
    if (!ticked_ && !pool_.empty()) rollTick(view);
    rolling_ = false;
    view.setTimerInterval(0);
    std::size_t drawnPosition = 0;
    if (lastPick_ >= 1 && static_cast<std::size_t>(lastPick_) <= pool_.size()) {
        drawnPosition = static_cast<std::size_t>(pool_[static_cast<std::size_t>(lastPick_ - 1)]);
        drawn_[drawnPosition - 1] = true;
        pool_.erase(pool_.begin() + (lastPick_ - 1));
    }
    if (listener_)
        listener_->onSettled({view.numberText(), view.nameText(), drawnPosition, drawnPosition ? nowText() : ""});
    view.setCaption(kStartCaption);
}

void RollCall::rollTick(RollCallView& view) {
    if (pool_.empty()) {
        // The roster was replaced by an empty one while rolling: nothing can be shown.
        rolling_ = false;
        view.setTimerInterval(0);
        view.setCaption(kStartCaption);
        view.setNumberText("");
        view.setNameText("");
        return;
    }
    const std::int32_t pick = random_.randomInRange(1, static_cast<std::int32_t>(pool_.size()));
    lastPick_ = pick;
    ticked_ = true;
    const auto position = static_cast<std::size_t>(pool_[static_cast<std::size_t>(pick - 1)]);
    view.setNumberText(roster_.numberAt(position));
    view.setNameText(roster_.nameAt(position));
    if (const auto points = numberFontSize(numberBytes_[position - 1])) view.setNumberFontSize(*points);
}

} // namespace tallyra
