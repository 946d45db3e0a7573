// Who is left in the current round, for the record window: the students drawn in it
// and those still to be drawn, in roster order, the absent ones marked; a teacher
// shows the class that everyone gets a turn.
#pragma once

#include "draw/roll_call.h"

#include <string>

namespace tallyra::ui {

inline constexpr std::string_view kRoundSummaryHeading = "本轮抽取情况";

std::string roundSummary(const RollCall& rollCall);

} // namespace tallyra::ui
