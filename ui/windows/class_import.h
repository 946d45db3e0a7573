// A class brought in from a roster file: from the main window's menu (the ＋ flow of
// the class management window with the file's name proposed, then the roster box
// filled) or a file dropped on the roster box. Only 保存 writes the roster.
#pragma once

#include "ui/windows/window_set.h"

#include <optional>
#include <string>
#include <string_view>

namespace tallyra::ui {

// The roster text of the file; nothing after telling the teacher why not (a
// spreadsheet's own format, an unreadable file, the rows that cannot be read).
std::optional<std::string> importedRosterText(Toolkit& toolkit, std::string_view path);

// The menu's flow: a file chosen, read, then the class added and its roster box filled.
void importClassFromFile(WindowSet& windows);

} // namespace tallyra::ui
