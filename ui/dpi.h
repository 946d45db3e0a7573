// DPI adaptation: the one scale s measured when the main window starts, the
// centring of windows, and the rescaling of units from their 96-DPI design.
#pragma once

#include "ui/look.h"
#include "ui/toolkit.h"

#include <optional>

namespace tallyra::ui {

// Pure arithmetic, kept apart so the rounding rules can be checked with figures.
int scaleCut(int value, float scale);   // value × s cut toward zero
int scaleRound(int value, float scale); // value × s rounded, halves away from zero
Rect placedWindowRect(Size screen, Size window, float scale);
Rect rescaledRect(UnitKind kind, Rect rect, float scale);
bool needsRescaling(float scale); // s differs from 1 by more than 1e-7

// The program's one DPI scale; 1 until the main window has measured it.
float dpiScale();
void setDpiScale(float scale);

// Measures s from the window's horizontal pixels per inch, keeps it, and places the window.
float measureDpiScale(Toolkit& toolkit, WindowId window);
void placeWindow(Toolkit& toolkit, WindowId window);

void rescaleLabel(Toolkit& toolkit, WindowId window, std::string_view unit, std::optional<int> points = {});
void rescaleImageButton(Toolkit& toolkit, WindowId window, std::string_view unit, std::optional<int> points = {});
void rescaleHyperlink(Toolkit& toolkit, WindowId window, std::string_view unit, std::optional<int> points = {});
void rescaleComboBox(Toolkit& toolkit, WindowId window, std::string_view unit, std::optional<int> points = {});
void rescaleRadioBox(Toolkit& toolkit, WindowId window, std::string_view unit, std::optional<int> points = {});
void rescaleEditBox(Toolkit& toolkit, WindowId window, std::string_view unit, std::optional<int> points = {});
void rescaleShapeBox(Toolkit& toolkit, WindowId window, std::string_view unit);
void rescalePictureBox(Toolkit& toolkit, WindowId window, std::string_view unit);

} // namespace tallyra::ui
