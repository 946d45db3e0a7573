#include "ui/windows/class_management_window.h"

#include "ui/windows/window_set.h"

#include <algorithm>

#include "storage/settings.h"
#include "ui/windows/class_import.h"
#include "ui/windows/class_box.h"
#include "ui/kit/dpi.h"

namespace tallyra::ui {
namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 434;

using namespace class_management_units;

constexpr UnitDesign kUnits[] = {
    row(1000, {1, 11}, shared::titleLabel("班级管理", 183)),
    row(1001, {2, 11}, shared::minimiseButton()),
    row(1002, {3, 15}, shared::closeButton(kWidth)),
    row(1003, {4}, shared::contentArea(kWidth, kHeight)),
    row(1004, {5, 14}, shared::contentLabel(kClassLabel, {13, 11, 167, 24}, "选择要管理的班级:")),
    {.name = kClassBox,
     .controlId = 1005,
     .kind = UnitKind::ComboBox,
     .parent = shared::kContent,
     .rect = {179, 8, 228, 33},
     .font = {.charHeight = 19},
     .tabStop = true,
     .rescale = {6, 14}},
    row(1006, {7}, shared::buttonFrame(kAddFrame, shared::kContent, 412, 8, 32, 32)),
    row(1007, {8, 16}, shared::framedButton(kAddButton, kAddFrame, 30, 30, "＋", 21)),
    row(1008, {9, 14}, shared::contentLabel(kNameLabel, {52, 55, 90, 24}, "班级名称:")),
    {.name = kNameFrame,
     .controlId = 1009,
     .kind = UnitKind::ShapeBox,
     .parent = shared::kContent,
     .rect = {144, 52, 300, 32},
     .background = kWhite,
     .outline = kButtonFrameGrey,
     .rescale = {10}},
    {.name = kNameBox,
     .controlId = 1010,
     .kind = UnitKind::EditBox,
     .parent = kNameFrame,
     .rect = {3, 3, 295, 26},
     .font = {.charHeight = 16},
     .tabStop = true,
     .rescale = {11, 12}},
    row(1011, {12, 14}, shared::contentLabel(kRosterLabel, {14, 96, 137, 24}, "学号姓名数据:")),
    {.name = kRosterFrame,
     .controlId = 1012,
     .kind = UnitKind::ShapeBox,
     .parent = shared::kContent,
     .rect = {15, 133, 432, 216},
     .background = kWhite,
     .outline = kButtonFrameGrey,
     .rescale = {13}},
    {.name = kRosterBox,
     .controlId = 1013,
     .kind = UnitKind::EditBox,
     .parent = kRosterFrame,
     .rect = {4, 4, 425, 208},
     .font = {.charHeight = 16},
     .tabStop = true,
     .multiLine = true,
     .rescale = {14, 12}},
    row(1014, {15}, shared::buttonFrame(kSaveFrame, shared::kContent, 14, 359, 89, 32)),
    row(1015, {16, 12}, shared::framedButton(kSaveButton, kSaveFrame, 87, 30, "保存", 16)),
    row(1016, {17}, shared::buttonFrame(kDeleteFrame, shared::kContent, 102, 359, 89, 32)),
    row(1017, {18, 12}, shared::framedButton(kDeleteButton, kDeleteFrame, 87, 30, "删除班级", 16)),
    {.name = kNoClassOverlay,
     .controlId = 1018,
     .kind = UnitKind::Label,
     .parent = shared::kContent,
     .rect = {5, 45, 448, 352},
     .text = "请先选择或添加班级",
     .font = {.charHeight = 48},
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center,
     .rescale = {19, 36}},
};

} // namespace

const WindowDesign kClassManagementWindowDesign{.name = "ClassManagementWindow",
                                                .caption = "Tallyra",
                                                .width = kWidth,
                                                .height = kHeight,
                                                .background = kTitleBlue,
                                                .units = kUnits};

void ClassManagementWindow::onClosed() {
    windows_.showSettings();
}

classes::ShownClass ClassManagementWindow::shownClass() const {
    const int selected = toolkit_.selection(window_, kClassBox);
    if (selected < 0 || static_cast<std::size_t>(selected) >= classes_.size()) return {};
    return {selected, classes_[static_cast<std::size_t>(selected)]};
}

void ClassManagementWindow::openClassManagement() {
    rescaleForDpi();
    fillClassBox({});
}

void ClassManagementWindow::fillClassBox(std::string_view select) {
    classes_ = ui::fillClassBox(toolkit_, window_, kClassBox, windows_.data(), select);
    if (toolkit_.selection(window_, kClassBox) < 0) {
        showNoClass();
    } else {
        toolkit_.setVisible(window_, kNoClassOverlay, false);
        toolkit_.setText(window_, kRosterBox, "");
        showClassRoster();
    }
}

void ClassManagementWindow::showNoClass() {
    shownRoster_ = {};
    toolkit_.setText(window_, kRosterBox, "");
    toolkit_.setText(window_, kNameBox, "");
    toolkit_.setVisible(window_, kNoClassOverlay, true);
}

void ClassManagementWindow::showRoster(const ClassRoster& roster) {
    shownRoster_ = roster;
    toolkit_.setText(window_, kRosterBox, formatRosterText(roster));
}

void ClassManagementWindow::showClassRoster() {
    const classes::ShownClass shown = shownClass();
    toolkit_.setText(window_, kNameBox, shown.name);
    const StoredRoster stored = loadRoster(windows_.data(), shown.name);
    if (stored.state == IniDocument::State::Failed)
        toolkit_.showMessage(fileNotReadMessage(windows_.data().rosterFile(shown.name)));
    showRoster(stored.roster);
}

std::string deleteClassQuestion(std::string_view className) {
    return "确实要删除班级" + std::string(className) + "吗？该班级的学号姓名数据将一并删除，无法恢复！";
}

void ClassManagementWindow::showFailure(const classes::Result& result, std::string_view select) {
    if (result.message) toolkit_.showMessage(*result.message);
    if (result.outcome != classes::Outcome::ClassGone && result.outcome != classes::Outcome::Failed) return;
    // A step that failed after others were written, or another copy, changed the list:
    // both class boxes show it as it now is. An unchanged list keeps the texts the teacher typed.
    if (classes::readListing(windows_.data()).classes == classes_) return;
    fillClassBox(select.empty() ? shownClass().name : select);
    windows_.session().reloadList();
}

bool ClassManagementWindow::addClass(std::string_view proposed) {
    const std::optional<std::string> answer = toolkit_.askText(kAddClassPrompt, kAddClassTitle, proposed);
    if (!answer) return false;
    const std::string& name = *answer;
    const classes::Result result = windows_.session().add(name);
    if (!result.done()) {
        showFailure(result, name);
        return false;
    }

    classes_.push_back(name);
    toolkit_.addItem(window_, kClassBox, name);
    toolkit_.setSelection(window_, kClassBox, toolkit_.itemCount(window_, kClassBox) - 1);
    showRoster(result.roster); // an adopted file shows the students it holds
    toolkit_.setText(window_, kNameBox, name);
    toolkit_.setVisible(window_, kNoClassOverlay, false);
    return true;
}

void ClassManagementWindow::fillRosterBox(std::string_view text) {
    if (shownClass().index >= 0) toolkit_.setText(window_, kRosterBox, text);
}

void ClassManagementWindow::onFileDropped(WindowId, std::string_view unit, std::string_view path) {
    if (unit != kRosterBox || shownClass().index < 0) return;
    if (const std::optional<std::string> text = importedRosterText(toolkit_, path)) fillRosterBox(*text);
}

void ClassManagementWindow::deleteClass() {
    const classes::ShownClass shown = shownClass();
    if (shown.index < 0) return; // nothing chosen: the overlay should have kept the click away

    const std::string question = deleteClassQuestion(shown.name);
    if (toolkit_.showMessage({kDeleteClassTitle, question, kDeleteClassFlags}) != MessageAnswer::Yes) return;

    const classes::Result result = windows_.session().remove(shown);
    if (!result.done()) return showFailure(result);

    const int selected = shown.index;
    classes_.erase(classes_.begin() + selected);
    toolkit_.removeItem(window_, kClassBox, selected);
    const int left = toolkit_.itemCount(window_, kClassBox);
    const std::optional<int> next = left == 0 ? std::nullopt : std::optional<int>(std::min(selected, left - 1));
    if (next) {
        toolkit_.setSelection(window_, kClassBox, *next);
        showClassRoster();
    } else {
        showNoClass();
    }
}

void ClassManagementWindow::saveClass() {
    const classes::ShownClass shown = shownClass();
    if (shown.index < 0) return; // nothing chosen: the overlay should have kept the click away

    const std::string newName = toolkit_.text(window_, kNameBox);
    const std::string rosterText = toolkit_.text(window_, kRosterBox);
    ClassSession& session = windows_.session();
    classes::Result result = session.save(shown, newName, rosterText, shownRoster_);
    if (result.outcome == classes::Outcome::RosterChanged) {
        // Another copy saved this class since the box was filled: overwrite only when the teacher says so.
        if (toolkit_.showMessage(*result.message) != MessageAnswer::Yes) return showRoster(result.roster);
        result = session.save(shown, newName, rosterText, result.roster, true);
    }
    if (!result.done()) {
        showFailure(result);
        // The texts stay as typed; the first row refused is selected, to be found among many.
        if (result.refusedLine) toolkit_.selectLine(window_, kRosterBox, *result.refusedLine);
        return;
    }

    if (newName != shown.name) {
        classes_[static_cast<std::size_t>(shown.index)] = newName;
        toolkit_.setItemText(window_, kClassBox, shown.index, newName);
    }
    shownRoster_ = result.roster;
    if (result.message) toolkit_.showMessage(*result.message); // saved, but the marks stayed behind
    toolkit_.showMessage(kSaveDone);
}

void ClassManagementWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (unit == kClassBox && event == UnitEvent::ItemChosen) {
        showClassRoster();
    } else if (event != UnitEvent::Clicked) {
        return;
    } else if (unit == kAddButton) {
        addClass();
    } else if (unit == kSaveButton) {
        saveClass();
    } else if (unit == kDeleteButton) {
        deleteClass();
    } else if (unit == shared::kMinimiseButton) {
        toolkit_.minimiseWindow(window_);
    } else if (unit == shared::kCloseButton) {
        windows_.showSettings();
        toolkit_.destroyWindow(window_);
    }
}

} // namespace tallyra::ui
