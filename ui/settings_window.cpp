#include "ui/settings_window.h"

#include "storage/ini_file.h"
#include "storage/lists.h"
#include "storage/paths.h"
#include "storage/roster.h"
#include "storage/settings.h"
#include "ui/dpi.h"

namespace tallyra::ui {
namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 193;

constexpr UnitDesign radio(std::string_view name, Rect rect, std::string_view caption) {
    return {.name = name,
            .kind = UnitKind::RadioBox,
            .parent = "外形框1",
            .rect = rect,
            .text = caption,
            .font = {.charHeight = 19},
            .tabStop = true};
}

constexpr UnitDesign kUnits[] = {
    shared::titleLabel("设置", "设置", 183),
    shared::minimiseButton("最小化"),
    shared::closeButton("关闭", kWidth),
    shared::contentArea(kWidth, kHeight),
    shared::contentLabel("标签1", {15, 16, 136, 24}, "当前选择班级:"),
    {.name = "组合框1",
     .kind = UnitKind::ComboBox,
     .parent = "外形框1",
     .rect = {143, 14, 288, 20},
     .font = {.charHeight = 19},
     .tabStop = true},
    shared::contentLabel("标签2", {15, 56, 136, 24}, "语音播报开关:"),
    radio("语音_开启", {143, 58, 70, 24}, "开启"),
    radio("语音_关闭", {224, 58, 70, 24}, "关闭"),
    // The first frame lies on the window, the other two on the content area, at the same height on screen.
    shared::buttonFrame("按钮1", "", 18, 128, 136, 49),
    shared::framedButton("开始按钮", "按钮1", 134, 47, "班级管理", 19),
    shared::buttonFrame("按钮2", "外形框1", 152, 96, 137, 49),
    shared::framedButton("开始按钮1", "按钮2", 135, 47, "关于", 19),
    shared::buttonFrame("按钮3", "外形框1", 288, 96, 137, 49),
    shared::framedButton("开始按钮2", "按钮3", 135, 47, "检查更新", 19),
};

constexpr UnitRescale kRescales[] = {
    {"设置", 11},   {"标签1", 14},    {"标签2", 14},     {"外形框1", {}},   {"关闭", 15},
    {"最小化", 11}, {"开始按钮", 14}, {"开始按钮1", 14}, {"开始按钮2", 14}, {"按钮1", {}},
    {"按钮2", {}},  {"按钮3", {}},    {"组合框1", 14},   {"语音_开启", 14}, {"语音_关闭", 14},
};

} // namespace

const WindowDesign kSettingsWindowDesign{.name = "SettingsWindow",
                                         .caption = "Tallyra",
                                         .width = kWidth,
                                         .height = kHeight,
                                         .background = kTitleBlue,
                                         .units = kUnits};

void SettingsWindow::onOpened() {
    if (needsRescaling(dpiScale())) rescaleWindow(toolkit_, window_, kSettingsWindowDesign, kRescales);

    const bool voiceOn = settings::voiceOn();
    toolkit_.setChecked(window_, "语音_开启", voiceOn);
    toolkit_.setChecked(window_, "语音_关闭", !voiceOn);

    const std::string classList = settings::classList();
    if (classList.empty()) return;
    if (classList.find(',') == std::string::npos) {
        toolkit_.addItem(window_, kClassBox, classList);
        toolkit_.setSelection(window_, kClassBox, 0);
        return;
    }
    int index = 0;
    for (const std::string& name : splitList(classList, ",")) {
        toolkit_.addItem(window_, kClassBox, name);
        if (name == settings::currentClass()) toolkit_.setSelection(window_, kClassBox, index);
        ++index;
    }
    // Several classes and none of them current: the first one becomes current.
    if (toolkit_.selection(window_, kClassBox) < 0 && toolkit_.itemCount(window_, kClassBox) > 0) {
        toolkit_.setSelection(window_, kClassBox, 0);
        applyClassChoice();
    }
}

void SettingsWindow::onClosed() {
    windows_.main().show();
}

std::string SettingsWindow::classBoxText() const {
    return toolkit_.selectedItemText(window_, kClassBox);
}

bool SettingsWindow::hasSelectedClass() const {
    return toolkit_.selection(window_, kClassBox) >= 0;
}

void SettingsWindow::addClass(std::string_view name, bool select) {
    toolkit_.addItem(window_, kClassBox, name);
    if (select) toolkit_.setSelection(window_, kClassBox, toolkit_.itemCount(window_, kClassBox) - 1);
}

void SettingsWindow::renameClass(int index, std::string_view name) {
    toolkit_.setItemText(window_, kClassBox, index, name);
}

void SettingsWindow::removeClass(int index, std::optional<int> select) {
    toolkit_.removeItem(window_, kClassBox, index);
    if (!select) return;
    toolkit_.setSelection(window_, kClassBox, *select);
    applyClassChoice();
}

void SettingsWindow::applyClassChoice() {
    const std::string className = classBoxText();
    // A failed write leaves the current class, and the roll call with it, as they were.
    if (!settings::setCurrentClass(className)) {
        toolkit_.showMessage(kDataNotSaved);
        return;
    }
    windows_.rollCall().loadRoster({});
    windows_.rollCall().loadRoster(readRoster(className));
    windows_.main().showClassTitle(className);
    windows_.main().clearDisplay();
}

void SettingsWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (unit == kClassBox && event == UnitEvent::ItemChosen) {
        applyClassChoice();
    } else if (event != UnitEvent::Clicked) {
        return;
    } else if (unit == "语音_开启" || unit == "语音_关闭") {
        const bool on = unit == "语音_开启";
        if (!settings::setVoiceOn(on)) {
            toolkit_.showMessage(kDataNotSaved);
            // The boxes keep showing what is stored.
            const bool storedOn = settings::voiceOn();
            toolkit_.setChecked(window_, "语音_开启", storedOn);
            toolkit_.setChecked(window_, "语音_关闭", !storedOn);
        }
    } else if (unit == "开始按钮") {
        windows_.openClassManagement();
        toolkit_.showWindow(window_, false);
    } else if (unit == "开始按钮1") {
        windows_.openAbout();
        toolkit_.showWindow(window_, false);
    } else if (unit == "开始按钮2") {
        if (toolkit_.showMessage(kUpdateNotice) == MessageAnswer::Ok) toolkit_.openInBrowser(kUpdatePageAddress);
    } else if (unit == "最小化") {
        toolkit_.minimiseWindow(window_);
    } else if (unit == "关闭") {
        windows_.main().show();
        toolkit_.destroyWindow(window_);
    }
}

} // namespace tallyra::ui
