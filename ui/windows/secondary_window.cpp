#include "ui/windows/secondary_window.h"

#include "ui/kit/dpi.h"
#include "ui/windows/window_set.h"

namespace tallyra::ui {

SecondaryWindow::SecondaryWindow(WindowSet& windows) : windows_(windows), toolkit_(windows.toolkit()) {}

void SecondaryWindow::rescaleForDpi() {
    const float scale = windows_.dpiScale();
    if (!needsRescaling(scale)) return;
    placeWindow(toolkit_, window_, scale);
    rescaleUnits(toolkit_, window_, design(), scale);
}

} // namespace tallyra::ui
