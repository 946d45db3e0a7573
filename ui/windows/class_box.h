// The class management window's class box, filled from the stored class list by the
// rule the settings window's box follows too (shownClassIndex).
#pragma once

#include "storage/data_folder.h"
#include "ui/kit/toolkit.h"

#include <string>
#include <string_view>
#include <vector>

namespace tallyra::ui {

// Fills the box with the listed classes (a settings file that could not be read is
// told) and selects the class shownClassIndex names. Returns the names by their place, which the
// windows go by rather than the box's text (a toolkit may cut a name at a control
// character).
std::vector<std::string> fillClassBox(Toolkit& toolkit, WindowId window, std::string_view unit, const DataFolder& data,
                                      std::string_view select = {});

} // namespace tallyra::ui
