#include "ui/windows/settings_window.h"

#include "ui/windows/window_set.h"

#include "storage/classes.h"
#include "storage/settings.h"
#include "ui/kit/dpi.h"

namespace tallyra::ui {
namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 193;

using namespace settings_units;

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
    row(1000, {1, 11}, shared::titleLabel("设置", 183)),
    row(1001, {6, 11}, shared::minimiseButton()),
    row(1002, {5, 15}, shared::closeButton(kWidth)),
    row(1003, {4}, shared::contentArea(kWidth, kHeight)),
    row(1004, {2, 14}, shared::contentLabel(kClassLabel, {15, 16, 136, 24}, "当前选择班级:")),
    {.name = kClassBox,
     .controlId = 1005,
     .kind = UnitKind::ComboBox,
     .parent = shared::kContent,
     .rect = {143, 14, 288, 20},
     .font = {.charHeight = 19},
     .tabStop = true,
     .rescale = {13, 14}},
    row(1006, {3, 14}, shared::contentLabel(kVoiceLabel, {15, 56, 136, 24}, "语音播报开关:")),
    row(1007, {14, 14}, radio(kVoiceOn, {143, 58, 70, 24}, "开启")),
    row(1008, {15, 14}, radio(kVoiceOff, {224, 58, 70, 24}, "关闭")),
    // The first frame lies on the window, the other two on the content area, at the same height on screen.
    row(1009, {10}, shared::buttonFrame(kClassManagementFrame, "", 18, 128, 136, 49)),
    row(1010, {7, 14}, shared::framedButton(kClassManagementButton, kClassManagementFrame, 134, 47, "班级管理", 19)),
    row(1011, {11}, shared::buttonFrame(kAboutFrame, shared::kContent, 152, 96, 137, 49)),
    row(1012, {8, 14}, shared::framedButton(kAboutButton, kAboutFrame, 135, 47, "关于", 19)),
    row(1013, {12}, shared::buttonFrame(kUpdateFrame, shared::kContent, 288, 96, 137, 49)),
    row(1014, {9, 14}, shared::framedButton(kUpdateButton, kUpdateFrame, 135, 47, "检查更新", 19)),
};

} // namespace

const WindowDesign kSettingsWindowDesign{.name = "SettingsWindow",
                                         .caption = "Tallyra",
                                         .width = kWidth,
                                         .height = kHeight,
                                         .background = kTitleBlue,
                                         .units = kUnits};

std::string updatePageNotOpenedText() {
    return "未能打开浏览器。请在浏览器中手动访问：\r\n" + std::string(kUpdatePageAddress);
}

void SettingsWindow::onOpened() {
    rescaleForDpi();

    const bool voiceOn = settings::voiceOn(windows_.data());
    toolkit_.setChecked(window_, kVoiceOn, voiceOn);
    toolkit_.setChecked(window_, kVoiceOff, !voiceOn);

    ClassSession& session = windows_.session();
    session.reloadList(true);
    // Several classes and none of them current: the first one becomes current.
    if (!session.hasCurrentClass() && !session.classes().empty()) session.choose({0, session.classes().front()});
}

void SettingsWindow::showClasses() {
    toolkit_.clearItems(window_, kClassBox);
    for (const std::string& name : windows_.session().classes())
        toolkit_.addItem(window_, kClassBox, name);
    showCurrentClass();
}

void SettingsWindow::showCurrentClass() {
    const int shown = windows_.session().shownIndex();
    if (shown >= 0 && toolkit_.selection(window_, kClassBox) != shown) toolkit_.setSelection(window_, kClassBox, shown);
}

void SettingsWindow::onClosed() {
    windows_.showMain();
}

void SettingsWindow::applyClassChoice() {
    const int selected = toolkit_.selection(window_, kClassBox);
    const std::vector<std::string>& classes = windows_.session().classes();
    if (selected < 0 || static_cast<std::size_t>(selected) >= classes.size()) return;
    windows_.session().choose({selected, classes[static_cast<std::size_t>(selected)]});
}

void SettingsWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (unit == kClassBox && event == UnitEvent::ItemChosen) {
        applyClassChoice();
    } else if (event != UnitEvent::Clicked) {
        return;
    } else if (unit == kVoiceOn || unit == kVoiceOff) {
        const bool on = unit == kVoiceOn;
        if (!settings::setVoiceOn(windows_.data(), on)) {
            // A settings file that could not be read is named as such: it was not written over.
            const IniDocument stored = IniDocument::read(windows_.data().settingsFile());
            toolkit_.showMessage(stored.failed() ? fileNotReadMessage(stored.file()) : kDataNotSaved);
            // The boxes keep showing what is stored.
            const bool storedOn = settings::voiceOn(windows_.data());
            toolkit_.setChecked(window_, kVoiceOn, storedOn);
            toolkit_.setChecked(window_, kVoiceOff, !storedOn);
        }
    } else if (unit == kClassManagementButton) {
        windows_.openClassManagement();
        toolkit_.showWindow(window_, false);
    } else if (unit == kAboutButton) {
        windows_.openAbout();
        toolkit_.showWindow(window_, false);
    } else if (unit == kUpdateButton) {
        if (toolkit_.showMessage(kUpdateNotice) == MessageAnswer::Ok && !toolkit_.openInBrowser(kUpdatePageAddress)) {
            const std::string text = updatePageNotOpenedText();
            toolkit_.showMessage({"无法打开", text, kWarningOk});
        }
    } else if (unit == shared::kMinimiseButton) {
        toolkit_.minimiseWindow(window_);
    } else if (unit == shared::kCloseButton) {
        windows_.showMain();
        toolkit_.destroyWindow(window_);
    }
}

} // namespace tallyra::ui
