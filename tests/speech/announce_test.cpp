// The announcement of a settled student and the start-up voice check, against a
// recording voice and a temporary settings file: when the switch counts as on,
// what is said, the failure notice, and that a refusal never disturbs the roll call.
#include "speech/announce.h"

#include "draw/roll_call.h"
#include "speech_test_support.h"
#include "tests/support/fake_main_window.h"

#include <gtest/gtest.h>

#include <fstream>
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
        RecordingBoxes boxes;
        announcePick(voice, boxes, "07", "张三");
        if (c.on) {
            EXPECT_EQ(voice.spoken, std::vector<std::string>{"07号张三"}) << describe(c.voice);
        } else {
            EXPECT_TRUE(voice.spoken.empty()) << describe(c.voice);
        }
        EXPECT_TRUE(boxes.shown.empty()) << describe(c.voice);
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
        RecordingBoxes boxes;
        announcePick(voice, boxes, c.number, c.name);
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
    RecordingBoxes boxes;
    folder.setVoice("True");
    announcePick(voice, boxes, "01", "甲");
    folder.setVoice("False");
    announcePick(voice, boxes, "02", "乙");
    folder.setVoice("True");
    announcePick(voice, boxes, "03", "丙");
    EXPECT_EQ(voice.spoken, (std::vector<std::string>{"01号甲", "03号丙"}));
}

using testing::FakeMainWindow;

TEST(AnnouncePickTest, SettledDrawIsSpokenAndARefusalShowsTheNoticeOnceWhileTheStopCompletes) {
    for (const bool accepts : {true, false}) {
        ProgramFolder folder;
        folder.setVoice("True");
        FakeVoice voice;
        voice.accepts = accepts;
        FakeMainWindow window;
        RollCall rollCall;
        rollCall.loadRoster({{"01", "02", "03"}, {"甲", "乙", "丙"}});
        rollCall.setSettleListener(
            [&](const std::string& number, const std::string& name) { announcePick(voice, window, number, name); });

        rollCall.pressStartStop(window);
        rollCall.rollTick(window);
        rollCall.pressStartStop(window);

        EXPECT_EQ(voice.spoken, std::vector<std::string>{window.number + "号" + window.name}) << accepts;
        if (accepts) {
            EXPECT_TRUE(window.shown.empty());
        } else {
            EXPECT_EQ(window.shown, std::vector<Message>{kSpeakFailedNotice});
        }
        EXPECT_EQ(window.buttonCaption, kStartCaption) << accepts;
        EXPECT_EQ(window.interval, 0) << accepts;
        EXPECT_EQ(rollCall.drawPool().size(), 2u) << accepts;
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
            const std::string before = fileBytes(settingsFilePath());
            FakeVoice voice;
            voice.voices = *installed;
            RecordingBoxes boxes;

            checkVoicesAtStart(voice, boxes);

            const bool warns = c.on && installed->empty();
            EXPECT_EQ(boxes.shown, warns ? std::vector<Message>{kNoVoiceMessage} : std::vector<Message>{})
                << describe(c.voice) << ", " << installed->size() << " voices";
            EXPECT_EQ(voice.listCalls, c.on ? 1 : 0) << describe(c.voice);
            EXPECT_EQ(fileBytes(settingsFilePath()), before) << describe(c.voice);
        }
    }
}

} // namespace
} // namespace tallyra
