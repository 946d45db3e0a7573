// The record of picks: any field reads back as written and never starts like a
// formula in the file; appends never rewrite earlier lines, also after a cut one.
#include "storage/pick_record.h"
#include "storage/pick_record_summary.h"
#include "storage/platform/append.h"
#include "storage/student_marks.h"
#include "tests/storage/data_folder.h"

#include <cctype>
#include <memory>
#include <random>

namespace tallyra {
namespace {

namespace fs = std::filesystem;

class PickRecordTest : public testing::DataFolderTest {};

TEST_F(PickRecordTest, EveryFieldReadsBackAndNoneStartsLikeAFormula) {
    std::mt19937 random(20261207);
    const std::string alphabet[] = {"=",  "+",  "-", "@",  "'", "\"",   ",",  "\r",
                                    "\n", "\t", "a", "张", " ", "\x01", "＝", "＠"};
    std::vector<Pick> picks;
    for (int i = 0; i < 6000; ++i) {
        std::string fields[4];
        for (std::string& field : fields) {
            for (int n = static_cast<int>(random() % 5); n > 0; --n)
                field += alphabet[random() % std::size(alphabet)];
            const std::string written = csvField(field);
            const char start = written.starts_with('"') && written.size() > 1 ? written[1] : written[0];
            ASSERT_EQ(std::string_view("=+-@").find(start), std::string_view::npos) << written;
        }
        picks.push_back({fields[0], fields[1], fields[2], fields[3], random() % 7 == 0}); // some taken back
        const std::string line = pickLine(picks.back());
        ASSERT_EQ(parsePickRecord(line), std::vector<Pick>{picks.back()}) << line;
    }
    std::string all;
    for (const Pick& pick : picks)
        all += pickLine(pick);
    EXPECT_EQ(parsePickRecord(all), picks);
    // Read as a stream, in pieces whose ends fall inside quotes and line ends.
    testing::writeBytes(data(kPickRecordFileName), "\xEF\xBB\xBF时间,班级,学号,姓名\r\n" + all);
    std::vector<Pick> streamed;
    EXPECT_EQ(readPickRecord(dataFolder(), [&](const Pick& pick) { streamed.push_back(pick); }).outcome,
              platform::ReadOutcome::Read);
    EXPECT_EQ(streamed, picks);

    // A blank or control character before a formula sign, and the full-width signs, are guarded too.
    for (const std::string text : {" =1+1", "\x01+1", "  -2", "\x1F@a", "＝1", "＋1", "－1", "＠a", "'＝1"})
        EXPECT_EQ(csvField(text), "'" + text) << text;
}

// A pick's time is "YYYY-MM-DD hh:mm:ss" with every field zero-padded, and today is
// its date: absences marked today are compared with it as text.
TEST(PickTime, IsZeroPaddedAndTodayIsItsDate) {
    const std::string now = nowText(), today = todayText(), after = nowText();
    ASSERT_EQ(now.size(), 19u) << now;
    for (std::size_t i = 0; i < now.size(); ++i)
        EXPECT_EQ(std::string_view("0000-00-00 00:00:00")[i] == '0',
                  std::isdigit(static_cast<unsigned char>(now[i])) != 0)
            << now;
    EXPECT_GE(now.substr(0, 4), "2020");
    if (now.substr(0, 10) == after.substr(0, 10)) { // not across midnight
        EXPECT_EQ(today, now.substr(0, 10));
    }
}

// Picks that cannot be appended wait, in order, in the waiting file (or in memory
// when Data takes no file), and reach the record before the next line that can be
// appended; the teacher is told once; a start appends what an earlier one left.
TEST_F(PickRecordTest, PicksThatCannotBeAppendedWaitAndArriveInOrder) {
    enum Freed { AtTheNextPick, AtTheNextStart, ByAnotherCopy };
    const struct {
        const char* what;
        bool waitingFileFails;
        Freed freed;
    } rows[] = {
        {"record held", false, AtTheNextPick},
        {"record held, no waiting file either", true, AtTheNextPick},
        {"record held until the next start", false, AtTheNextStart},
        {"record held, then another copy appends", false, ByAnotherCopy},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<Pick> picks;
        const auto pick = [&](int i) {
            picks.push_back({"2026-12-07 08:00:0" + std::to_string(i), "一班", std::to_string(i), "生"});
            return picks.back();
        };
        auto record = std::make_unique<PickRecorder>(dataFolder());
        ASSERT_TRUE(record->append(pick(0)).written);
        platform::setAppendFailureHook([](const FilePath&) { return true; });
        platform::setReplaceFailureHook([&](const FilePath&) { return row.waitingFileFails; });
        for (int i = 1; i <= 3; ++i) {
            const PickRecorder::Outcome outcome = record->append(pick(i));
            EXPECT_FALSE(outcome.written);
            EXPECT_EQ(outcome.firstWait, i == 1);
            EXPECT_EQ(outcome.onDisk, !row.waitingFileFails);
            EXPECT_EQ(outcome.problem, platform::FileProblem::Held);
        }
        EXPECT_EQ(record->waitingCount(), 3u);
        EXPECT_EQ(record->waitingPicks(), std::vector<Pick>(picks.begin() + 1, picks.end()));
        EXPECT_EQ(fs::exists(data(kWaitingPicksFileName)), !row.waitingFileFails);
        platform::setAppendFailureHook(nullptr);
        platform::setReplaceFailureHook(nullptr);
        if (row.freed == AtTheNextStart) {
            record = std::make_unique<PickRecorder>(dataFolder());
            EXPECT_TRUE(record->writeWaiting().written);
        } else if (row.freed == ByAnotherCopy) {
            EXPECT_TRUE(PickRecorder(dataFolder()).append(pick(4)).written);
            EXPECT_TRUE(record->append(pick(5)).written);
        } else {
            EXPECT_TRUE(record->append(pick(4)).written);
        }
        EXPECT_EQ(parsePickRecord(testing::readBytes(data(kPickRecordFileName))), picks);
        EXPECT_EQ(record->waitingCount(), 0u);
        EXPECT_FALSE(fs::exists(data(kWaitingPicksFileName)));
        TearDown();
        SetUp();
    }
}

// The record window says why it cannot count instead of showing nobody called.
TEST_F(PickRecordTest, AnUnreadableRecordIsToldNotSummarised) {
    const ClassRoster roster{{"1", "2"}, {"甲", "乙"}};
    const std::vector<Pick> waiting{{"2026-12-07 09:00:00", "一班", "2", "乙"}};
    testing::writeBytes(data(kPickRecordFileName), pickLine({"2026-12-07 08:00:00", "一班", "1", "甲"}));
    EXPECT_EQ(recordWindowText(dataFolder(), waiting, "一班", roster, "2026-12-07"),
              "班级：一班\r\n\r\n今天（2026-12-07）的点名：\r\n08:00:00  1号 甲\r\n09:00:00  2号 乙\r\n\r\n"
              "累计被点名次数（从少到多）：\r\n1 次  1号 甲\r\n1 次  2号 乙\r\n");
    platform::setReadFailureHook([](const FilePath&) { return true; });
    const std::string told = recordWindowText(dataFolder(), waiting, "一班", roster, "2026-12-07");
    platform::setReadFailureHook(nullptr);
    EXPECT_NE(told.find("无法读取点名记录文件"), std::string::npos) << told;
    EXPECT_NE(told.find(fileProblemText(platform::FileProblem::Held)), std::string::npos) << told;
    EXPECT_EQ(told.find("次"), std::string::npos) << told;
}

TEST_F(PickRecordTest, AppendsKeepEveryEarlierLineAndStartAfterACutOne) {
    const Pick first{"2026-12-07 08:00:00", "一班", "01", "甲"}, second{"2026-12-07 08:01:00", "一班", "02", "乙"};
    PickRecorder record(dataFolder());
    ASSERT_TRUE(record.append(first).written);
    const std::string cut = testing::readBytes(data(kPickRecordFileName)) + "2026-12-07 08:00:30,一";
    testing::writeBytes(data(kPickRecordFileName), cut); // a crash in the middle of an append
    ASSERT_TRUE(record.append(second).written);
    const std::string bytes = testing::readBytes(data(kPickRecordFileName));
    EXPECT_EQ(bytes, cut + "\r\n" + pickLine(second));
    const std::vector<Pick> picks = parsePickRecord(bytes);
    ASSERT_EQ(picks.size(), 3u);
    EXPECT_EQ(picks.front(), first);
    EXPECT_EQ(picks.back(), second);
}

} // namespace
} // namespace tallyra
