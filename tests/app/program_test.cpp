// The program's entry sequence on the in-memory toolkit: the voice is created and
// checked at start, a settled student is announced to the main window's feedback
// label, closing the main window ends the loop with exit code 0, and the voice is
// released when the program ends.
#include "app/program.h"
#include "speech/announce.h"
#include "tests/support/program_folder.h"
#include "tests/ui/memory_toolkit.h"
#include "ui/windows/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallyra::app {
namespace {

using tallyra::testing::ProgramFolder;
using ui::testing::MemoryToolkit;

struct VoiceRecord {
    std::vector<std::string> spoken;
    std::vector<NativeWindow> receivers;
    int released = 0;
};

class RecordingVoice : public SpeechVoice {
public:
    RecordingVoice(VoiceRecord& record, bool hasVoice) : record_(record), hasVoice_(hasVoice) {}
    ~RecordingVoice() override { ++record_.released; }
    std::vector<std::string> listVoices() override {
        return hasVoice_ ? std::vector<std::string>{"Chinese"} : std::vector<std::string>{};
    }
    bool speakText(std::string_view text) override {
        record_.spoken.emplace_back(text);
        record_.receivers.push_back(receiver());
        return hasVoice_;
    }

private:
    VoiceRecord& record_;
    bool hasVoice_;
};

// Hands out each unit's record as its native handle, so the voice's receiver can be told apart.
class HandleToolkit : public MemoryToolkit {
public:
    NativeWindow nativeHandle(ui::WindowId window, std::string_view unit) const override {
        return reinterpret_cast<NativeWindow>(const_cast<ui::testing::UnitState*>(&this->unit(window, unit)));
    }
};

class ProgramTest : public ::testing::Test {
protected:
    // Runs the program with a message loop that does what `user` does to the main window.
    int run(bool hasVoice, const std::function<void(ui::WindowId)>& user) {
        Platform platform{toolkit,
                          [this, &user] {
                              user(toolkit.find("MainWindow"));
                              return toolkit.exitCode.value_or(-1);
                          },
                          [this, hasVoice] { return std::make_unique<RecordingVoice>(voice, hasVoice); },
                          [this] { return toFilePath(folder.path()); }};
        return runProgram(platform);
    }

    ProgramFolder folder;
    HandleToolkit toolkit;
    VoiceRecord voice;
};

TEST_F(ProgramTest, SettledStudentIsAnnouncedToTheFeedbackLabelAndCloseEndsWithZero) {
    folder.prepare("一班", "一班", "True");
    folder.addRoster("一班", {{"07"}, {"张三"}});
    NativeWindow feedbackLabel = nullptr;
    const int exitCode = run(true, [this, &feedbackLabel](ui::WindowId main) {
        feedbackLabel = toolkit.nativeHandle(main, ui::main_units::kFeedbackLabel);
        toolkit.click(main, ui::main_units::kStartStop);
        toolkit.tick(main, ui::main_units::kRollTimer);
        toolkit.click(main, ui::main_units::kStartStop);
        toolkit.click(main, ui::shared::kCloseButton);
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(voice.spoken, std::vector<std::string>{"07号张三"});
    ASSERT_EQ(voice.receivers.size(), 1u);
    EXPECT_NE(voice.receivers[0], nullptr);
    EXPECT_EQ(voice.receivers[0], feedbackLabel);
    EXPECT_TRUE(toolkit.messages.empty());
}

TEST_F(ProgramTest, VoiceCheckAndFailedSpeechShowTheirNotices) {
    folder.prepare("一班", "一班", "True");
    folder.addRoster("一班", {{"01"}, {"李四"}});
    run(false, [this](ui::WindowId main) {
        toolkit.click(main, ui::main_units::kStartStop);
        toolkit.tick(main, ui::main_units::kRollTimer);
        toolkit.click(main, ui::main_units::kStartStop);
        toolkit.click(main, ui::shared::kCloseButton);
    });
    EXPECT_EQ(toolkit.messages, (std::vector<Message>{kNoVoiceMessage, kSpeakFailedNotice}));
}

TEST_F(ProgramTest, SpeechSwitchedOffSpeaksNothing) {
    folder.prepare("一班", "一班", "False");
    folder.addRoster("一班", {{"01"}, {"李四"}});
    run(false, [this](ui::WindowId main) {
        toolkit.click(main, ui::main_units::kStartStop);
        toolkit.tick(main, ui::main_units::kRollTimer);
        toolkit.click(main, ui::main_units::kStartStop);
        toolkit.click(main, ui::shared::kCloseButton);
    });
    EXPECT_TRUE(voice.spoken.empty());
    EXPECT_TRUE(toolkit.messages.empty());
}

TEST_F(ProgramTest, TheVoiceIsReleasedOnceWhenTheProgramEnds) {
    folder.prepare("一班", "一班");
    int releasedWhileRunning = -1;
    run(true, [this, &releasedWhileRunning](ui::WindowId main) {
        releasedWhileRunning = voice.released;
        toolkit.click(main, ui::shared::kCloseButton);
    });
    EXPECT_EQ(releasedWhileRunning, 0);
    EXPECT_EQ(voice.released, 1);
}

} // namespace
} // namespace tallyra::app
