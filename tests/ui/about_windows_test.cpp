// The about, changelog and support windows on the in-memory toolkit.
#include "storage/text_encoding.h"
#include "tests/ui/window_fixture.h"
#include "ui/kit/dpi.h"

namespace tallyra::ui {
namespace {

class AboutWindowTest : public testing::WindowFixture {
protected:
    void SetUp() override { folder.prepare("", ""); }
    WindowId openAbout() {
        const WindowId settings = settingsId() != kNoWindow ? settingsId() : openSettings();
        toolkit.click(settings, settings_units::kAboutButton);
        return windows->about()->id();
    }
};

TEST_F(AboutWindowTest, VersionAndEditionAreShownOnceOnEveryOpening) {
    for (int opening = 0; opening < 2; ++opening) {
        const WindowId about = openAbout();
        EXPECT_EQ(toolkit.text(about, about_units::kVersion), "1.0.3.200309[Korvane专版]");
        EXPECT_TRUE(toolkit.unit(about, about_units::kForumNotice).visible);
        std::vector<std::string> visibleLinkRow;
        using namespace about_units;
        for (std::string_view unit : {kBlogLink, kBlogSeparator, kQqLink, kQqSeparator, kChangelogLink,
                                      kChangelogSeparator, kSupportLink, kSupportSeparator, kQqGroupLink})
            if (toolkit.unit(about, unit).visible) visibleLinkRow.emplace_back(unit);
        EXPECT_EQ(visibleLinkRow,
                  (std::vector<std::string>{std::string(kChangelogLink), std::string(kChangelogSeparator),
                                            std::string(kSupportLink)}));
        toolkit.click(about, shared::kCloseButton);
        EXPECT_EQ(visibleWindows(), std::vector<std::string>{"SettingsWindow"});
    }
}

TEST_F(AboutWindowTest, ChangelogHoldsTheVersionHistoryByteForByte) {
    const WindowId about = openAbout();
    toolkit.pressLink(about, about_units::kChangelogLink);
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"ChangelogWindow"});
    const std::string text = toolkit.text(windows->changelog()->id(), about_units::kChangelogBox);
    EXPECT_EQ(encodeForFile(text).size(), 595u); // the history's own length in the file encoding
    toolkit.click(windows->changelog()->id(), shared::kCloseButton);
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"AboutWindow"});
}

TEST_F(AboutWindowTest, SupportIsOfferedWithAQuestionAndThanksOnCancel) {
    const WindowId about = openAbout();
    toolkit.answers = {MessageAnswer::Cancel};
    toolkit.pressLink(about, about_units::kSupportLink);
    EXPECT_EQ(toolkit.messages, (std::vector<Message>{kSupportQuestion, kSupportThanks}));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"AboutWindow"});

    toolkit.answers = {MessageAnswer::Ok};
    toolkit.pressLink(about, about_units::kSupportLink);
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"SupportWindow"});

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
    EXPECT_EQ(toolkit.unit(about, about_units::kProductName).charHeight, 60);
    EXPECT_EQ(toolkit.unit(about, about_units::kChangelogLink).rect, (Rect{226, 196, 72, 20}));
}

} // namespace
} // namespace tallyra::ui
