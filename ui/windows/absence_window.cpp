#include "ui/windows/absence_window.h"

#include "ui/windows/window_set.h"

#include "draw/round_keeper.h"

namespace tallyra::ui {
namespace {

using namespace absence_units;

constexpr int kWidth = 460;
constexpr int kHeight = 434;

constexpr UnitDesign kUnits[] = {
    row(1000, {1, 11}, shared::titleLabel("今天缺席", 343)),
    row(1001, {4, 15}, shared::closeButton(kWidth)),
    row(1002, {2}, shared::contentArea(kWidth, kHeight)),
    row(1003, {3, 14}, shared::contentLabel(kListLabel, {15, 12, 428, 24}, "勾选今天缺席的学生（明天自动清除）:")),
    {.name = kStudentList,
     .controlId = 1004,
     .kind = UnitKind::CheckList,
     .parent = shared::kContent,
     .rect = {15, 44, 428, 300},
     .font = {.charHeight = 16},
     .tabStop = true,
     .rescale = {5, 12}},
    row(1005, {6}, shared::buttonFrame(kSaveFrame, shared::kContent, 15, 356, 89, 32)),
    row(1006, {7, 12}, shared::framedButton(kSaveButton, kSaveFrame, 87, 30, "保存", 16)),
};

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
    const RollCall& rollCall = windows_.rollCall();
    const ClassRoster& roster = rollCall.roster();
    for (std::size_t position = 1; position <= roster.size(); ++position) {
        toolkit_.addItem(window_, kStudentList, roster.numberAt(position) + "  " + roster.nameAt(position));
        toolkit_.setItemChecked(window_, kStudentList, static_cast<int>(position - 1),
                                position <= rollCall.absent().size() && rollCall.absent()[position - 1]);
    }
}

void AbsenceWindow::saveAbsences() {
    StudentMarks marks(windows_.rollCall().roster().size(), false);
    for (std::size_t i = 0; i < marks.size(); ++i)
        marks[i] = toolkit_.isItemChecked(window_, kStudentList, static_cast<int>(i));
    // The marks hold for this start even when they could not be kept.
    if (!windows_.session().setAbsent(marks)) toolkit_.showMessage(kAbsenceSaveFailed);
    windows_.showMain();
    toolkit_.destroyWindow(window_);
}

void AbsenceWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event != UnitEvent::Clicked) return;
    if (unit == kSaveButton) {
        saveAbsences();
    } else if (unit == shared::kCloseButton) {
        windows_.showMain();
        toolkit_.destroyWindow(window_);
    }
}

void AbsenceWindow::onClosed() {
    windows_.showMain();
}

} // namespace tallyra::ui
