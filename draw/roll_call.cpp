#include "draw/roll_call.h"

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
    roster_ = std::move(roster);
    numberBytes_.clear();
    numberBytes_.reserve(roster_.size());
    for (const std::string& number : roster_.numbers)
        numberBytes_.push_back(fileByteLength(number));
    fillPool();
}

void RollCall::setSettleListener(SettleListener listener) {
    listener_ = std::move(listener);
}

void RollCall::fillPool() {
    pool_.clear();
    pool_.reserve(roster_.size());
    for (std::size_t i = 1; i <= roster_.size(); ++i)
        pool_.push_back(static_cast<std::int32_t>(i));
}

void RollCall::pressStartStop(RollCallView& view) {
    random_.seedRandom();
    if (roster_.numbers.empty()) {
        view.showMessage(kNoStudentsMessage);
        return;
    }
    if (!rolling_) {
        if (pool_.empty()) {
            if (view.showMessage(kRoundOverQuestion) != MessageAnswer::Yes) return;
            fillPool();
        }
        rolling_ = true;
        view.setTimerInterval(kRollIntervalMs);
        view.setCaption(kStopCaption);
        return;
    }
    rolling_ = false;
    view.setTimerInterval(0);
    if (lastPick_ >= 1 && static_cast<std::size_t>(lastPick_) <= pool_.size())
        pool_.erase(pool_.begin() + (lastPick_ - 1));
    if (listener_) listener_(view.numberText(), view.nameText());
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
    const auto position = static_cast<std::size_t>(pool_[static_cast<std::size_t>(pick - 1)]);
    view.setNumberText(roster_.numberAt(position));
    view.setNameText(roster_.nameAt(position));
    if (const auto points = numberFontSize(numberBytes_[position - 1])) view.setNumberFontSize(*points);
}

} // namespace tallyra
