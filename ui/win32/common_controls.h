// The common controls (comctl32) are loaded by the first window that uses one, not
// at start-up: the main window needs none until the pointer rests on a button with
// a tooltip.
#pragma once

namespace tallyra::ui::win32 {

// Loads the common controls and registers their window classes, once; true when
// they are ready. Call it before creating a window that holds one of them (edit,
// combo and radio boxes, message boxes and dialogs, tooltips): the manifest's
// activation context then gives them the version 6 look, as it would have with the
// controls loaded at start-up.
bool loadCommonControls();

} // namespace tallyra::ui::win32
