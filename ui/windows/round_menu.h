// The main window's menu items for a fair term: today's absent students, the
// record of picks, a new round at once, and the switch back to a new round at
// every start and class choice.
#pragma once

#include "ui/windows/window_set.h"

namespace tallyra::ui {

void addRoundMenuItems(WindowSet& windows);

} // namespace tallyra::ui
