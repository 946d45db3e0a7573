// The about, changelog and support windows on the in-memory toolkit.
#include "storage/text_encoding.h"
#include "tests/ui/window_fixture.h"
#include "ui/dpi.h"

namespace tallyra::ui {
namespace {

class AboutWindowTest : public testing::WindowFixture {
protected:
    void SetUp() override { folder.prepare("", ""); }
    WindowId openAbout() {
        const WindowId settings = settingsId() != kNoWindow ? settingsId() : openSettings();
        toolkit.click(settings, "开始按钮1");
        return windows->about()->id();
    }
    void TearDown() override { setDpiScale(1.0f); }
};

TEST_F(AboutWindowTest, VersionAndEditionAreShownOnceOnEveryOpening) {
    for (int opening = 0; opening < 2; ++opening) {
        const WindowId about = openAbout();
        EXPECT_EQ(toolkit.text(about, "标签2"), "1.0.3.200309[Korvane专版]");
        EXPECT_EQ(toolkit.text(about, "标签5"), kCopyrightLine);
        EXPECT_TRUE(toolkit.unit(about, "标签8").visible);
        std::vector<std::string> visibleLinkRow;
        for (std::string_view unit : {"超级链接框1", "标签3", "超级链接框2", "标签4", "超级链接框3", "标签6",
                                      "超级链接框4", "标签7", "超级链接框5"})
            if (toolkit.unit(about, unit).visible) visibleLinkRow.emplace_back(unit);
        EXPECT_EQ(visibleLinkRow, (std::vector<std::string>{"超级链接框3", "标签6", "超级链接框4"}));
        toolkit.click(about, "关闭");
        EXPECT_EQ(visibleWindows(), std::vector<std::string>{"SettingsWindow"});
    }
}

TEST_F(AboutWindowTest, ChangelogHoldsTheVersionHistoryByteForByte) {
    const WindowId about = openAbout();
    toolkit.pressLink(about, "超级链接框3");
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"ChangelogWindow"});
    const std::string text = toolkit.text(windows->changelog()->id(), "编辑框1");
    const std::string bytes = encodeForFile(text);
    EXPECT_EQ(bytes.size(), 595u);
    EXPECT_TRUE(text.starts_with("Version 1.0.3.200309\r\n代码优化\r\n"));
    EXPECT_NE(text.find("Version 1.0.0.170807_Base\n\r\n重新定义设计理念：简约、好用"), std::string::npos);
    EXPECT_TRUE(text.ends_with("软件界面重画"));
    EXPECT_TRUE(toolkit.unit(windows->changelog()->id(), "编辑框1").design->readOnly);
    toolkit.click(windows->changelog()->id(), "关闭");
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"AboutWindow"});
}

TEST_F(AboutWindowTest, SupportIsOfferedWithAQuestionAndThanksOnCancel) {
    const WindowId about = openAbout();
    toolkit.answers = {MessageAnswer::Cancel};
    toolkit.pressLink(about, "超级链接框4");
    EXPECT_EQ(toolkit.messages, (std::vector<Message>{kSupportQuestion, kSupportThanks}));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"AboutWindow"});

    toolkit.answers = {MessageAnswer::Ok};
    toolkit.pressLink(about, "超级链接框4");
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"SupportWindow"});
    const auto& picture = toolkit.unit(windows->support()->id(), "图片框1");
    EXPECT_EQ(picture.design->picture, kSupportPicture);
    EXPECT_EQ(picture.design->pictureMode, 2);

    // Closed from the taskbar, the support window still brings the about window back.
    toolkit.destroyWindow(windows->support()->id());
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"AboutWindow"});
}

TEST_F(AboutWindowTest, At120DpiTheAboutWindowGrowsAndItsProductNameGetsThirtySixPoints) {
    toolkit.pixelsPerInch = 120;
    startProgram(); // measures the scale
    const WindowId about = openAbout();
    EXPECT_EQ(toolkit.windowRect(about).width, 575);
    EXPECT_EQ(toolkit.windowRect(about).height, 330);
    EXPECT_EQ(toolkit.unit(about, "标签1").charHeight, 60);
    EXPECT_EQ(toolkit.unit(about, "超级链接框3").rect, (Rect{226, 196, 72, 20}));
}

} // namespace
} // namespace tallyra::ui
