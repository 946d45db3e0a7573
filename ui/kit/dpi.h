// DPI adaptation: the scale s measured when the main window starts, the centring
// of windows, and the rescaling of units from their 96-DPI design.
#pragma once

#include "ui/kit/layout.h"
#include "ui/kit/toolkit.h"

#include <optional>

namespace tallyra::ui {

// Pure arithmetic, kept apart so the rounding rules can be checked with figures.
int scaleCut(int value, float scale);   // value × s cut toward zero
int scaleRound(int value, float scale); // value × s rounded, halves away from zero
Rect placedWindowRect(Size screen, Size window, float scale);
Rect rescaledRect(UnitKind kind, Rect rect, float scale);
bool needsRescaling(float scale); // s differs from 1 by more than 1e-7

// The DPI scale s of the screen the window is on: its horizontal pixels per inch
// over 96, computed in double and held as a float (1.25 at 120 DPI).
float measureDpiScale(Toolkit& toolkit, WindowId window);

// Centres the window on the screen at its current size × s.
void placeWindow(Toolkit& toolkit, WindowId window, float scale);

// Rescales every unit whose row has a rescale step, in the order of the steps:
// its geometry by the rule of its kind, and its font to the row's points.
void rescaleUnits(Toolkit& toolkit, WindowId window, const WindowDesign& design, float scale);

} // namespace tallyra::ui
