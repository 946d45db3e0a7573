// The trigger other programs call: the verbs on the command line, the answer on
// the channel, and what the running copy does for a draw and a pick.
#include "app/remote_draw.h"
#include "app/trigger.h"
#include "tests/ui/window_fixture.h"

#include <deque>
#include <functional>
#include <random>

namespace tallyra::app {
namespace {

TEST(TriggerVerbs, BothSpellingsInAnyCaseAndNothingElse) {
    struct Row {
        std::vector<std::string> arguments;
        TriggerVerb verb;
    } rows[] = {
        {{}, TriggerVerb::None},
        {{"/draw"}, TriggerVerb::Draw},
        {{"--draw"}, TriggerVerb::Draw},
        {{"/DRAW"}, TriggerVerb::Draw},
        {{"--Pick"}, TriggerVerb::Pick},
        {{"/pick", "/draw"}, TriggerVerb::Pick},
        {{"draw", "-draw", "/draws", "---draw", "//pick", "/"}, TriggerVerb::None},
        {{"C:\\x", "/pick"}, TriggerVerb::Pick},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parseTriggerVerb(row.arguments), row.verb) << (row.arguments.empty() ? "" : row.arguments[0]);
    for (TriggerVerb verb : {TriggerVerb::Draw, TriggerVerb::Pick})
        EXPECT_EQ(verbFromWord(verbWord(verb)), verb);
    EXPECT_EQ(verbFromWord("quit"), TriggerVerb::None);
}

TEST(TriggerAnswers, RoundTripAndRefuseWhatIsNoAnswer) {
    std::mt19937 random(3);
    for (int i = 0; i < 300; ++i) {
        TriggerAnswer answer{static_cast<TriggerCode>(random() % 6), {}};
        for (std::size_t n = random() % 20; n > 0; --n)
            answer.text.push_back(static_cast<char>(random() % 256));
        EXPECT_EQ(decodeAnswer(encodeAnswer(answer)), answer);
    }
    for (const char* bytes : {"", "0", "\t张三", "x\t", "6\t", "-1\t", "01x\tA", " 0\t"})
        EXPECT_EQ(decodeAnswer(bytes), std::nullopt) << bytes;
    EXPECT_EQ(folderKey("/opt/点名"), folderKey("/opt/点名"));
    EXPECT_NE(folderKey("/opt/点名"), folderKey("/opt/点名2"));
    EXPECT_EQ(folderKey("").size(), 16u);
}

class RemoteDrawTest : public ui::testing::WindowFixture {
protected:
    void startRemote() {
        startProgram();
        windows->session().setKeptListener([this](const SettledPick& pick) {
            if (remote) remote->settled(pick);
        });
        remote = std::make_unique<RemoteDraw>(*windows, [this](int milliseconds, std::function<void()> function) {
            delays.push_back(milliseconds);
            pending.push_back(std::move(function));
        });
    }
    // Calls with the verb and runs what it put off, in order, like the event loop.
    std::optional<TriggerAnswer> call(TriggerVerb verb) {
        std::optional<TriggerAnswer> answer;
        remote->handle(
            verb, [&](const TriggerAnswer& given) { answer = given; }, [this] { return callerWaits; });
        while (!pending.empty()) {
            std::function<void()> next = std::move(pending.front());
            pending.pop_front();
            if (!answer) toolkit.tick(mainId(), ui::main_units::kRollTimer);
            next();
        }
        return answer;
    }

    std::unique_ptr<RemoteDraw> remote;
    std::deque<std::function<void()>> pending;
    std::vector<int> delays;
    bool callerWaits = true;
};

TEST_F(RemoteDrawTest, APickRollsSettlesAndAnswersWithTheStudentThenTheRoundEndAsks) {
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1", "2"}, {"甲", "乙"}});
    startRemote();
    std::set<std::string> picked;
    for (int i = 0; i < 2; ++i) {
        const std::optional<TriggerAnswer> answer = call(TriggerVerb::Pick);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->code, TriggerCode::Done);
        EXPECT_TRUE(answer->text == "1\t甲" || answer->text == "2\t乙") << answer->text;
        picked.insert(answer->text);
        EXPECT_EQ(toolkit.text(mainId(), ui::main_units::kStartStop), "开始");
    }
    EXPECT_EQ(picked.size(), 2u);
    EXPECT_NE(std::find(delays.begin(), delays.end(), kPickRollMs), delays.end());
    // The round is over: No gives no pick; Yes a pick of the new round.
    toolkit.answers.push_back(MessageAnswer::No);
    EXPECT_EQ(call(TriggerVerb::Pick)->code, TriggerCode::NoNewRound);
    toolkit.answers.push_back(MessageAnswer::Yes);
    EXPECT_EQ(call(TriggerVerb::Pick)->code, TriggerCode::Done);
    EXPECT_EQ(windows->rollCall().drawPool().size(), 1u);
    // A caller that gave up: Yes starts the new round, without a roll.
    call(TriggerVerb::Pick);
    callerWaits = false;
    toolkit.answers.push_back(MessageAnswer::Yes);
    call(TriggerVerb::Pick);
    EXPECT_EQ(windows->rollCall().drawPool().size(), 2u);
    EXPECT_EQ(toolkit.text(mainId(), ui::main_units::kStartStop), "开始");
}

TEST_F(RemoteDrawTest, RefusalsSayWhyWithTheirOwnCodes) {
    folder.prepare("", "");
    startRemote();
    EXPECT_EQ(call(TriggerVerb::Pick)->code, TriggerCode::NoStudents);
    // A box waits for the teacher: neither verb acts.
    folder.prepare("一班", "一班");
    folder.addRoster("一班", {{"1"}, {"甲"}});
    windows.reset();
    startRemote();
    toolkit.waitingForAnswer = true;
    EXPECT_EQ(call(TriggerVerb::Draw)->code, TriggerCode::Busy);
    EXPECT_EQ(call(TriggerVerb::Pick)->code, TriggerCode::Busy);
    EXPECT_FALSE(toolkit.window(mainId()).floating);
    toolkit.waitingForAnswer = false;
    // Draw is one step of the hot key's cycle.
    EXPECT_EQ(call(TriggerVerb::Draw)->code, TriggerCode::Done);
    EXPECT_EQ(toolkit.text(mainId(), ui::main_units::kStartStop), "停止");
    // A pick while a roll runs settles that roll.
    const std::optional<TriggerAnswer> settled = call(TriggerVerb::Pick);
    EXPECT_EQ(settled, (TriggerAnswer{TriggerCode::Done, "1\t甲"}));
    // Every student absent.
    windows->rollCall().setAbsent({true});
    EXPECT_EQ(call(TriggerVerb::Pick)->code, TriggerCode::AllAbsent);
}

} // namespace
} // namespace tallyra::app
