#include "ui/class_management_window.h"

#include <algorithm>

#include "storage/class_list.h"
#include "storage/lists.h"
#include "storage/roster.h"
#include "storage/settings.h"
#include "ui/dpi.h"

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

std::string ClassManagementWindow::classBoxText() const {
    return toolkit_.selectedItemText(window_, kClassBox);
}

void ClassManagementWindow::openClassManagement() {
    rescaleForDpi();

    const std::string classList = settings::classList();
    if (!classList.empty() && classList.find(',') == std::string::npos) {
        toolkit_.addItem(window_, kClassBox, classList);
        toolkit_.setSelection(window_, kClassBox, 0);
    } else if (!classList.empty()) {
        const std::vector<std::string> names = splitList(classList, ",");
        for (const std::string& name : names)
            toolkit_.addItem(window_, kClassBox, name);
        const std::string current = settings::currentClass();
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == current) toolkit_.setSelection(window_, kClassBox, static_cast<int>(i));
    }

    if (toolkit_.selection(window_, kClassBox) < 0) {
        toolkit_.setVisible(window_, kNoClassOverlay, true);
    } else {
        toolkit_.setVisible(window_, kNoClassOverlay, false);
        toolkit_.setText(window_, kRosterBox, "");
        toolkit_.setText(window_, kRosterBox, formatRosterText(readRoster(classBoxText())));
    }
    toolkit_.setText(window_, kNameBox, classBoxText());
}

void ClassManagementWindow::showClassRoster() {
    toolkit_.setText(window_, kNameBox, classBoxText());
    toolkit_.setText(window_, kRosterBox, formatRosterText(readRoster(classBoxText())));
}

std::string deleteClassQuestion(std::string_view className) {
    return "确定要删除班级“" + std::string(className) + "”吗？该班级的学号姓名数据将一并删除，无法恢复！";
}

bool ClassManagementWindow::writeFailed() {
    toolkit_.showMessage(kDataNotSaved);
    return false;
}

// Every write below is checked: on a failure the teacher is told and the handler
// stops. Roster files are written before the class list names them, so a stop
// between two writes leaves at worst an unlisted file, which adding the class
// adopts. The class list is changed as one read-change-write, so that a second
// running copy changing it at the same moment is never lost.

void ClassManagementWindow::addClass() {
    const std::optional<std::string> answer = toolkit_.askText(kAddClassPrompt, kAddClassTitle);
    if (!answer) return;
    const std::string& name = *answer;
    if (name.empty()) {
        toolkit_.showMessage(kClassNameEmpty);
        return;
    }
    const auto refuse = [&](std::string_view list) {
        std::optional<Message> refusal = checkNewClassName(list, name);
        if (!refusal) refusal = checkClassListLength(addClassName(list, name));
        return refusal;
    };
    std::optional<Message> refusal = refuse(settings::classList());
    if (!refusal && !createRosterFile(name)) return (void)writeFailed();
    const bool listed = !refusal && settings::changeClassList([&](std::string_view list) -> std::optional<std::string> {
        refusal = refuse(list); // the list as it is now, under the lock
        if (refusal) return std::nullopt;
        return addClassName(list, name);
    });
    if (refusal) {
        toolkit_.showMessage(*refusal);
        return;
    }
    if (!listed) return (void)writeFailed();

    toolkit_.addItem(window_, kClassBox, name);
    toolkit_.setSelection(window_, kClassBox, toolkit_.itemCount(window_, kClassBox) - 1);
    // An adopted file shows the students it holds.
    const ClassRoster roster = readRoster(name);
    toolkit_.setText(window_, kRosterBox, formatRosterText(roster));
    toolkit_.setText(window_, kNameBox, name);
    toolkit_.setVisible(window_, kNoClassOverlay, false);

    // The first class becomes the current one.
    const bool becomesCurrent = !windows_.hasCurrentClass();
    windows_.classAdded(name, becomesCurrent);
    if (becomesCurrent) {
        windows_.round().loadClass(name, roster, RoundKeeper::Reason::Changed);
        if (!settings::setCurrentClass(name)) return (void)writeFailed();
        windows_.currentClassChanged(name);
    }
}

void ClassManagementWindow::deleteClass() {
    const int selected = toolkit_.selection(window_, kClassBox);
    if (selected < 0) return; // nothing chosen: the overlay should have kept the click away

    const std::string name = classBoxText();
    const std::string question = deleteClassQuestion(name);
    if (toolkit_.showMessage({kDeleteClassTitle, question, kDeleteClassFlags}) != MessageAnswer::Yes) return;

    windows_.rollCall().loadRoster({});
    if (settings::currentClass() == name && !settings::setCurrentClass("")) return (void)writeFailed();
    bool lastClass = false;
    const bool unlisted = settings::changeClassList([&](std::string_view list) -> std::optional<std::string> {
        lastClass = list == name;
        if (!lastClass && list.find(',') == std::string_view::npos) return std::nullopt;
        return removeClassName(list, name);
    });
    if (!unlisted) return (void)writeFailed();
    // A hand-edited name that is no roster file of its own ("Config", "../x") deletes no file.
    if (isOwnRosterFileName(name) && !deleteRosterFile(name)) writeFailed();
    windows_.round().classDeleted(name);

    toolkit_.removeItem(window_, kClassBox, selected);
    const int left = toolkit_.itemCount(window_, kClassBox);
    const std::optional<int> next = left == 0 ? std::nullopt : std::optional<int>(std::min(selected, left - 1));
    if (next) {
        toolkit_.setSelection(window_, kClassBox, *next);
        showClassRoster();
    } else {
        toolkit_.setText(window_, kRosterBox, "");
        toolkit_.setText(window_, kNameBox, "");
        toolkit_.setVisible(window_, kNoClassOverlay, true);
    }
    windows_.classDeleted(selected, next, lastClass);
}

void ClassManagementWindow::saveClass() {
    const int selected = toolkit_.selection(window_, kClassBox);
    if (selected < 0) return; // nothing chosen: the overlay should have kept the click away

    const std::string newName = toolkit_.text(window_, kNameBox);
    const std::string rosterText = toolkit_.text(window_, kRosterBox);
    if (newName.empty()) {
        toolkit_.showMessage(kSaveNameEmpty);
        return;
    }
    if (auto refusal = checkRosterText(rosterText)) {
        toolkit_.showMessage(*refusal);
        return;
    }

    const std::string oldName = classBoxText();
    std::optional<Message> refusal;
    if (newName != oldName) {
        refusal = refuseRename(settings::classList(), oldName, newName);
    } else if (!isOwnRosterFileName(oldName)) {
        // A class from older or hand-edited data whose name would leave the Data
        // folder, or names the settings file or a device: keep it, write nothing.
        refusal = kClassNameInvalid;
    }
    // Rows are checked before anything is written, under a new name too.
    const RosterParse parsed = parseRosterText(rosterText);
    if (!refusal) refusal = parsed.refusal;
    if (refusal) {
        toolkit_.showMessage(*refusal);
        return;
    }

    if (newName != oldName) {
        if (!saveUnderNewName(selected, oldName, newName, parsed.roster)) return;
    } else if (!writeRoster(newName, parsed.roster)) {
        writeFailed();
        return;
    }
    if (settings::currentClass() == newName) {
        if (!settings::setCurrentClass(newName)) return (void)writeFailed();
        windows_.round().loadClass(newName, readRoster(newName), RoundKeeper::Reason::Changed);
    }
    toolkit_.showMessage(kSaveDone);
}

std::optional<Message> ClassManagementWindow::refuseRename(std::string_view classList, std::string_view oldName,
                                                           std::string_view newName) {
    std::optional<Message> refusal = checkNewClassName(classList, newName, oldName);
    if (!refusal) refusal = checkClassListLength(renameClassName(classList, oldName, newName));
    return refusal;
}

// The roster goes to the new name's file first; then the current class and the
// class list take the new name. The old file stays behind, no longer listed.
bool ClassManagementWindow::saveUnderNewName(int selected, const std::string& oldName, const std::string& newName,
                                             const ClassRoster& roster) {
    if (!writeRoster(newName, roster)) return writeFailed();
    if (settings::currentClass() == oldName && !settings::setCurrentClass(newName)) return writeFailed();
    std::optional<Message> refusal;
    const bool renamed = settings::changeClassList([&](std::string_view list) -> std::optional<std::string> {
        refusal = refuseRename(list, oldName, newName); // the list as it is now, under the lock
        if (refusal) return std::nullopt;
        return renameClassName(list, oldName, newName);
    });
    if (refusal) {
        toolkit_.showMessage(*refusal);
        return false;
    }
    if (!renamed) return writeFailed();
    windows_.round().classRenamed(oldName, newName);
    toolkit_.setItemText(window_, kClassBox, selected, newName);
    windows_.classRenamed(selected, newName);
    return true;
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
