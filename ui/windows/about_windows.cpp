#include "ui/windows/about_windows.h"

#include "ui/windows/window_set.h"

#include "ui/kit/dpi.h"

namespace tallyra::ui {
namespace {

using namespace about_units;

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
    {.name = kProductName,
     .controlId = 1000,
     .kind = UnitKind::Label,
     .rect = {132, 60, 195, 51},
     .text = "Tallyra",
     .font = {.charHeight = 48},
     .hAlign = HAlign::Left,
     .vAlign = VAlign::Center,
     .rescale = {2, 36}},
    {.name = kVersion,
     .controlId = 1001,
     .kind = UnitKind::Label,
     .rect = {76, 123, 307, 24},
     .text = "1.0.2.200308",
     .font = {.charHeight = 16},
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center,
     .rescale = {3, 12}},
    row(1002, {10, 10}, link(kBlogLink, {91, 157, 40, 16}, "博客")),
    row(1003, {4, 11}, separator(kBlogSeparator, 129)),
    row(1004, {11, 10}, link(kQqLink, {133, 157, 40, 16}, "QQ")),
    row(1005, {5, 11}, separator(kQqSeparator, 170)),
    row(1006, {12, 10}, link(kChangelogLink, {181, 157, 58, 16}, "更新日志")),
    row(1007, {7, 11}, separator(kChangelogSeparator, 242)),
    row(1008, {13, 10}, link(kSupportLink, {252, 157, 58, 16}, "支持作者", kRed)),
    row(1009, {8, 11}, separator(kSupportSeparator, 314)),
    row(1010, {14, 10}, link(kQqGroupLink, {325, 157, 37, 16}, "QQ群")),
    {.name = kCopyright,
     .controlId = 1011,
     .kind = UnitKind::Label,
     .rect = {62, 182, 336, 26},
     .font = {.charHeight = 16},
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center,
     .rescale = {6, 12}},
    {.name = kForumNotice,
     .controlId = 1012,
     .kind = UnitKind::Label,
     .rect = {18, 209, 424, 24},
     .text = "当前版本及版权声明仅限在Korvane论坛内使用，请勿上传到其他网站",
     .font = {.charHeight = 13},
     .textColor = kRed,
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center,
     .visible = false,
     .rescale = {9, 10}},
    {.name = shared::kCloseButton,
     .controlId = 1013,
     .kind = UnitKind::ImageButton,
     .rect = {410, 0, 50, 32},
     .text = "×",
     .font = {.face = "", .charHeight = 20},
     .background = kWhite,
     .normal = {kBlack, kWhite},
     .hot = {kBlack, kCloseHot},
     .focus = {kBlack, kWhite},
     .tooltip = "关闭",
     .rescale = {1, 15}},
};

constexpr UnitDesign kChangelogUnits[] = {
    row(1000, {1, 11}, shared::titleLabel("更新日志", 183)),
    row(1001, {4, 15}, shared::closeButton(460)),
    row(1002, {2}, shared::contentArea(460, 434)),
    {.name = kChangelogBox,
     .controlId = 1003,
     .kind = UnitKind::EditBox,
     .rect = {1, 32, 457, 401},
     .font = {.charHeight = 21},
     .tabStop = true,
     .multiLine = true,
     .readOnly = true,
     .rescale = {3, 16}},
};

constexpr UnitDesign kSupportUnits[] = {
    row(1000, {2, 11}, shared::titleLabel("支持作者", 183)),
    row(1001, {1, 15}, shared::closeButton(289)),
    row(1002, {3}, shared::contentArea(289, 425)),
    {.name = kSupportPicture,
     .controlId = 1003,
     .kind = UnitKind::PictureBox,
     .parent = shared::kContent,
     .rect = {7, 8, 272, 376},
     .background = kWhite,
     .picture = kSupportPictureResource,
     .pictureMode = 2,
     .rescale = {4}},
};

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
    rescaleForDpi();
    toolkit_.setText(window_, kVersion, kVersionText);
    for (std::string_view hidden : {kBlogLink, kQqLink, kQqGroupLink, kBlogSeparator, kQqSeparator, kSupportSeparator})
        toolkit_.setVisible(window_, hidden, false);
    toolkit_.setText(window_, kVersion, toolkit_.text(window_, kVersion) + std::string(kEditionLabel));
    toolkit_.setText(window_, kCopyright, kCopyrightLine);
    toolkit_.setVisible(window_, kForumNotice, true);
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
    if (event == UnitEvent::LinkPressed && unit == kChangelogLink) {
        openChangelog();
    } else if (event == UnitEvent::LinkPressed && unit == kSupportLink) {
        offerSupport();
    } else if (event == UnitEvent::Clicked && unit == shared::kCloseButton) {
        toolkit_.destroyWindow(window_);
        windows_.showSettings();
    }
}

void ChangelogWindow::onOpened() {
    // The text is set here rather than in the layout, so the layout stays a table of short values.
    toolkit_.setText(window_, kChangelogBox, kChangelogText);
    rescaleForDpi();
}

void ChangelogWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event == UnitEvent::Clicked && unit == shared::kCloseButton) {
        toolkit_.destroyWindow(window_);
        windows_.showAbout();
    }
}

void SupportWindow::onOpened() {
    rescaleForDpi();
}

void SupportWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event == UnitEvent::Clicked && unit == shared::kCloseButton) {
        windows_.showAbout();
        toolkit_.destroyWindow(window_);
    }
}

void AboutWindow::onClosed() {
    windows_.showSettings();
}
void ChangelogWindow::onClosed() {
    windows_.showAbout();
}
void SupportWindow::onClosed() {
    windows_.showAbout();
}

} // namespace tallyra::ui
