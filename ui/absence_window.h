// Today's absent students of the current class: choose a student, mark them
// present or absent; the list below shows who is marked. A mark holds for the
// PC's calendar day and is kept in Data, never in the roster.
#pragma once

#include "ui/secondary_window.h"

namespace tallyra::ui {

extern const WindowDesign kAbsenceWindowDesign;

namespace absence_units {
inline constexpr std::string_view kStudentLabel = "studentLabel";
inline constexpr std::string_view kStudentBox = "studentBox";
inline constexpr std::string_view kPresent = "presentRadio";
inline constexpr std::string_view kAbsent = "absentRadio";
inline constexpr std::string_view kListLabel = "absentListLabel";
inline constexpr std::string_view kListBox = "absentListBox";
} // namespace absence_units

class AbsenceWindow : public SecondaryWindow {
public:
    explicit AbsenceWindow(WindowSet& windows) : SecondaryWindow(windows) {}
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;

private:
    const WindowDesign& design() const override { return kAbsenceWindowDesign; }
    void onOpened() override;
    void onClosed() override { windows_.showMain(); }
    // The radio boxes and the list follow the roll call's marks.
    void showMarks();
    void mark(bool absent);
};

} // namespace tallyra::ui
