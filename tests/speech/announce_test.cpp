// The announcement of a settled student and the start-up voice check, against a
// recording voice and a temporary settings file: when the switch counts as on,
// what is said, the failure notice, and that a refusal never disturbs the roll call.
#include "speech/announce.h"

#include "draw/class_session.h"
#include "draw/roll_call.h"
#include "speech_test_support.h"
#include "storage/pick_record.h"
#include "storage/platform/append.h"
#include "storage/platform/file_system.h"
#include "tests/support/fake_main_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace tallyra {
namespace {

using testing::FakeVoice;
using testing::ProgramFolder;

class RecordingBoxes : public MessageBoxes {
public:
    MessageAnswer showMessage(const Message& message) override {
        shown.push_back(message);
        return MessageAnswer::Ok;
    }
    std::vector<Message> shown;
};

struct SwitchCase {
    std::optional<std::string> voice; // nullopt: the settings file has no Voice item
    bool on;
};

const SwitchCase kSwitchCases[] = {
    {"True", true}, {"true", false}, {"TRUE", false},  {"False", false},
    {"", false},    {"1", false},    {"Truee", false}, {std::nullopt, false},
};

std::string describe(const std::optional<std::string>& voice) {
    return voice ? "Voice=\"" + *voice + "\"" : "no Voice";
}

TEST(AnnouncePickTest, SpeaksOnlyWhenVoiceIsExactlyTrue) {
    for (const SwitchCase& c : kSwitchCases) {
        ProgramFolder folder;
        folder.setVoice(c.voice);
        FakeVoice voice;
        EXPECT_TRUE(announcePick(voice, folder.data(), "07", "张三"));
        if (c.on) {
            EXPECT_EQ(voice.spoken, std::vector<std::string>{"07号张三"}) << describe(c.voice);
        } else {
            EXPECT_TRUE(voice.spoken.empty()) << describe(c.voice);
        }
    }
}

TEST(AnnouncePickTest, JoinsNumberSuffixAndNameWithoutSpaces) {
    struct Case {
        std::string number, name, text;
    };
    const Case cases[] = {
        {"07", "张三", "07号张三"},       {"12", "李四", "12号李四"},
        {"A-3", "Li Lei", "A-3号Li Lei"}, // spaces inside a name stay
        {"", "王五", "号王五"},           {"08", "", "08号"},
    };
    ProgramFolder folder;
    folder.setVoice("True");
    for (const Case& c : cases) {
        FakeVoice voice;
        EXPECT_TRUE(announcePick(voice, folder.data(), c.number, c.name));
        EXPECT_EQ(voice.spoken, std::vector<std::string>{c.text});
    }
}

// A leading listed surname is read with its surname reading; the rest of the text stays.
TEST(AnnouncementTextTest, EachEngineGetsTheSurnameReadingOfALeadingSurname) {
    struct Case {
        std::string number, name, pinyin, sapiXml;
    };
    const Case cases[] = {
        {"07", "曾小明", "07号zeng1 小明", "07号<PRON SYM=\"zeng 1\">曾</PRON>小明"},
        {"07", "小曾", "07号小曾", "07号小曾"}, // not at the start
        {"3", "尉迟敬德", "3号yu4 chi2 敬德", "3号<PRON SYM=\"yu 4 chi 2\">尉迟</PRON>敬德"},
        {"1", "单于飞", "1号shan4 于飞", "1号<PRON SYM=\"shan 4\">单</PRON>于飞"}, // 单于 is not taken as one
        {"<b>&", "乐'三\"", "<b>&号乐'三\"", "&lt;b&gt;&amp;号乐&apos;三&quot;"},
        {"A\x01", "曾", "A\x01号zeng1 ", "A 号<PRON SYM=\"zeng 1\">曾</PRON>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pinyinAnnouncement(c.number, c.name), c.pinyin) << c.name;
        EXPECT_EQ(sapiAnnouncementXml(c.number, c.name), c.sapiXml) << c.name;
    }
}

TEST(AnnouncePickTest, ReadsTheSwitchAfreshAtEveryCall) {
    ProgramFolder folder;
    FakeVoice voice;
    folder.setVoice("True");
    (void)announcePick(voice, folder.data(), "01", "甲");
    folder.setVoice("False");
    (void)announcePick(voice, folder.data(), "02", "乙");
    folder.setVoice("True");
    (void)announcePick(voice, folder.data(), "03", "丙");
    EXPECT_EQ(voice.spoken, (std::vector<std::string>{"01号甲", "03号丙"}));
}

using testing::FakeMainWindow;

// A settled pick in its order: the announcement is queued before the disk is
// touched, the round file and the record are written before any box, every failure
// is told after both writes, and the caption turns back to Start last.
TEST(SettledPickTest, TheVoiceComesFirstThenBothWritesThenEveryFailureThenTheCaption) {
    struct Row {
        const char* what;
        bool voiceAccepts;
        bool writesFail;
        std::vector<std::string_view> told; // the start of each text told, in order
    };
    const Row rows[] = {
        {"all kept", true, false, {}},
        {"voice refuses", false, false, {kSpeakFailedNotice.text}},
        {"everything fails", false, true, {kRoundSaveFailed.text, "点名记录未能写入", kSpeakFailedNotice.text}},
    };
    struct Window : FakeMainWindow {
        std::function<void()> onBox;
        MessageAnswer showMessage(const Message& message) override {
            if (onBox) onBox();
            return FakeMainWindow::showMessage(message);
        }
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ProgramFolder folder;
        folder.prepare("一班", "一班", "True");
        folder.addRoster("一班", {{"01", "02", "03"}, {"甲", "乙", "丙"}});
        const DataFolder data = folder.data();
        Window window;
        FakeVoice voice;
        voice.accepts = row.voiceAccepts;
        RollCall rollCall;
        ClassSession session(rollCall, window, data);
        session.start();
        bool roundWrittenBeforeVoice = false;
        session.setAnnouncer([&](const SettledPick& pick) -> std::optional<Message> {
            roundWrittenBeforeVoice = std::filesystem::exists(toFsPath(roundFilePath(data, "一班")));
            if (announcePick(voice, data, pick.number, pick.name)) return std::nullopt;
            return kSpeakFailedNotice;
        });
        window.onBox = [&] {
            EXPECT_EQ(window.buttonCaption, kStopCaption);
            std::size_t recorded = 0;
            (void)readPickRecord(data, [&](const Pick&) { ++recorded; });
            EXPECT_EQ(recorded, row.writesFail ? 0u : 1u);
        };
        if (row.writesFail) {
            platform::setReplaceFailureHook([](const FilePath&) { return true; });
            platform::setAppendFailureHook([](const FilePath&) { return true; });
        }
        rollCall.pressStartStop(window);
        rollCall.rollTick(window);
        rollCall.pressStartStop(window);
        platform::setReplaceFailureHook(nullptr);
        platform::setAppendFailureHook(nullptr);

        EXPECT_FALSE(roundWrittenBeforeVoice);
        EXPECT_EQ(voice.spoken, std::vector<std::string>{window.number + "号" + window.name});
        ASSERT_EQ(window.shown.size(), row.told.size());
        for (std::size_t i = 0; i < row.told.size(); ++i) EXPECT_TRUE(window.shown[i].text.starts_with(row.told[i]));
        EXPECT_EQ(window.buttonCaption, kStartCaption);
        EXPECT_EQ(rollCall.drawPool().size(), 2u);
    }
}

std::string fileBytes(const FilePath& path) {
    std::ifstream in(toFsPath(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(CheckVoicesAtStartTest, WarnsOnlyWhenSwitchedOnWithoutVoicesAndChangesNothing) {
    const std::vector<std::string> none;
    const std::vector<std::string> one{"Microsoft Huihui Desktop - Chinese (Simplified)"};
    for (const SwitchCase& c : kSwitchCases) {
        for (const auto* installed : {&none, &one}) {
            ProgramFolder folder;
            folder.setVoice(c.voice);
            const std::string before = fileBytes(folder.data().settingsFile());
            FakeVoice voice;
            voice.voices = *installed;
            RecordingBoxes boxes;

            checkVoicesAtStart(voice, boxes, folder.data());

            const bool warns = c.on && installed->empty();
            EXPECT_EQ(boxes.shown, warns ? std::vector<Message>{kNoVoiceMessage} : std::vector<Message>{})
                << describe(c.voice) << ", " << installed->size() << " voices";
            EXPECT_EQ(voice.listCalls, c.on ? 1 : 0) << describe(c.voice);
            EXPECT_EQ(fileBytes(folder.data().settingsFile()), before) << describe(c.voice);
        }
    }
}

} // namespace
} // namespace tallyra
