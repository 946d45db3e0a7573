// Today's absent students of the current class: a list of its students with a
// check box each; 保存 keeps the checks. A mark holds for the PC's calendar day and
// is kept in Data, never in the roster.
#pragma once

#include "ui/windows/secondary_window.h"

namespace tallyra::ui {

extern const WindowDesign kAbsenceWindowDesign;

namespace absence_units {
inline constexpr std::string_view kListLabel = "absentListLabel";
inline constexpr std::string_view kStudentList = "studentList";
inline constexpr std::string_view kSaveFrame = "saveAbsentFrame";
inline constexpr std::string_view kSaveButton = "saveAbsentButton";
} // namespace absence_units

class AbsenceWindow : public SecondaryWindow {
public:
    explicit AbsenceWindow(WindowSet& windows) : SecondaryWindow(windows) {}
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;

private:
    const WindowDesign& design() const override { return kAbsenceWindowDesign; }
    void onOpened() override;
    void onClosed() override;
    void saveAbsences();
};

} // namespace tallyra::ui
