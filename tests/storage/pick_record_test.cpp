// The record of picks: any field reads back as written and never starts like a
// formula in the file; appends never rewrite earlier lines, also after a cut one.
#include "storage/pick_record.h"
#include "tests/storage/data_folder.h"

#include <random>

namespace tallyra {
namespace {

class PickRecordTest : public testing::DataFolderTest {};

TEST_F(PickRecordTest, EveryFieldReadsBackAndNoneStartsLikeAFormula) {
    std::mt19937 random(20261207);
    const std::string alphabet[] = {"=", "+", "-", "@", "'", "\"", ",", "\r", "\n", "\t", "a", "张", " "};
    std::vector<Pick> picks;
    for (int i = 0; i < 2000; ++i) {
        std::string fields[4];
        for (std::string& field : fields) {
            for (int n = static_cast<int>(random() % 5); n > 0; --n)
                field += alphabet[random() % std::size(alphabet)];
            const std::string written = csvField(field);
            const char start = written.starts_with('"') && written.size() > 1 ? written[1] : written[0];
            ASSERT_EQ(std::string_view("=+-@").find(start), std::string_view::npos) << written;
        }
        picks.push_back({fields[0], fields[1], fields[2], fields[3]});
        const std::string line = pickLine(picks.back());
        ASSERT_EQ(parsePickRecord(line), std::vector<Pick>{picks.back()}) << line;
    }
    std::string all;
    for (const Pick& pick : picks)
        all += pickLine(pick);
    EXPECT_EQ(parsePickRecord(all), picks);
}

TEST_F(PickRecordTest, AppendsKeepEveryEarlierLineAndStartAfterACutOne) {
    const Pick first{"2026-12-07 08:00:00", "一班", "01", "甲"}, second{"2026-12-07 08:01:00", "一班", "02", "乙"};
    ASSERT_TRUE(appendPick(first));
    const std::string cut = testing::readBytes(data(kPickRecordFileName)) + "2026-12-07 08:00:30,一";
    testing::writeBytes(data(kPickRecordFileName), cut); // a crash in the middle of an append
    ASSERT_TRUE(appendPick(second));
    const std::string bytes = testing::readBytes(data(kPickRecordFileName));
    EXPECT_EQ(bytes, cut + "\r\n" + pickLine(second));
    const std::vector<Pick> picks = readPickRecord();
    ASSERT_EQ(picks.size(), 3u);
    EXPECT_EQ(picks.front(), first);
    EXPECT_EQ(picks.back(), second);
}

} // namespace
} // namespace tallyra
