// Several students at once: every slot rolls a different present student, and Stop
// settles them all together. When fewer students are left in the round than there
// are slots, those left are certain to be in the draw and count in the old round;
// the other slots draw from a new round, less those students (or, when the teacher
// declines the new round, only the slots of those left are shown).
#pragma once

#include "draw/roll_call.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace tallyra {

class MultiDraw {
public:
    explicit MultiDraw(std::uint32_t seed) : engine_(seed) {}

    // Whether `wanted` slots need the round-end question first.
    static bool needsNewRoundQuestion(const RollCall& rollCall, std::size_t wanted);
    // Starts a draw of `wanted` slots (newRound: the answer to the question, if asked).
    // The number of slots it shows; 0 when there is nothing to draw.
    std::size_t start(const RollCall& rollCall, std::size_t wanted, bool newRound);
    // Distinct students for the slots while rolling (roster positions).
    std::vector<std::size_t> roll();
    // The students the slots settle on, in slot order.
    std::vector<std::size_t> settle();

    // Every student the slots may show in this draw.
    std::vector<std::size_t> pool() const;
    bool newRound() const { return newRound_; }
    // Those of the settled students that were the last of the old round.
    const std::vector<std::size_t>& certain() const { return certain_; }

private:
    std::vector<std::size_t> sample(std::vector<std::size_t> from, std::size_t count);

    std::minstd_rand engine_;
    std::vector<std::size_t> certain_;    // left in the old round: settled on for sure
    std::vector<std::size_t> candidates_; // the other slots draw from these
    std::size_t slots_ = 0;
    bool newRound_ = false;
};

} // namespace tallyra
