// The voice choice shared by the SAPI and espeak voices: the first description, in
// the platform's order, that names Chinese in any mix of capitals.
#include "speech/voice_choice.h"

#include <gtest/gtest.h>

namespace tallyra {
namespace {

TEST(VoiceChoiceTest, FirstDescriptionNamingChineseWins) {
    struct Case {
        std::vector<std::string> descriptions;
        std::optional<std::size_t> chosen;
    };
    const Case cases[] = {
        {{}, std::nullopt},
        {{"Microsoft Anna - English (United States)"}, std::nullopt},
        {{"Microsoft Anna - English (United States)", "Microsoft Huihui Desktop - Chinese (Simplified)"}, 1},
        {{"VW Lily CHINESE", "Microsoft Huihui Desktop - Chinese (Simplified)"}, 0},
        {{"Microsoft Zira", "ScanSoft chInEsE Mei-Ling"}, 1},
        {{"Microsoft 慧慧 - 中文(简体)"}, 0},
        {{"Microsoft David", "微软 中文语音", "Chinese"}, 1},
        {{"", "Chinese (Mandarin)"}, 1}, // a description that could not be read is empty
        {{"Chines e", "Chin", "中 文", "Chinse"}, std::nullopt},
        {{"Hakka Chinese", "Chinese (Mandarin)"}, 0}, // order is the platform's: the rule takes the first
        {{"ＣＨＩＮＥＳＥ"}, std::nullopt},           // full-width letters are not ASCII
    };
    for (const Case& c : cases) {
        std::string label;
        for (const std::string& d : c.descriptions)
            label += "[" + d + "]";
        EXPECT_EQ(chooseVoice(c.descriptions), c.chosen) << label;
    }
}

} // namespace
} // namespace tallyra
