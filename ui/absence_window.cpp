#include "ui/absence_window.h"

#include "draw/round_keeper.h"

namespace tallyra::ui {
namespace {

using namespace absence_units;

constexpr int kWidth = 460;
constexpr int kHeight = 340;

constexpr UnitDesign radio(std::string_view name, Rect rect, std::string_view caption) {
    return {.name = name,
            .kind = UnitKind::RadioBox,
            .parent = shared::kContent,
            .rect = rect,
            .text = caption,
            .font = {.charHeight = 19},
            .tabStop = true};
}

constexpr UnitDesign kUnits[] = {
    row(1000, {1, 11}, shared::titleLabel("今天缺席", 343)),
    row(1001, {4, 15}, shared::closeButton(kWidth)),
    row(1002, {2}, shared::contentArea(kWidth, kHeight)),
    row(1003, {3, 14}, shared::contentLabel(kStudentLabel, {15, 16, 120, 24}, "选择学生:")),
    {.name = kStudentBox,
     .controlId = 1004,
     .kind = UnitKind::ComboBox,
     .parent = shared::kContent,
     .rect = {143, 14, 288, 20},
     .font = {.charHeight = 19},
     .tabStop = true,
     .rescale = {5, 14}},
    row(1005, {6, 14}, radio(kPresent, {143, 56, 80, 24}, "到场")),
    row(1006, {7, 14}, radio(kAbsent, {234, 56, 120, 24}, "今天缺席")),
    row(1007, {8, 14}, shared::contentLabel(kListLabel, {15, 96, 300, 24}, "今天缺席的学生:")),
    {.name = kListBox,
     .controlId = 1008,
     .kind = UnitKind::EditBox,
     .parent = shared::kContent,
     .rect = {15, 126, 428, 168},
     .font = {.charHeight = 16},
     .tabStop = true,
     .multiLine = true,
     .readOnly = true,
     .rescale = {9, 12}},
};

std::string studentText(const ClassRoster& roster, std::size_t position) {
    return roster.numberAt(position) + "  " + roster.nameAt(position);
}

} // namespace

const WindowDesign kAbsenceWindowDesign{.name = "AbsenceWindow",
                                        .caption = "今天缺席",
                                        .width = kWidth,
                                        .height = kHeight,
                                        .background = kTitleBlue,
                                        .canMinimise = false,
                                        .units = kUnits};

void AbsenceWindow::onOpened() {
    rescaleForDpi();
    const ClassRoster& roster = windows_.rollCall().roster();
    for (std::size_t position = 1; position <= roster.size(); ++position)
        toolkit_.addItem(window_, kStudentBox, studentText(roster, position));
    if (roster.size() > 0) toolkit_.setSelection(window_, kStudentBox, 0);
    showMarks();
}

void AbsenceWindow::showMarks() {
    const RollCall& rollCall = windows_.rollCall();
    const int selected = toolkit_.selection(window_, kStudentBox);
    const bool absent = selected >= 0 && static_cast<std::size_t>(selected) < rollCall.absent().size() &&
                        rollCall.absent()[static_cast<std::size_t>(selected)];
    toolkit_.setChecked(window_, kPresent, selected >= 0 && !absent);
    toolkit_.setChecked(window_, kAbsent, absent);
    std::string list;
    for (std::size_t i = 0; i < rollCall.absent().size(); ++i)
        if (rollCall.absent()[i]) list += studentText(rollCall.roster(), i + 1) + "\r\n";
    toolkit_.setText(window_, kListBox, list.empty() ? "（无）" : list);
}

void AbsenceWindow::mark(bool absent) {
    const int selected = toolkit_.selection(window_, kStudentBox);
    StudentMarks marks = windows_.rollCall().absent();
    if (selected < 0 || static_cast<std::size_t>(selected) >= marks.size()) return showMarks();
    if (marks[static_cast<std::size_t>(selected)] == absent) return;
    marks[static_cast<std::size_t>(selected)] = absent;
    // The mark holds for this start even when it could not be kept.
    if (!windows_.round().setAbsent(marks)) toolkit_.showMessage(kAbsenceSaveFailed);
    showMarks();
}

void AbsenceWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (unit == kStudentBox && event == UnitEvent::ItemChosen) {
        showMarks();
    } else if (event != UnitEvent::Clicked) {
        return;
    } else if (unit == kPresent || unit == kAbsent) {
        mark(unit == kAbsent);
    } else if (unit == shared::kCloseButton) {
        windows_.showMain();
        toolkit_.destroyWindow(window_);
    }
}

} // namespace tallyra::ui
