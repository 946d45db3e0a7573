// Edit boxes, combo boxes, radio boxes and check lists (list views with check boxes): the system's own controls, coloured by
// their top-level window, which also turns their notifications into unit events.
#pragma once

#include "ui/win32/unit.h"

namespace tallyra::ui::win32 {

class StandardControl : public Unit {
public:
    using Unit::Unit;
    bool create(HINSTANCE instance, HWND parent) override;
    void setRect(Rect rect) override;

    // Combo boxes: the selection last reported to the handlers or set by code, so a
    // change the user confirms is reported once.
    int reportedSelection = -1;

private:
    void fontChanged() override;
    int windowHeight() const;
    void fitDroppedList();
    void fitColumn();
};

} // namespace tallyra::ui::win32
