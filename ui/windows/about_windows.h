// The about window with its two live links, the changelog window and the support
// window with the support picture.
#pragma once

#include "ui/windows/secondary_window.h"

namespace tallyra::ui {

extern const WindowDesign kAboutWindowDesign;
extern const WindowDesign kChangelogWindowDesign;
extern const WindowDesign kSupportWindowDesign;

// The units of the about, changelog and support windows, besides the shared ones.
namespace about_units {
inline constexpr std::string_view kProductName = "productName";
inline constexpr std::string_view kVersion = "versionLabel";
inline constexpr std::string_view kBlogLink = "blogLink";
inline constexpr std::string_view kBlogSeparator = "blogSeparator";
inline constexpr std::string_view kQqLink = "qqLink";
inline constexpr std::string_view kQqSeparator = "qqSeparator";
inline constexpr std::string_view kChangelogLink = "changelogLink";
inline constexpr std::string_view kChangelogSeparator = "changelogSeparator";
inline constexpr std::string_view kSupportLink = "supportLink";
inline constexpr std::string_view kSupportSeparator = "supportSeparator";
inline constexpr std::string_view kQqGroupLink = "qqGroupLink";
inline constexpr std::string_view kCopyright = "copyrightLabel";
inline constexpr std::string_view kForumNotice = "forumNotice";
inline constexpr std::string_view kChangelogBox = "changelogBox";
inline constexpr std::string_view kSupportPicture = "supportPicture";
} // namespace about_units

inline constexpr std::string_view kVersionText = "1.0.3.200309";
inline constexpr std::string_view kEditionLabel = "[Korvane专版]";
// One line that fits its label at 96 DPI with the fonts a classroom PC has.
inline constexpr std::string_view kCopyrightLine = "Copyright © 2017-2026 Tallyra 版权所有";
extern const std::string_view kChangelogText;


inline constexpr Message kSupportQuestion{
    "温馨提示",
    "支持作者仅为您对软件作者表示的赞赏或支持，您不能通过付费支持的方式获取额外功能，感谢您的支持。\r\n"
    "付费支持有一个月的后悔期，在此期间无论您因为什么原因需要退款，都可以将付款截图发送给我，我将为您全额退款。\r\n"
    "您确实要继续付费支持吗？",
    kQuestionOkCancel};
inline constexpr Message kSupportThanks{
    "感谢支持", "如果使用软件过程中遇到任何BUG或者需要改进的地方，都可以给我留言。感谢您的支持！", kInformationOk};

class AboutWindow : public SecondaryWindow {
public:
    explicit AboutWindow(WindowSet& windows) : SecondaryWindow(windows) {}
    void openAbout();
    void openChangelog();
    void offerSupport();
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;

private:
    const WindowDesign& design() const override { return kAboutWindowDesign; }
    void onOpened() override { openAbout(); }
    void onClosed() override;
};

class ChangelogWindow : public SecondaryWindow {
public:
    explicit ChangelogWindow(WindowSet& windows) : SecondaryWindow(windows) {}
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;

private:
    const WindowDesign& design() const override { return kChangelogWindowDesign; }
    void onOpened() override;
    void onClosed() override;
};

class SupportWindow : public SecondaryWindow {
public:
    explicit SupportWindow(WindowSet& windows) : SecondaryWindow(windows) {}
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;

private:
    const WindowDesign& design() const override { return kSupportWindowDesign; }
    void onOpened() override;
    void onClosed() override;
};

} // namespace tallyra::ui
