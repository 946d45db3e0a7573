// The size a one-line label draws its text at, so that the text fits its box.
#pragma once

#include "ui/kit/layout.h"
#include "ui/kit/toolkit.h"

#include <functional>

namespace tallyra::ui {

// What a backend measures of a line set at a character height: its advance width
// and its line height (ascent plus descent), in pixels.
using MeasureLine = std::function<Size(int charHeight)>;

// The character height to draw a line at, for a label of this character height and
// box. Shrink keeps the label's height unless the line is wider than the box;
// Fill takes the largest height whose line fits the box both ways.
int fittedCharHeight(TextFit fit, int charHeight, Size box, const MeasureLine& measure);

} // namespace tallyra::ui
