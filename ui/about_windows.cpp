#include "ui/about_windows.h"

#include "ui/dpi.h"

namespace tallyra::ui {
namespace {

constexpr Color kGrey = rgb(0x808080);
constexpr Color kRed = rgb(0xFF0000);
constexpr Color kSeparatorGrey = rgb(0xC0C0C0);

constexpr UnitDesign link(std::string_view name, Rect rect, std::string_view caption, Color color = kBlack) {
    return {.name = name,
            .kind = UnitKind::Hyperlink,
            .rect = rect,
            .text = caption,
            .font = {.charHeight = 13},
            .textColor = color,
            .hoverColor = kGrey};
}

constexpr UnitDesign separator(std::string_view name, int left) {
    return {.name = name,
            .kind = UnitKind::Label,
            .rect = {left, 154, 8, 24},
            .text = "|",
            .font = {.face = "", .charHeight = 14},
            .textColor = kSeparatorGrey,
            .hAlign = HAlign::Left,
            .vAlign = VAlign::Center};
}

constexpr UnitDesign kAboutUnits[] = {
    {.name = "标签1",
     .kind = UnitKind::Label,
     .rect = {132, 60, 195, 51},
     .text = "Tallyra",
     .font = {.charHeight = 48},
     .hAlign = HAlign::Left,
     .vAlign = VAlign::Center},
    {.name = "标签2",
     .kind = UnitKind::Label,
     .rect = {76, 123, 307, 24},
     .text = "1.0.2.200308",
     .font = {.charHeight = 16},
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center},
    link("超级链接框1", {91, 157, 40, 16}, "博客"),
    separator("标签3", 129),
    link("超级链接框2", {133, 157, 40, 16}, "QQ"),
    separator("标签4", 170),
    link("超级链接框3", {181, 157, 58, 16}, "更新日志"),
    separator("标签6", 242),
    link("超级链接框4", {252, 157, 58, 16}, "支持作者", kRed),
    separator("标签7", 314),
    link("超级链接框5", {325, 157, 37, 16}, "QQ群"),
    {.name = "标签5",
     .kind = UnitKind::Label,
     .rect = {62, 182, 336, 26},
     .font = {.charHeight = 16},
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center},
    {.name = "标签8",
     .kind = UnitKind::Label,
     .rect = {18, 209, 424, 24},
     .text = "当前版本及版权声明仅限在Korvane论坛内使用，请勿上传到其他网站",
     .font = {.charHeight = 13},
     .textColor = kRed,
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center,
     .visible = false},
    {.name = "关闭",
     .kind = UnitKind::ImageButton,
     .rect = {410, 0, 50, 32},
     .text = "×",
     .font = {.face = "", .charHeight = 20},
     .background = kWhite,
     .normal = {kBlack, kWhite},
     .hot = {kBlack, kCloseHot},
     .focus = {kBlack, kWhite},
     .tooltip = "关闭"},
};

constexpr UnitRescale kAboutRescales[] = {
    {"关闭", 15},        {"标签1", 36},       {"标签2", 12},       {"标签3", 11},       {"标签4", 11},
    {"标签5", 12},       {"标签6", 11},       {"标签7", 11},       {"标签8", 10},       {"超级链接框1", 10},
    {"超级链接框2", 10}, {"超级链接框3", 10}, {"超级链接框4", 10}, {"超级链接框5", 10},
};

constexpr UnitDesign kChangelogUnits[] = {
    shared::titleLabel("Tallyra", "更新日志", 183),
    shared::closeButton("关闭", 460),
    shared::contentArea(460, 434),
    {.name = "编辑框1",
     .kind = UnitKind::EditBox,
     .rect = {1, 32, 457, 401},
     .font = {.charHeight = 21},
     .tabStop = true,
     .multiLine = true,
     .readOnly = true},
};

constexpr UnitRescale kChangelogRescales[] = {{"Tallyra", 11}, {"外形框1", {}}, {"编辑框1", 16}, {"关闭", 15}};

constexpr UnitDesign kSupportUnits[] = {
    shared::titleLabel("Tallyra", "支持作者", 183),
    shared::closeButton("关闭", 289),
    shared::contentArea(289, 425),
    {.name = "图片框1",
     .kind = UnitKind::PictureBox,
     .parent = "外形框1",
     .rect = {7, 8, 272, 376},
     .background = kWhite,
     .picture = kSupportPicture,
     .pictureMode = 2},
};

constexpr UnitRescale kSupportRescales[] = {{"关闭", 15}, {"Tallyra", 11}, {"外形框1", {}}, {"图片框1", {}}};

} // namespace

// Lines end in CR LF, except for the LF CR LF after the oldest version's heading;
// there is no line break after the last line.
const std::string_view kChangelogText =
    "Version 1.0.3.200309\r\n代码优化\r\n修复BUG\r\n\r\n"
    "Version 1.0.2.200308\r\n发布针对Korvane的版本\r\n\r\n"
    "Version 1.0.2.191204\r\n修复已知BUG\r\n添加对高DPI的支持\r\n\r\n"
    "Version 1.0.1.181012_Beta\r\n修复了大量已知BUG\r\n\r\n"
    "Version 1.0.1.180916_Beta\r\n增加主页窗体的班级显示\r\n修复部分已知BUG\r\n\r\n"
    "Version 1.0.1.180527_Beta\r\n修复部分BUG\r\n\r\n"
    "Version 1.0.1.180526_Beta\r\n完善所有功能\r\n新增更新检测功能\r\n\r\n"
    "Version 1.0.1.180525_Beta\r\n该版本添加对长学号的支持\r\n\r\n"
    "Version 1.0.0.170902_Beta\r\n软件代码重写\r\n采用新的抽取方式\r\n界面采用纯组件，减小软件体积，兼容性更好\r\n\r\n"
    "Version 1.0.0.170807_Base\n\r\n重新定义设计理念：简约、好用\r\n软件界面重画";

const WindowDesign kAboutWindowDesign{
    .name = "AboutWindow", .caption = "关于", .width = 460, .height = 264, .background = kWhite, .units = kAboutUnits};

const WindowDesign kChangelogWindowDesign{.name = "ChangelogWindow",
                                          .caption = "更新日志",
                                          .width = 460,
                                          .height = 434,
                                          .background = kTitleBlue,
                                          .canMinimise = false,
                                          .units = kChangelogUnits};

const WindowDesign kSupportWindowDesign{.name = "SupportWindow",
                                        .caption = "Tallyra",
                                        .width = 289,
                                        .height = 425,
                                        .background = kTitleBlue,
                                        .canMinimise = false,
                                        .units = kSupportUnits};

void AboutWindow::openAbout() {
    if (needsRescaling(dpiScale())) rescaleWindow(toolkit_, window_, kAboutWindowDesign, kAboutRescales);
    toolkit_.setText(window_, "标签2", kVersionText);
    for (std::string_view hidden : {"超级链接框1", "超级链接框2", "超级链接框5", "标签3", "标签4", "标签7"})
        toolkit_.setVisible(window_, hidden, false);
    toolkit_.setText(window_, "标签2", toolkit_.text(window_, "标签2") + std::string(kEditionLabel));
    toolkit_.setText(window_, "标签5", kCopyrightLine);
    toolkit_.setVisible(window_, "标签8", true);
}

void AboutWindow::openChangelog() {
    windows_.openChangelog();
    toolkit_.showWindow(window_, false);
}

void AboutWindow::offerSupport() {
    if (toolkit_.showMessage(kSupportQuestion) == MessageAnswer::Ok) {
        toolkit_.showWindow(window_, false);
        windows_.openSupport();
    } else {
        toolkit_.showMessage(kSupportThanks);
    }
}

void AboutWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event == UnitEvent::LinkPressed && unit == "超级链接框3") {
        openChangelog();
    } else if (event == UnitEvent::LinkPressed && unit == "超级链接框4") {
        offerSupport();
    } else if (event == UnitEvent::Clicked && unit == "关闭") {
        toolkit_.destroyWindow(window_);
        windows_.showSettings();
    }
}

void ChangelogWindow::onOpened() {
    // The text is set here rather than in the layout, so the layout stays a table of short values.
    toolkit_.setText(window_, "编辑框1", kChangelogText);
    if (needsRescaling(dpiScale())) rescaleWindow(toolkit_, window_, kChangelogWindowDesign, kChangelogRescales);
}

void ChangelogWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event == UnitEvent::Clicked && unit == "关闭") {
        toolkit_.destroyWindow(window_);
        windows_.showAbout();
    }
}

void SupportWindow::onOpened() {
    if (needsRescaling(dpiScale())) rescaleWindow(toolkit_, window_, kSupportWindowDesign, kSupportRescales);
}

void SupportWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event == UnitEvent::Clicked && unit == "关闭") {
        windows_.showAbout();
        toolkit_.destroyWindow(window_);
    }
}

} // namespace tallyra::ui
