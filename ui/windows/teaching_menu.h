// The main window's menu items for the lesson itself: several students at once,
// random groups, who is left in the round, a roster from a file, and a pick taken
// back when the student turns out to be absent. Each is offered only while the main
// window is not rolling: its roll would settle on a student another window took.
#pragma once

#include "ui/windows/window_set.h"

namespace tallyra::ui {

void addTeachingMenuItems(WindowSet& windows);

} // namespace tallyra::ui
