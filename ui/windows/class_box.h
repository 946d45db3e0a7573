// The class box that the settings and class management windows share, filled from
// the stored class list.
#pragma once

#include "storage/data_folder.h"
#include "ui/kit/toolkit.h"

#include <string>
#include <string_view>
#include <vector>

namespace tallyra::ui {

// Fills the box with the listed classes (a settings file that could not be read is
// told) and selects select, or the current class when select is empty; a list of a
// single class always has it selected. Returns the names by their place, which the
// windows go by rather than the box's text (a toolkit may cut a name at a control
// character).
std::vector<std::string> fillClassBox(Toolkit& toolkit, WindowId window, std::string_view unit, const DataFolder& data,
                                      std::string_view select = {});

} // namespace tallyra::ui
